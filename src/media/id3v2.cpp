#include "media/id3v2.h"

#include "media/filereader.h"

#include <cstring>

namespace {

constexpr int kHeaderLength = 10;

const char* const kFramesV2[] = {"TT2", "TT1", "TP1", "TOA", "TAL", "TOT", "TYE", "TOR", "TCO"};
const char* const kFramesV34[] = {"TIT2", "TIT1", "TPE1", "TOPE", "TALB",
                                  "TOAL", "TYER", "TDRC", "TCON"};

bool isUpper(unsigned char c) { return c >= 'A' && c <= 'Z'; }

bool isFrameIdChar(unsigned char c) { return isUpper(c) || (c >= '0' && c <= '9'); }

uint32_t bigEndian(const unsigned char* b, int count)
{
    uint32_t value = 0;
    for (int i = 0; i < count; ++i)
        value = (value << 8) | b[i];
    return value;
}

// A synchsafe number keeps 7 bits in each byte; a byte with its top bit set makes it invalid.
bool synchsafe(const unsigned char* b, uint32_t& value)
{
    value = 0;
    for (int i = 0; i < 4; ++i) {
        if (b[i] & 0x80)
            return false;
        value = (value << 7) | b[i];
    }
    return true;
}

QString trimmedControls(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() <= 32)
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= 32)
        --end;
    return text.mid(begin, end - begin);
}

// One raw content: encoding byte then text, zero bytes behind it.
QString decodeText(const unsigned char* content, int length)
{
    if (length == 0 || content[0] != 1)
        return trimmedControls(
            QString::fromLatin1(reinterpret_cast<const char*>(content), length));

    // UTF-16 with a byte-order mark; without a mark the text is taken as little-endian.
    const int pairs = (length - 1) / 2;
    const unsigned char* p = content + 1;
    int first = 0;
    bool bigEndianText = false;
    if (pairs > 0 && p[0] == 0xFE && p[1] == 0xFF) {
        bigEndianText = true;
        first = 1;
    } else if (pairs > 0 && p[0] == 0xFF && p[1] == 0xFE) {
        first = 1;
    }
    QString text;
    text.reserve(pairs - first);
    for (int i = first; i < pairs; ++i) {
        const unsigned char a = p[2 * i];
        const unsigned char b = p[2 * i + 1];
        const char16_t code = bigEndianText ? char16_t((a << 8) | b) : char16_t((b << 8) | a);
        if (code == 0)
            break;
        text.append(QChar(code));
    }
    return trimmedControls(text);
}

} // namespace

void TID3v2::Reset()
{
    Present = false;
    Version = 0;
    TagSize = 0;
    Title.clear();
    Artist.clear();
    Album.clear();
    Year.clear();
    Genre.clear();
}

bool TID3v2::LoadFromFile(const QString& path)
{
    FileReader file(path);
    return LoadFromReader(file);
}

bool TID3v2::LoadFromReader(FileReader& file)
{
    Reset();
    unsigned char header[kHeaderLength];
    if (!file.isOpen() || file.read(0, header, kHeaderLength) != kHeaderLength)
        return false;
    if (std::memcmp(header, "ID3", 3) != 0)
        return true;
    Present = true;
    Version = header[3];
    // The size bytes are taken as they stand, without masking their top bits.
    int64_t size = int64_t(header[6]) * (1 << 21) + int64_t(header[7]) * (1 << 14) +
                   int64_t(header[8]) * (1 << 7) + header[9] + kHeaderLength;
    if (header[5] & 0x10)
        size += kHeaderLength;
    TagSize = size > file.size() ? 0 : int32_t(size);
    if (Version < 2 || Version > 4 || TagSize == 0)
        return true;

    std::array<Content, SlotCount> contents{};
    std::array<bool, SlotCount> seen{};
    collectFrames(file, contents, seen);

    const auto text = [&](Slot slot) {
        return seen[slot] ? decodeText(contents[slot].data(), kContentArea) : QString();
    };
    const auto withFallback = [&](Slot main, Slot fallback) {
        const QString value = text(main);
        return value.isEmpty() ? text(fallback) : value;
    };
    Title = withFallback(SlotTitle, SlotTitleAlt);
    Artist = withFallback(SlotArtist, SlotArtistAlt);
    Album = withFallback(SlotAlbum, SlotAlbumAlt);
    Year = text(SlotYear);
    if (Year.isEmpty())
        Year = text(SlotYearAlt).left(4);
    Genre = text(SlotGenre);
    const qsizetype bracket = Genre.lastIndexOf(QLatin1Char(')'));
    if (bracket >= 0)
        Genre.remove(0, bracket + 1);
    return true;
}

int TID3v2::slotOf(const unsigned char* id) const
{
    const bool v2 = Version == 2;
    const auto& names = v2 ? kFramesV2 : kFramesV34;
    const size_t length = v2 ? 3 : 4;
    for (int slot = 0; slot < SlotCount; ++slot)
        if (std::memcmp(id, names[slot], length) == 0)
            return slot;
    return -1;
}

void TID3v2::collectFrames(FileReader& file, std::array<Content, SlotCount>& contents,
                           std::array<bool, SlotCount>& seen) const
{
    const bool v2 = Version == 2;
    const int frameHeader = v2 ? 6 : 10;
    const int64_t tagEnd = TagSize;
    // Offsets are 64-bit: a frame size near 4 GiB moves past the tag's end instead of wrapping.
    int64_t offset = kHeaderLength;
    // A frame size in a 2.4 tag is right when it leads to another frame header, to padding or
    // to the end of the frames.
    const auto leadsToFrame = [&](int64_t next) {
        if (next == tagEnd || next == tagEnd - kHeaderLength)
            return true;
        if (next > tagEnd - 4)
            return false;
        unsigned char id[4];
        if (file.read(next, id, 4) != 4)
            return false;
        return id[0] == 0 || (isUpper(id[0]) && isFrameIdChar(id[1]) && isFrameIdChar(id[2]) &&
                              isFrameIdChar(id[3]));
    };

    while (offset < tagEnd) {
        unsigned char header[10];
        if (file.read(offset, header, size_t(frameHeader)) != frameHeader)
            return;
        if (!isUpper(header[0]))
            return; // padding
        const int64_t contentOffset = offset + frameHeader;
        int64_t size = v2 ? bigEndian(header + 3, 3) : bigEndian(header + 4, 4);
        if (Version == 4) {
            // 2.4 sizes are synchsafe, though some taggers wrote plain numbers there.
            uint32_t safe = 0;
            if (synchsafe(header + 4, safe) && safe != size &&
                (leadsToFrame(contentOffset + safe) || !leadsToFrame(contentOffset + size)))
                size = safe;
        }
        Content content{};
        const int64_t wanted = std::min<int64_t>({size, kContentArea, tagEnd - contentOffset});
        if (wanted > 0 && file.read(contentOffset, content.data(), size_t(wanted)) < 0)
            return;
        const bool compressed = !v2 && (header[9] & 0x80);
        const int slot = compressed ? -1 : slotOf(header);
        if (slot >= 0 && content[0] <= 1) {
            contents[size_t(slot)] = content;
            seen[size_t(slot)] = true;
        }
        offset = contentOffset + size;
    }
}
