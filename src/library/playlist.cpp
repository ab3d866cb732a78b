#include "library/playlist.h"

void TPlayList::AddFile(const QString& path, int position)
{
    if (position >= 0 && position < Files.size())
        Files.insert(position, path);
    else
        Files.append(path);
}

void TPlayList::Clear()
{
    Files.clear();
    Current = -1;
}

void TPlayList::Rewind()
{
    Current = 0;
}

QString TPlayList::NextFile()
{
    const int count = int(Files.size());
    if (count == 0)
        return {};
    const QString path = Current >= 0 && Current < count ? Files.at(Current) : QString();
    ++Current;
    if (Current >= count)
        Current = -1;
    return path;
}
