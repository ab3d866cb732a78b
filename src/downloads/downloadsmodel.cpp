#include "downloads/downloadsmodel.h"

#include "common/stringutils.h"
#include "common/textcompare.h"
#include "platform/artwork.h"

#include <QColor>
#include <QIcon>
#include <cmath>

namespace {

const QColor kStripe(238, 250, 255);

// The number before the first blank, times 1024 for "kbps"; 0 for an empty cell.
int64_t speedValue(const QString& text)
{
    const int64_t number = TStringUtils::GetToken(text, QStringLiteral(" "), 1).toLongLong();
    return TStringUtils::GetToken(text, QStringLiteral(" "), 2) == QLatin1String("kbps") ? number * 1024
                                                                                        : number;
}

int64_t leadingNumber(const QString& text)
{
    return TStringUtils::GetToken(text, QStringLiteral(" "), 1).toLongLong();
}

} // namespace

DownloadsModel::DownloadsModel(QObject* parent)
    : RowTableModel(parent), m_arrow(Artwork::glyph(Artwork::Glyph::Transfer))
{
}

int DownloadsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

int32_t DownloadsModel::ProgressOf(int32_t received, int32_t size)
{
    if (size <= 0)
        return 0;
    return int32_t(std::trunc(received / (size / 100.0)));
}

QString DownloadsModel::SpeedText(int32_t rate)
{
    if (rate < 1024)
        return QString::number(rate) + QStringLiteral(" bps");
    return QString::number(int64_t(std::nearbyint(rate / 1024.0))) + QStringLiteral(" kbps");
}

QVariant DownloadsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_rows.size()))
        return {};
    const DownloadRow& row = m_rows[size_t(index.row())];
    if (role == Qt::BackgroundRole)
        return index.row() % 2 == 1 ? QVariant(kStripe) : QVariant();
    if (role == Qt::DecorationRole && index.column() == NameColumn)
        return m_arrow;
    if (role == Qt::UserRole && index.column() == ProgressColumn)
        return row.progress;
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case NameColumn: return row.fileName;
    case SizeColumn: return QString::number(row.size);
    case ReceivedColumn: return QString::number(row.received);
    case StatusColumn: return row.status;
    case EtaColumn: return row.eta;
    case SpeedColumn: return row.speed;
    case HostsColumn: return row.hosts;
    default: return {};
    }
}

QVariant DownloadsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char* const captions[ColumnCount] = {"File Name", "Size",  "Received", "Status",
                                                      "ETA",       "Speed", "Hosts",    "Progress"};
    return section >= 0 && section < ColumnCount ? QString::fromLatin1(captions[section]) : QVariant();
}

int DownloadsModel::find(int32_t downloadId) const
{
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].downloadId == downloadId)
            return int(i);
    return -1;
}

int DownloadsModel::compare(const DownloadRow& a, const DownloadRow& b, int state)
{
    int result = 0;
    switch (std::abs(state)) {
    case 1: result = CompareLowered(a.fileName, b.fileName); break;
    case 2: result = CompareNumbers(a.size, b.size); break;
    case 3: result = CompareNumbers(a.received, b.received); break;
    case 4: result = CompareLowered(a.status, b.status); break;
    case 5: result = CompareLowered(a.eta, b.eta); break;
    case 6: result = CompareNumbers(speedValue(a.speed), speedValue(b.speed)); break;
    case 7: result = CompareNumbers(leadingNumber(a.hosts), leadingNumber(b.hosts)); break;
    case 8: result = CompareNumbers(a.progress, b.progress); break;
    default: break;
    }
    return state < 0 ? -result : result;
}

void DownloadsModel::columnClicked(int column)
{
    m_sortState = std::abs(m_sortState) == column + 1 ? -m_sortState : column + 1;
    const int state = m_sortState;
    sortRows([state](const DownloadRow& a, const DownloadRow& b) { return compare(a, b, state) < 0; });
}
