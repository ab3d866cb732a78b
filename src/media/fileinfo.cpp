#include "media/fileinfo.h"

#include "media/mpegaudio.h"

#include <cmath>
#include <limits>

FileInfo ReadFileInfo(const QString& path)
{
    FileInfo info;
    TMPEGaudio audio;
    if (!audio.AnalyseFile(path) || !audio.IsValid())
        return info;
    // Halves go to the even neighbour.
    const double seconds = std::nearbyint(audio.Duration());
    info.Seconds = seconds >= std::numeric_limits<int32_t>::max()
                       ? std::numeric_limits<int32_t>::max()
                       : int32_t(seconds);
    info.BitRate = audio.BitRate();
    if (audio.V2Tag().Present) {
        const TID3v2& tag = audio.V2Tag();
        info.Title = tag.Title;
        info.Artist = tag.Artist;
        info.Album = tag.Album;
        info.Year = tag.Year;
        info.Genre = tag.Genre;
    } else if (audio.V1Tag().Present) {
        const TID3v1& tag = audio.V1Tag();
        info.Title = tag.Title;
        info.Artist = tag.Artist;
        info.Album = tag.Album;
        info.Year = tag.Year;
        info.Genre = tag.GenreName();
    }
    return info;
}
