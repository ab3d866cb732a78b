#pragma once

#include "common/rowtablemodel.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

// One accepted search result.
struct ResultRow {
    QString fileName; // with "_" turned into blanks
    QString title;
    QString artist;
    int32_t hosts = 0;
    int32_t size = 0;
    QString status;
    int32_t searchId = 0;
    int32_t resultId = 0;
    int icon = -1;
};

// The search results list: icon, Title, Artist, Availability, Hosts, Size and Status. The sort
// key is signed: 0 unsorted, +/-(column + 1); Availability, Hosts and Status start descending.
class ResultsModel final : public RowTableModel<ResultRow> {
    Q_OBJECT
public:
    enum Column { IconColumn, TitleColumn, ArtistColumn, AvailabilityColumn, HostsColumn,
                  SizeColumn, StatusColumn, ColumnCount };
    // The picture (0 to 4) for a host count.
    static int availabilityPicture(int32_t hosts);

    explicit ResultsModel(std::function<QVariant(int)> icons, QObject* parent = nullptr);

    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The first row of the result, or -1.
    int find(int32_t searchId, int32_t resultId) const;
    void setHosts(int row, int32_t hosts);
    void setStatus(int row, const QString& status);

    void columnClicked(int column);
    void setSortState(int state) { m_sortState = state; }
    int sortState() const { return m_sortState; }
    static int compare(const ResultRow& a, const ResultRow& b, int state);

private:
    void sortBy(int state);

    std::function<QVariant(int)> m_icons;
    int m_sortState = 0;
};
