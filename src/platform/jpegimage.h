#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Decodes JPEG pictures (the splash, covers) with libjpeg-turbo. A null image means the bytes
// were not a picture that could be decoded.
QImage DecodeJpeg(const QByteArray& data);
QImage LoadJpegFile(const QString& path);
