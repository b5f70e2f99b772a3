// The look the two lists share: a report of rows with a header, grid lines,
// whole rows selected one at a time, columns that can be dragged, no editing.
#pragma once

#include <QStringList>
#include <initializer_list>

class QTableWidget;

void setUpReportList(QTableWidget* list, const QStringList& columns, std::initializer_list<int> widths);
