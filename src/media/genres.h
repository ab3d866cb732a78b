#pragma once

#include <QString>

// The name of an ID3v1 genre number, or an empty string for a number without a name (148 and
// above).
QString GenreNameOf(int index);
