#pragma once

#include <QString>
#include <QStringList>

// Writes (once) a corpus of generated MP3 files into folder: CBR and VBR streams, with and
// without ID3v1 and ID3v2 tags, sizes spread between 0.3 and 6 MB. Returns their paths.
QStringList MakeMp3Corpus(const QString& folder, int count);
