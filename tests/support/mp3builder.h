#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>

// Builds the bytes of MP3 files for tests: frame headers, streams of frames, VBR headers and
// ID3 tags.
namespace mp3 {

enum Version : uint8_t { Mpeg25 = 0, Mpeg2 = 2, Mpeg1 = 3 };
enum Layer : uint8_t { Layer3 = 1, Layer2 = 2, Layer1 = 3 };

struct Header {
    uint8_t version = Mpeg1;
    uint8_t layer = Layer3;
    uint8_t bitRateIndex = 9; // 128 kbit/s for MPEG 1 Layer III
    uint8_t sampleRateIndex = 0; // 44100 Hz for MPEG 1
    bool padding = false;
    uint8_t mode = 0; // 3 is mono
    uint8_t emphasis = 0;
};

QByteArray headerBytes(const Header& header);
int frameLength(const Header& header);
// Whole frames of the header, cut to exactly length bytes.
QByteArray stream(const Header& header, int64_t length);
// A stream whose first frame carries a VBR header ("Xing" or "VBRI") at the distance that
// belongs to the header's version and mode, or at distance when it is not negative.
QByteArray vbrStream(const Header& header, const char* kind, int32_t frames, int32_t bytes,
                     int64_t length, int distance = -1);

QByteArray id3v1(const QByteArray& title, const QByteArray& artist, const QByteArray& album,
                 const QByteArray& year, uint8_t genre);

struct Frame {
    QByteArray id;
    QByteArray content; // encoding byte included
    uint8_t flags2 = 0; // the second flags byte (versions 3 and 4)
    bool plainSizeInV4 = false; // a 2.4 frame size written as a plain number, as some taggers do
};
// Latin-1 text frame content: encoding 0 then the bytes.
QByteArray latin1Text(const QByteArray& text);
// UTF-16 text frame content with the byte-order mark of the given order.
QByteArray utf16Text(const QString& text, bool bigEndian);

// A whole tag: header (version, flags) and frames, padded with padding zero bytes.
QByteArray id3v2(uint8_t version, const QList<Frame>& frames, int padding = 0, uint8_t flags = 0);

} // namespace mp3
