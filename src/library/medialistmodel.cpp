#include "library/medialistmodel.h"

#include "common/formatting.h"
#include "common/textcompare.h"

#include <QColor>
#include <algorithm>

namespace {
const QColor kStripe(238, 250, 255);
} // namespace

MediaListModel::MediaListModel(std::function<QVariant(int)> icons, QObject* parent)
    : RowTableModel(parent), m_icons(std::move(icons))
{
}

int MediaListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant MediaListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_rows.size()))
        return {};
    const MediaRow& row = m_rows[size_t(index.row())];
    if (role == Qt::BackgroundRole)
        return index.row() % 2 == 1 ? QVariant(kStripe) : QVariant();
    if (role == Qt::DecorationRole && index.column() == IconColumn)
        return m_icons ? m_icons(row.icon) : QVariant();
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    switch (index.column()) {
    case TitleColumn: return row.title;
    case ArtistColumn: return row.artist;
    case AlbumColumn: return row.album;
    case GenreColumn: return row.genre;
    case YearColumn: return row.year;
    case QualityColumn: return QString::number(row.quality);
    case DurationColumn: return FormatDuration(row.seconds);
    case SizeColumn: return FormatSize(row.size);
    default: return {};
    }
}

QVariant MediaListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char* const captions[ColumnCount] = {"",     "Title",   "Artist",   "Album", "Genre",
                                                      "Year", "Quality", "Duration", "Size"};
    return section >= 0 && section < ColumnCount ? QString::fromLatin1(captions[section]) : QVariant();
}

int MediaListModel::compare(const MediaRow& a, const MediaRow& b, int state)
{
    int result = 0;
    switch (std::abs(state)) {
    case 2: result = CompareLowered(a.title, b.title); break;
    case 3: result = CompareLowered(a.artist, b.artist); break;
    case 4: result = CompareLowered(a.album, b.album); break;
    case 5: result = CompareLowered(a.genre, b.genre); break;
    case 6: result = CompareLowered(a.year, b.year); break;
    case 7: result = CompareNumbers(a.quality, b.quality); break;
    case 8: result = CompareLowered(FormatDuration(a.seconds), FormatDuration(b.seconds)); break;
    case 9: result = CompareNumbers(a.size, b.size); break;
    default: break; // the icon column: captions are all empty
    }
    return state < 0 ? -result : result;
}

void MediaListModel::columnClicked(int column)
{
    sortBy(std::abs(m_sortState) == column + 1 ? -m_sortState : column + 1);
}

void MediaListModel::sortBy(int state)
{
    m_sortState = state;
    if (state != 0)
        sortRows([state](const MediaRow& a, const MediaRow& b) { return compare(a, b, state) < 0; });
}
