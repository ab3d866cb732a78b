#include "support/mp3builder.h"

#include <cmath>
#include <cstring>

namespace mp3 {

namespace {

int bitRate(const Header& h)
{
    static const int mpeg1[4][16] = {
        {0},
        {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
        {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0}};
    static const int mpeg2[4][16] = {
        {0},
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0}};
    return (h.version == Mpeg1 ? mpeg1 : mpeg2)[h.layer][h.bitRateIndex];
}

int sampleRate(const Header& h)
{
    static const int rates[4][3] = {
        {11025, 12000, 8000}, {0, 0, 0}, {22050, 24000, 16000}, {44100, 48000, 32000}};
    return rates[h.version][h.sampleRateIndex];
}

void putBigEndian(QByteArray& bytes, int at, uint32_t value, int count)
{
    for (int i = count - 1; i >= 0; --i) {
        bytes[at + i] = char(value & 0xFF);
        value >>= 8;
    }
}

QByteArray bigEndian(uint32_t value, int count)
{
    QByteArray bytes(count, '\0');
    putBigEndian(bytes, 0, value, count);
    return bytes;
}

QByteArray synchsafe(uint32_t value)
{
    QByteArray bytes(4, '\0');
    for (int i = 3; i >= 0; --i) {
        bytes[i] = char(value & 0x7F);
        value >>= 7;
    }
    return bytes;
}

} // namespace

QByteArray headerBytes(const Header& h)
{
    QByteArray bytes(4, '\0');
    bytes[0] = char(0xFF);
    bytes[1] = char(0xE0 | (h.version << 3) | (h.layer << 1) | 1);
    bytes[2] = char((h.bitRateIndex << 4) | (h.sampleRateIndex << 2) | (h.padding ? 2 : 0));
    bytes[3] = char((h.mode << 6) | h.emphasis);
    return bytes;
}

int frameLength(const Header& h)
{
    const int coefficient = h.layer == Layer1 ? 48 : (h.layer == Layer3 && h.version != Mpeg1 ? 72 : 144);
    const int padding = h.padding ? (h.layer == Layer1 ? 4 : 1) : 0;
    return int(std::floor(double(coefficient) * bitRate(h) * 1000.0 / sampleRate(h))) + padding;
}

QByteArray stream(const Header& h, int64_t length)
{
    QByteArray frame(frameLength(h), '\0');
    frame.replace(0, 4, headerBytes(h));
    QByteArray bytes;
    bytes.reserve(length);
    while (bytes.size() < length)
        bytes.append(frame);
    bytes.truncate(length);
    return bytes;
}

QByteArray vbrStream(const Header& h, const char* kind, int32_t frames, int32_t bytes,
                     int64_t length, int distance)
{
    QByteArray data = stream(h, length);
    if (distance < 0) {
        const bool mono = h.mode == 3;
        distance = h.version == Mpeg1 ? (mono ? 21 : 36) : (mono ? 13 : 21);
    }
    data.replace(distance, 4, QByteArray(kind, 4));
    if (std::strncmp(kind, "Xing", 4) == 0) {
        putBigEndian(data, distance + 4, 3, 4); // flags: frames and bytes present
        putBigEndian(data, distance + 8, uint32_t(frames), 4);
        putBigEndian(data, distance + 12, uint32_t(bytes), 4);
    } else {
        putBigEndian(data, distance + 10, uint32_t(bytes), 4);
        putBigEndian(data, distance + 14, uint32_t(frames), 4);
    }
    return data;
}

QByteArray id3v1(const QByteArray& title, const QByteArray& artist, const QByteArray& album,
                 const QByteArray& year, uint8_t genre)
{
    QByteArray tag(128, '\0');
    tag.replace(0, 3, "TAG");
    const auto put = [&](int at, const QByteArray& text, int width) {
        tag.replace(at, std::min<int>(int(text.size()), width), text.left(width));
    };
    put(3, title, 30);
    put(33, artist, 30);
    put(63, album, 30);
    put(93, year, 4);
    tag[127] = char(genre);
    return tag;
}

QByteArray latin1Text(const QByteArray& text)
{
    return QByteArray(1, '\0') + text;
}

QByteArray utf16Text(const QString& text, bool bigEndianOrder)
{
    QByteArray bytes(1, '\1');
    bytes.append(bigEndianOrder ? "\xFE\xFF" : "\xFF\xFE", 2);
    for (QChar c : text) {
        const char16_t code = c.unicode();
        const char hi = char(code >> 8);
        const char lo = char(code & 0xFF);
        bytes.append(bigEndianOrder ? hi : lo);
        bytes.append(bigEndianOrder ? lo : hi);
    }
    bytes.append(2, '\0');
    return bytes;
}

QByteArray id3v2(uint8_t version, const QList<Frame>& frames, int padding, uint8_t flags)
{
    QByteArray body;
    for (const Frame& frame : frames) {
        body.append(frame.id);
        const auto size = uint32_t(frame.content.size());
        if (version == 2) {
            body.append(bigEndian(size, 3));
        } else {
            body.append(version == 4 && !frame.plainSizeInV4 ? synchsafe(size) : bigEndian(size, 4));
            body.append('\0');
            body.append(char(frame.flags2));
        }
        body.append(frame.content);
    }
    body.append(QByteArray(padding, '\0'));
    QByteArray tag("ID3");
    tag.append(char(version));
    tag.append('\0');
    tag.append(char(flags));
    tag.append(synchsafe(uint32_t(body.size())));
    tag.append(body);
    if (flags & 0x10) {
        tag.append("3DI");
        tag.append(char(version));
        tag.append('\0');
        tag.append(char(flags));
        tag.append(synchsafe(uint32_t(body.size())));
    }
    return tag;
}

} // namespace mp3
