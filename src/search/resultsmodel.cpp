#include "search/resultsmodel.h"

#include "common/formatting.h"
#include "common/textcompare.h"

#include <QColor>
#include <algorithm>

namespace {
const QColor kStripe(238, 250, 255);
}

int ResultsModel::availabilityPicture(int32_t hosts)
{
    if (hosts >= 50)
        return 4;
    if (hosts >= 20)
        return 3;
    if (hosts >= 10)
        return 2;
    if (hosts >= 5)
        return 1;
    return 0;
}

ResultsModel::ResultsModel(std::function<QVariant(int)> icons, QObject* parent)
    : RowTableModel(parent), m_icons(std::move(icons))
{
}

int ResultsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ResultsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_rows.size()))
        return {};
    const ResultRow& row = m_rows[size_t(index.row())];
    if (role == Qt::BackgroundRole)
        return index.row() % 2 == 1 ? QVariant(kStripe) : QVariant();
    if (role == Qt::DecorationRole && index.column() == IconColumn)
        return m_icons ? m_icons(row.icon) : QVariant();
    if (role == Qt::UserRole && index.column() == AvailabilityColumn)
        return availabilityPicture(row.hosts);
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case TitleColumn: return row.title;
    case ArtistColumn: return row.artist;
    case HostsColumn: return QString::number(row.hosts);
    case SizeColumn: return FormatSize(row.size);
    case StatusColumn: return row.status;
    default: return {};
    }
}

QVariant ResultsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char* const captions[ColumnCount] = {"", "Title", "Artist", "Availability",
                                                      "Hosts", "Size", "Status"};
    return section >= 0 && section < ColumnCount ? QString::fromLatin1(captions[section]) : QVariant();
}

int ResultsModel::find(int32_t searchId, int32_t resultId) const
{
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].searchId == searchId && m_rows[i].resultId == resultId)
            return int(i);
    return -1;
}

void ResultsModel::setHosts(int row, int32_t hosts)
{
    m_rows[size_t(row)].hosts = hosts;
    emit dataChanged(index(row, AvailabilityColumn), index(row, HostsColumn));
}

void ResultsModel::setStatus(int row, const QString& status)
{
    m_rows[size_t(row)].status = status;
    emit dataChanged(index(row, StatusColumn), index(row, StatusColumn));
}

int ResultsModel::compare(const ResultRow& a, const ResultRow& b, int state)
{
    int result = 0;
    switch (std::abs(state)) {
    case 2: result = CompareLowered(a.title, b.title); break;
    case 3: result = CompareLowered(a.artist, b.artist); break;
    case 4:
    case 5: result = CompareNumbers(a.hosts, b.hosts); break;
    case 6: result = CompareNumbers(a.size, b.size); break;
    case 7: result = CompareLowered(a.status, b.status); break;
    default: break;
    }
    return state < 0 ? -result : result;
}

void ResultsModel::columnClicked(int column)
{
    if (std::abs(m_sortState) == column + 1) {
        sortBy(-m_sortState);
        return;
    }
    const bool descendingFirst = column == AvailabilityColumn || column == HostsColumn ||
                                 column == StatusColumn;
    sortBy(descendingFirst ? -(column + 1) : column + 1);
}

void ResultsModel::sortBy(int state)
{
    m_sortState = state;
    sortRows([state](const ResultRow& a, const ResultRow& b) { return compare(a, b, state) < 0; });
}
