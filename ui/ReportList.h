// The look the two lists share: a report of rows with a header, grid lines,
// whole rows selected one at a time, columns that can be dragged, no editing;
// texts too wide for their column cut in the middle, with a tip that shows
// them. Cells of very long texts (answers of a million digits) show a
// shortened text made once, so that painting never lays out the whole.
#pragma once

#include <QStringList>
#include <initializer_list>

class QKeyEvent;
class QTableWidget;
class QTableWidgetItem;

// Sets up `list` as a report with the captions `columns` and their first widths.
void setUpReportList(QTableWidget* list, const QStringList& columns, std::initializer_list<int> widths);

// Texts longer than this are shown shortened.
inline constexpr int kLongText = 1000;

// A cell for `text`. A text of at most kLongText characters is shown as it
// is; a longer one as its head, "…" and its tail, with the whole text kept
// for fullText(). The tip is the text in lines of readable length, cut to a
// couple of thousand characters with a note of its length.
QTableWidgetItem* reportItem(const QString& text);

// The whole text of a cell made by reportItem() (or of any cell: its text);
// empty for null.
QString fullText(const QTableWidgetItem* item);

// The row of the selected item, or -1 when nothing is selected.
int selectedRow(const QTableWidget* list);

// The whole text of the selected row's `column` to the clipboard; nothing
// without a selection.
void copySelectedCell(const QTableWidget* list, int column);
// Ctrl+C on a list copies the whole text of `column` (not the cell's
// shortened text the view would copy): true, with `event` accepted, when
// `event` is that key.
bool copiesOnCopyKey(const QTableWidget* list, QKeyEvent* event, int column);
