#pragma once

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <initializer_list>

// Selects exactly the given rows of a list, as clicks with Ctrl would.
inline void SelectRows(QAbstractItemView* list, std::initializer_list<int> rows)
{
    list->clearSelection();
    for (int row : rows)
        list->selectionModel()->select(list->model()->index(row, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
}
