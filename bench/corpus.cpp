#include "corpus.h"

#include "support/mp3builder.h"

#include <QDir>
#include <QFile>
#include <cmath>
#include <random>

QStringList MakeMp3Corpus(const QString& folder, int count)
{
    QDir().mkpath(folder);
    std::mt19937 random(20261210);
    std::uniform_real_distribution<double> logSize(std::log(0.3e6), std::log(6e6));
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        const QString path = QDir(folder).filePath(QStringLiteral("track%1.mp3").arg(i, 5, 10, QLatin1Char('0')));
        paths << path;
        const auto size = int64_t(std::exp(logSize(random)));
        if (QFile(path).size() > 0)
            continue;
        mp3::Header header;
        header.bitRateIndex = uint8_t(9 + i % 5);
        header.mode = uint8_t(i % 4);
        const bool vbr = i % 3 == 0;
        QByteArray audio = vbr ? mp3::vbrStream(header, "Xing", int32_t(size / 417), int32_t(size),
                                                size)
                               : mp3::stream(header, size);
        QByteArray bytes;
        if (i % 2 == 0) {
            const QString title = QStringLiteral("Title %1").arg(i);
            bytes += mp3::id3v2(uint8_t(3 + i % 2),
                                {{"TIT2", mp3::latin1Text(title.toLatin1())},
                                 {"TPE1", mp3::utf16Text(QStringLiteral("Artist %1").arg(i % 50), false)},
                                 {"TALB", mp3::latin1Text("Album")},
                                 {"TYER", mp3::latin1Text("2001")},
                                 {"TCON", mp3::latin1Text("(17)Rock")},
                                 {"APIC", QByteArray(i % 4 == 0 ? 20000 : 0, '\x01')}},
                                512);
        }
        bytes += audio;
        if (i % 4 < 2)
            bytes += mp3::id3v1("Title", "Artist", "Album", "1999", uint8_t(i % 148));
        QFile out(path);
        if (out.open(QIODevice::WriteOnly))
            out.write(bytes);
    }
    return paths;
}
