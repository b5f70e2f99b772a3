// The look the two lists share: a report of rows with a header, grid lines,
// whole rows selected one at a time, columns that can be dragged, no editing.
#pragma once

#include <QStringList>
#include <initializer_list>

class QTableWidget;

void setUpReportList(QTableWidget* list, const QStringList& columns, std::initializer_list<int> widths);

// The row of the selected item, or -1 when nothing is selected.
int selectedRow(const QTableWidget* list);
