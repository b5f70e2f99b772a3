#include "ui/CLogListCtrl.h"

#include <QContextMenuEvent>
#include <QFile>
#include <QHeaderView>
#include <QMenu>
#include <QPlainTextEdit>

#include "config/FileReplace.h"
#include "ui/ControlIds.h"
#include "ui/Prompts.h"
#include "ui/ReportList.h"

CLogListCtrl::CLogListCtrl(QWidget* parent) : QTableWidget(0, 2, parent), menu_(new QMenu(tr("&Log"), this)) {
  // The expressions' column stretches to the rest of the width (never below its first width).
  setUpReportList(this, {tr("Answer"), tr("Expression")}, {240, 100});
  // A column the user drags keeps its share of the width as the list is resized.
  connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column, int, int width) {
    if (column == 0 && !sizing_ && viewport()->width() > 0)
      answerShare_ = static_cast<double>(width) / viewport()->width();
  });
  addCommand(menu_, tr("Copy &Answer"), ids::LogCopyAnswer, this, &CLogListCtrl::copyAnswer)
      ->setShortcut(QKeySequence::Copy);
  addCommand(menu_, tr("Copy &Expression"), ids::LogCopyExpression, this, &CLogListCtrl::copyExpression);
  menu_->addSeparator();
  addCommand(menu_, tr("Clear &All"), ids::LogClearAll, this, &CLogListCtrl::clearAll);
  addCommand(menu_, tr("Clear &Selected"), ids::LogClearSelected, this, &CLogListCtrl::clearSelected);
  menu_->addSeparator();
  addCommand(menu_, tr("E&xport Log"), ids::ExportLog, this, &CLogListCtrl::exportLog);
  menu_->addSeparator();
  addCommand(menu_, tr("&Re-evaluate"), ids::Reevaluate, this, &CLogListCtrl::reevaluate);
}

void CLogListCtrl::log(const std::string& expressionText, const std::string& answerText) {
  insertRow(0);
  setItem(0, 0, reportItem(QString::fromLocal8Bit(answerText)));
  setItem(0, 1, reportItem(QString::fromLocal8Bit(expressionText)));
}

QString CLogListCtrl::answerText(int row) const { return fullText(item(row, 0)); }

QString CLogListCtrl::expressionText(int row) const { return fullText(item(row, 1)); }

int CLogListCtrl::selectedRow() const { return ::selectedRow(this); }

QMenu* CLogListCtrl::preparedMenu() {
  const bool empty = rowCount() == 0, selected = selectedRow() >= 0;
  findCommand(this, ids::LogClearAll)->setEnabled(!empty);
  findCommand(this, ids::ExportLog)->setEnabled(!empty);
  findCommand(this, ids::Reevaluate)->setEnabled(selected);
  findCommand(this, ids::LogClearSelected)->setEnabled(selected);
  findCommand(this, ids::LogCopyAnswer)->setEnabled(selected);
  findCommand(this, ids::LogCopyExpression)->setEnabled(selected);
  return menu_;
}

void CLogListCtrl::copyAnswer() { copySelectedCell(this, 0); }

void CLogListCtrl::copyExpression() { copySelectedCell(this, 1); }

void CLogListCtrl::clearAll() { setRowCount(0); }

void CLogListCtrl::clearSelected() {
  const int row = selectedRow();
  if (row >= 0) removeRow(row);
}

void CLogListCtrl::reevaluate() {
  const int row = selectedRow();
  if (row < 0) return;
  auto* input = qobject_cast<QPlainTextEdit*>(findControl(window(), ids::Input));
  if (input == nullptr) return;
  input->insertPlainText(expressionText(row));
  input->setFocus();
}

QByteArray CLogListCtrl::exportBytes(LogEncoding encoding) const {
  if (encoding == LogEncoding::Utf8) {
    // Line ends as Linux has them, also those inside an expression.
    QString text;
    for (int row = rowCount() - 1; row >= 0; --row)
      text += expressionText(row) + QStringLiteral("\n= ") + answerText(row) + QStringLiteral("\n\n");
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).toUtf8();
  }
  QString text;
  for (int row = rowCount() - 1; row >= 0; --row)
    text += expressionText(row) + QStringLiteral("\r\n= ") + answerText(row) + QStringLiteral("\r\n\r\n");
  QByteArray bytes;
  bytes.reserve(text.size() * 2);
  for (QChar c : text) {
    bytes.append(static_cast<char>(c.unicode() & 0xff));
    bytes.append(static_cast<char>(c.unicode() >> 8));
  }
  return bytes;
}

void CLogListCtrl::exportLog() {
  Prompts& prompts = Prompts::current();
  // UTF-16LE first, as the files people keep are; UTF-8 for Linux's tools.
  const QString utf8 = tr("UTF-8 text (*.txt)");
  QString chosen;
  const QString path = prompts.saveFileName(this, QStringLiteral("NumbrixLog"),
                                            tr("Numbrix Log Files (*.txt)") + QStringLiteral(";;") + utf8,
                                            QStringLiteral("txt"), &chosen);
  if (path.isEmpty()) return;
  // A new file that replaces the old one only once it is complete: a full
  // disk keeps the earlier log.
  const QByteArray bytes = exportBytes(chosen == utf8 ? LogEncoding::Utf8 : LogEncoding::Utf16le);
  switch (replaceFileWithResult(QFile::encodeName(path).toStdString(), bytes.toStdString())) {
    case ReplaceResult::Replaced:
      break;
    case ReplaceResult::NotCreated:
      prompts.information(this, tr("Export Log Failed"), tr("Can't open or create the file:\n") + path);
      break;
    case ReplaceResult::NotWritten:
      prompts.information(this, tr("Error"), tr("Log exportting failed: nexpected exception !"));
      break;
  }
}

void CLogListCtrl::contextMenuEvent(QContextMenuEvent* event) { preparedMenu()->exec(event->globalPos()); }

void CLogListCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
  if (selectedRow() >= 0) reevaluate();
  QTableWidget::mouseDoubleClickEvent(event);
}

void CLogListCtrl::keyPressEvent(QKeyEvent* event) {
  if (!copiesOnCopyKey(this, event, 0)) QTableWidget::keyPressEvent(event);
}

void CLogListCtrl::resizeEvent(QResizeEvent* event) {
  // Before the view lays out its header, which then gives the expressions the rest.
  sizing_ = true;
  setColumnWidth(0, qRound(answerShare_ * viewport()->width()));
  sizing_ = false;
  QTableWidget::resizeEvent(event);
}
