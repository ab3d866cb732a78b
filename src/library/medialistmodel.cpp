#include "library/medialistmodel.h"

#include "common/formatting.h"

#include <QColor>
#include <algorithm>

namespace {

const QColor kStripe(238, 250, 255);

// Codes compared after lowering A to Z only.
int compareText(const QString& a, const QString& b)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        char16_t x = a.at(i).unicode();
        char16_t y = b.at(i).unicode();
        if (x >= 'A' && x <= 'Z')
            x += 32;
        if (y >= 'A' && y <= 'Z')
            y += 32;
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

int compareNumber(int64_t a, int64_t b)
{
    return a == b ? 0 : (a < b ? -1 : 1);
}

} // namespace

MediaListModel::MediaListModel(std::function<QVariant(int)> icons, QObject* parent)
    : QAbstractTableModel(parent), m_icons(std::move(icons))
{
}

int MediaListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
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

void MediaListModel::setRows(std::vector<MediaRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

void MediaListModel::append(MediaRow row)
{
    const int at = int(m_rows.size());
    beginInsertRows({}, at, at);
    m_rows.push_back(std::move(row));
    endInsertRows();
}

void MediaListModel::removeRowAt(int row)
{
    beginRemoveRows({}, row, row);
    m_rows.erase(m_rows.begin() + row);
    endRemoveRows();
    // Stripes follow positions: the rows behind the removed one change colour.
    if (row < int(m_rows.size()))
        emit dataChanged(index(row, 0), index(int(m_rows.size()) - 1, ColumnCount - 1),
                         {Qt::BackgroundRole});
}

void MediaListModel::replace(int row, const MediaRow& value)
{
    m_rows[size_t(row)] = value;
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

int MediaListModel::compare(const MediaRow& a, const MediaRow& b, int state)
{
    int result = 0;
    switch (std::abs(state)) {
    case 2: result = compareText(a.title, b.title); break;
    case 3: result = compareText(a.artist, b.artist); break;
    case 4: result = compareText(a.album, b.album); break;
    case 5: result = compareText(a.genre, b.genre); break;
    case 6: result = compareText(a.year, b.year); break;
    case 7: result = compareNumber(a.quality, b.quality); break;
    case 8: result = compareText(FormatDuration(a.seconds), FormatDuration(b.seconds)); break;
    case 9: result = compareNumber(a.size, b.size); break;
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
    if (state == 0)
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<int> order(m_rows.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = int(i);
    std::stable_sort(order.begin(), order.end(), [&](int x, int y) {
        return compare(m_rows[size_t(x)], m_rows[size_t(y)], state) < 0;
    });
    std::vector<MediaRow> sorted;
    sorted.reserve(m_rows.size());
    std::vector<int> newPlace(m_rows.size());
    for (size_t i = 0; i < order.size(); ++i) {
        newPlace[size_t(order[i])] = int(i);
        sorted.push_back(std::move(m_rows[size_t(order[i])]));
    }
    m_rows = std::move(sorted);
    QModelIndexList after;
    for (const QModelIndex& old : before)
        after << index(newPlace[size_t(old.row())], old.column());
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
