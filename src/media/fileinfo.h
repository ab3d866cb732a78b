#pragma once

#include <QString>
#include <cstdint>

// What the library keeps of one music file.
struct FileInfo {
    int32_t Seconds = 0;
    int32_t BitRate = 0;
    QString Title;
    QString Artist;
    QString Album;
    QString Year;
    QString Genre;
};

// Playing time and bit rate from the MPEG audio stream (both 0 without a valid stream), and the
// texts from the ID3v2 tag when there is one, else from the ID3v1 tag. An empty title is left
// empty; callers fall back to the file name.
FileInfo ReadFileInfo(const QString& path);
