// The log list: every evaluated statement with its answer, newest first.
// Its right-click menu "&Log" copies a row's answer or expression, clears
// rows, exports the log and puts an earlier expression back into the input.
// The answers' column takes a share of the width (the user may drag it), and
// texts too long for a column are cut in the middle.
#pragma once

#include <QByteArray>
#include <QTableWidget>

#include "expr/IExprParserLog.h"

class QMenu;

// The encodings "Export Log" offers, the first as its first choice.
enum class LogEncoding { Utf16le, Utf8 };

class CLogListCtrl : public QTableWidget, public IExprParserLog {
  Q_OBJECT

 public:
  explicit CLogListCtrl(QWidget* parent = nullptr);

  // IExprParserLog: a new row at the top.
  void log(const std::string& expressionText, const std::string& answerText) override;

  // The menu with its items enabled or greyed for the current state.
  QMenu* preparedMenu();

  // The whole answer and expression of `row`; empty for a row that does not exist.
  QString answerText(int row) const;
  QString expressionText(int row) const;

  // The commands.
  // Put the selected row's whole answer or expression on the clipboard; nothing without a selection.
  void copyAnswer();
  void copyExpression();
  void clearAll();
  void clearSelected();
  // Puts the selected row's expression into the window's input (control 1059),
  // replacing its selection, and gives the input the focus.
  void reevaluate();
  // Asks for a file and writes the log to it, in UTF-16LE or, when the
  // dialog's "UTF-8 text" is chosen, in UTF-8. The file is replaced only once
  // the whole log is written, so a failure keeps what it held; a file that
  // cannot be made (or may not be written) and a write that fails are told
  // apart in the message shown.
  void exportLog();

  // The export file's bytes, oldest record first: UTF-16LE records
  // "expression\r\n= answer\r\n\r\n" without a byte-order mark, or UTF-8
  // records "expression\n= answer\n\n" without one, CR LF inside a text
  // written as LF.
  QByteArray exportBytes(LogEncoding encoding = LogEncoding::Utf16le) const;

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  // Ctrl+C copies the selected answer.
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  int selectedRow() const;

  QMenu* menu_;
  double answerShare_ = 0.45;  // of the width, for the answers' column
  bool sizing_ = false;        // while the list itself sets the column's width
};
