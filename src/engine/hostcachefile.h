#pragma once

#include <QString>

// Merges a host-cache file with its default list: the lines of both, the file's first, kept
// sorted without regard to letter case and without repeats (the letter case met first stays),
// written back to file with CR LF after every line. The default file is only read.
void MergeHostCacheFile(const QString& file, const QString& defaultFile);
