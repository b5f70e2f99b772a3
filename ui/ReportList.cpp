#include "ui/ReportList.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTextDocument>
#include <QToolTip>
#include <algorithm>

namespace {

// Where a shortened cell keeps its whole text.
constexpr int kFullTextRole = Qt::UserRole + 1;
// How many characters a shortened cell shows at either end; how many a tip
// shows, and in lines of how many.
constexpr qsizetype kShownEnd = 64;
constexpr qsizetype kTipLength = 2000;
constexpr qsizetype kTipLine = 100;

// Shows a cell's tip only when its text is not shown whole.
class ReportDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                 const QModelIndex& index) override {
    if (event->type() == QEvent::ToolTip && !index.data(kFullTextRole).isValid() &&
        sizeHint(option, index).width() <= option.rect.width()) {
      QToolTip::hideText();
      return true;
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
  }
};

// `text` as a tip: plain text (never read as markup) in lines of kTipLine,
// cut after kTipLength characters with a note of how long it is.
QString tipText(const QString& text) {
  const qsizetype shown = std::min(text.size(), kTipLength);
  QString tip;
  for (qsizetype at = 0; at < shown; at += kTipLine)
    tip += (at > 0 ? QStringLiteral("\n") : QString()) + text.mid(at, std::min(kTipLine, shown - at));
  if (shown < text.size()) {
    const auto digits = std::count_if(text.cbegin(), text.cend(), [](QChar c) { return c.isDigit(); });
    tip += QChar(0x2026) +
           QCoreApplication::translate("ReportList", "\n(%1 characters, %2 digits)").arg(text.size()).arg(digits);
  }
  return Qt::convertFromPlainText(tip, Qt::WhiteSpacePre);
}

}  // namespace

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
  // One line of text a row, as report lists have, so that a larger window shows more rows.
  list->verticalHeader()->setDefaultSectionSize(list->fontMetrics().height() + 8);
  list->horizontalHeader()->setSectionsMovable(true);
  list->horizontalHeader()->setStretchLastSection(true);
  list->setWordWrap(false);
  list->setTextElideMode(Qt::ElideMiddle);
  list->setItemDelegate(new ReportDelegate(list));
}

QTableWidgetItem* reportItem(const QString& text) {
  const bool shortened = text.size() > kLongText;
  auto* item = new QTableWidgetItem(shortened ? text.left(kShownEnd) + QChar(0x2026) + text.right(kShownEnd) : text);
  if (shortened) item->setData(kFullTextRole, text);
  item->setToolTip(tipText(text));
  return item;
}

QString fullText(const QTableWidgetItem* item) {
  if (item == nullptr) return QString();
  const QVariant full = item->data(kFullTextRole);
  return full.isValid() ? full.toString() : item->text();
}

int selectedRow(const QTableWidget* list) {
  const QList<QTableWidgetItem*> chosen = list->selectedItems();
  return chosen.isEmpty() ? -1 : chosen.front()->row();
}

void copySelectedCell(const QTableWidget* list, int column) {
  const int row = selectedRow(list);
  if (row >= 0) QGuiApplication::clipboard()->setText(fullText(list->item(row, column)));
}

bool copiesOnCopyKey(const QTableWidget* list, QKeyEvent* event, int column) {
  if (!event->matches(QKeySequence::Copy)) return false;
  copySelectedCell(list, column);
  event->accept();
  return true;
}
