#pragma once

#include <QString>
#include <cstdint>

// Compares texts by their character codes after lowering the letters A to Z only, as every
// list of the program sorts; negative, zero or positive.
int CompareLowered(const QString& a, const QString& b);
int CompareNumbers(int64_t a, int64_t b);
// Lowers the letters A to Z only; every other character stays.
QString LowerAscii(const QString& text);
