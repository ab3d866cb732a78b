#include "media/id3v1.h"

#include "media/filereader.h"
#include "media/genres.h"

#include <cstring>

namespace {

constexpr int kTagLength = 128;

QString field(const unsigned char* bytes, int length)
{
    while (length > 0 && bytes[length - 1] <= 32)
        --length;
    return QString::fromLatin1(reinterpret_cast<const char*>(bytes), length);
}

} // namespace

void TID3v1::Reset()
{
    Present = false;
    Title.clear();
    Artist.clear();
    Album.clear();
    Year.clear();
    GenreIndex = 255;
}

bool TID3v1::LoadFromFile(const QString& path)
{
    FileReader file(path);
    return LoadFromReader(file);
}

bool TID3v1::LoadFromReader(FileReader& file)
{
    Reset();
    if (!file.isOpen() || file.size() < kTagLength)
        return false;
    unsigned char tag[kTagLength];
    if (file.read(file.size() - kTagLength, tag, kTagLength) != kTagLength)
        return false;
    if (std::memcmp(tag, "TAG", 3) != 0)
        return true;
    Present = true;
    Title = field(tag + 3, 30);
    Artist = field(tag + 33, 30);
    Album = field(tag + 63, 30);
    Year = field(tag + 93, 4);
    GenreIndex = tag[127];
    return true;
}

QString TID3v1::GenreName() const
{
    return GenreNameOf(GenreIndex);
}
