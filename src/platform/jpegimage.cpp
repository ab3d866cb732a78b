#include "platform/jpegimage.h"

#include <QFile>
#include <turbojpeg.h>

QImage DecodeJpeg(const QByteArray& data)
{
    if (data.isEmpty())
        return {};
    tjhandle handle = tjInitDecompress();
    if (!handle)
        return {};
    auto* bytes = reinterpret_cast<unsigned char*>(const_cast<char*>(data.constData()));
    const auto length = static_cast<unsigned long>(data.size());
    int width = 0;
    int height = 0;
    int subsampling = 0;
    int colorspace = 0;
    QImage image;
    // Covers come from anywhere; a picture larger than this is not shown.
    constexpr int kMaxSide = 8192;
    if (tjDecompressHeader3(handle, bytes, length, &width, &height, &subsampling, &colorspace) ==
            0 &&
        width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide) {
        image = QImage(width, height, QImage::Format_RGB888);
        if (tjDecompress2(handle, bytes, length, image.bits(), width, int(image.bytesPerLine()),
                          height, TJPF_RGB, TJFLAG_ACCURATEDCT) != 0 &&
            tjGetErrorCode(handle) == TJERR_FATAL)
            image = QImage(); // a damaged tail only warns; what decoded is still shown
    }
    tjDestroy(handle);
    return image;
}

QImage LoadJpegFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return DecodeJpeg(file.readAll());
}
