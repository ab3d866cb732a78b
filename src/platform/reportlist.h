#pragma once

#include <QList>

class QTableView;

// Sets a table view up as the program's lists are: whole rows selected, several at a time,
// read-only, no grid, fixed row height, no row numbers, left-aligned headings that sort on a
// click, and the given column widths.
void ConfigureReportList(QTableView* list, const QList<int>& columnWidths);
