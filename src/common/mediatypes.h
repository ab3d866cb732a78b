#pragma once

#include <QString>

// The media type word of a file's extension ("Audio" for ".mp3", case-insensitive), or an
// empty string for any other extension or none.
QString MediaTypeOf(const QString& path);
