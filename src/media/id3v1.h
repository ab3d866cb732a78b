#pragma once

#include <QString>
#include <cstdint>

class FileReader;

// Reads the ID3v1 tag: the last 128 bytes of a file when they begin with "TAG". Text fields
// are ISO-8859-1; only trailing bytes of code 32 or less are removed from them. Only reads.
class TID3v1 final {
public:
    TID3v1() { Reset(); }

    bool Present;
    QString Title;
    QString Artist;
    QString Album;
    QString Year;
    uint8_t GenreIndex;

    void Reset();
    // True when the last 128 bytes could be read, whether or not they hold a tag.
    bool LoadFromFile(const QString& path);
    bool LoadFromReader(FileReader& file);
    // The name of GenreIndex, or an empty string for 148 and above.
    QString GenreName() const;
};
