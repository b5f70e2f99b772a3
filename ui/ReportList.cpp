#include "ui/ReportList.h"

#include <QHeaderView>
#include <QTableWidget>

void setUpReportList(QTableWidget* list, const QStringList& columns, std::initializer_list<int> widths) {
  list->setColumnCount(static_cast<int>(columns.size()));
  list->setHorizontalHeaderLabels(columns);
  int column = 0;
  for (int width : widths) list->setColumnWidth(column++, width);
  list->setShowGrid(true);
  list->setSelectionBehavior(QAbstractItemView::SelectRows);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list->verticalHeader()->setVisible(false);
  list->horizontalHeader()->setSectionsMovable(true);
  list->horizontalHeader()->setStretchLastSection(true);
  list->setWordWrap(false);
}

int selectedRow(const QTableWidget* list) {
  const QList<QTableWidgetItem*> chosen = list->selectedItems();
  return chosen.isEmpty() ? -1 : chosen.front()->row();
}
