#pragma once

#include <QString>
#include <cstdint>

// Display texts shared by the lists: sizes, durations and file titles.

// "1023 bytes", "1.00 KB" (below 1,024,000 bytes), "1.02 MB" (in units of 1,024,000 bytes),
// with the decimal separator of the user's locale.
QString FormatSize(int32_t size);

// Whole seconds as hh:mm:ss; hours are not wrapped and may take more than two digits.
QString FormatDuration(int32_t seconds);

// The file name without its folder and without its last extension. Names that come from the
// network may use '\' as their separator, so both '/' and '\' end a folder.
QString FileTitle(const QString& path);

// The file name without its folder, split the same way as FileTitle.
QString FileNameOf(const QString& path);
