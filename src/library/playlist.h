#pragma once

#include <QString>
#include <QStringList>

// The files a Play command plays, in order, and the position of the next one.
class TPlayList final {
public:
    QStringList Files;
    int Current = 0;

    // Inserts before position when it names an entry, appends otherwise.
    void AddFile(const QString& path, int position);
    void Clear();
    void Rewind();
    // The next path to play, or an empty text once the list has been handed out; the call after
    // that starts from the first file again.
    QString NextFile();
};
