#pragma once

#include <QString>
#include <array>
#include <cstdint>

class FileReader;

// Reads title, artist, album, year and genre from an ID3v2 tag (versions 2.2, 2.3 and 2.4) at
// the start of a file, and how many bytes the tag occupies. Text frames in ISO-8859-1 and in
// UTF-16 (either byte order) are decoded; frames in other encodings count as absent. At most
// the first 500 bytes of a frame's content are kept. Only reads.
class TID3v2 final {
public:
    TID3v2() { Reset(); }

    bool Present;
    uint8_t Version;
    // Bytes taken by the tag with header and footer; 0 without a tag or when the size would
    // reach past the end of the file.
    int32_t TagSize;
    QString Title;
    QString Artist;
    QString Album;
    QString Year;
    QString Genre;

    void Reset();
    // True when the first 10 bytes could be read, whether or not they begin a tag.
    bool LoadFromFile(const QString& path);
    bool LoadFromReader(FileReader& file);

    static constexpr int kContentArea = 500;

private:
    // The frames looked for: main and fall-back frame of each text.
    enum Slot { SlotTitle, SlotTitleAlt, SlotArtist, SlotArtistAlt, SlotAlbum, SlotAlbumAlt,
                SlotYear, SlotYearAlt, SlotGenre, SlotCount };
    using Content = std::array<unsigned char, kContentArea>;

    void collectFrames(FileReader& file, std::array<Content, SlotCount>& contents,
                       std::array<bool, SlotCount>& seen) const;
    int slotOf(const unsigned char* id) const;
};
