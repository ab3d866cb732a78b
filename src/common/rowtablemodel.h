#pragma once

#include <QAbstractTableModel>
#include <algorithm>
#include <vector>

// A table model over a vector of rows: appending, replacing, removing, and a stable sort that
// keeps selections and other persistent indexes on their rows. The lists stripe their rows by
// position, so a removal repaints the rows behind it.
template <typename Row> class RowTableModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : int(m_rows.size());
    }

    const Row& at(int row) const { return m_rows[size_t(row)]; }

    void setRows(std::vector<Row> rows)
    {
        beginResetModel();
        m_rows = std::move(rows);
        endResetModel();
    }

    void clear() { setRows({}); }

    void append(Row row)
    {
        const int at = int(m_rows.size());
        beginInsertRows({}, at, at);
        m_rows.push_back(std::move(row));
        endInsertRows();
    }

    void replace(int row, Row value)
    {
        m_rows[size_t(row)] = std::move(value);
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    }

    void removeRowAt(int row)
    {
        beginRemoveRows({}, row, row);
        m_rows.erase(m_rows.begin() + row);
        endRemoveRows();
        if (row < int(m_rows.size()))
            emit dataChanged(index(row, 0), index(int(m_rows.size()) - 1, columnCount() - 1),
                             {Qt::BackgroundRole});
    }

protected:
    // Sorts stably by less(a, b).
    template <typename Less> void sortRows(Less less)
    {
        emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
        const QModelIndexList before = persistentIndexList();
        std::vector<int> order(m_rows.size());
        for (size_t i = 0; i < order.size(); ++i)
            order[i] = int(i);
        std::stable_sort(order.begin(), order.end(),
                         [&](int x, int y) { return less(m_rows[size_t(x)], m_rows[size_t(y)]); });
        std::vector<Row> sorted;
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

    std::vector<Row> m_rows;
};
