#include "platform/reportlist.h"

#include <QHeaderView>
#include <QTableView>

void ConfigureReportList(QTableView* list, const QList<int>& columnWidths)
{
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setShowGrid(false);
    list->setWordWrap(false);
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    list->verticalHeader()->hide();
    list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list->verticalHeader()->setDefaultSectionSize(std::max(list->fontMetrics().height() + 4, 19));
    list->horizontalHeader()->setHighlightSections(false);
    list->horizontalHeader()->setSectionsClickable(true);
    list->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int column = 0; column < columnWidths.size(); ++column)
        list->setColumnWidth(column, columnWidths[column]);
}
