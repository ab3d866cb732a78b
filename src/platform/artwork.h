#pragma once

#include <QIcon>
#include <QPixmap>

// The program's own pictures, drawn in code: the program icon and the tool-button glyphs.
class Artwork final {
public:
    Artwork() = delete;

    enum class Glyph {
        Music, Search, Downloads,
        Play, Stop, Rename, Details, Delete, Locate, Refresh,
        NewSearch, Download,
        Preview, MoreSources, ClearCompleted,
        Transfer // the green arrow of every download row
    };

    static QIcon programIcon();
    static QIcon glyph(Glyph glyph);
    // The cover shown when a file has none: a record sleeve with a note.
    static QPixmap defaultCover(int side);
    // Availability: 65 x 17 pixels, stars (1 to 5) gold stars from the left, transparent.
    static QPixmap stars(int stars);
};
