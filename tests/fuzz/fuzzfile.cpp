#include "fuzz/fuzzfile.h"

#include <QByteArray>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

QString WriteFuzzInput(const uint8_t* data, size_t size)
{
    static const QByteArray path = [] {
        QByteArray name = "/tmp/tavrin-fuzz-XXXXXX";
        const int fd = mkstemp(name.data());
        if (fd >= 0)
            close(fd);
        std::atexit([] { std::remove(path.constData()); });
        return name;
    }();
    FILE* file = std::fopen(path.constData(), "wb");
    if (file) {
        if (size > 0)
            std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    return QString::fromLocal8Bit(path);
}
