// The log list: every evaluated statement with its answer, newest first.
// Its right-click menu "&Log" clears rows, exports the log and puts an
// earlier expression back into the input.
#pragma once

#include <QByteArray>
#include <QTableWidget>

#include "expr/IExprParserLog.h"

class QMenu;

class CLogListCtrl : public QTableWidget, public IExprParserLog {
  Q_OBJECT

 public:
  explicit CLogListCtrl(QWidget* parent = nullptr);

  // IExprParserLog: a new row at the top.
  void log(const std::string& expressionText, const std::string& answerText) override;

  QMenu* preparedMenu();

  // The commands.
  void clearAll();
  void clearSelected();
  // Puts the selected row's expression into the window's input (control 1059),
  // replacing its selection, and gives the input the focus.
  void reevaluate();
  // Asks for a file and writes the log to it. The file is replaced only once
  // the whole log is written, so a failure keeps what it held; a file that
  // cannot be made (or may not be written) and a write that fails are told
  // apart in the message shown.
  void exportLog();

  // The export file's bytes: UTF-16LE records "expression\r\n= answer\r\n\r\n", oldest first.
  QByteArray exportBytes() const;

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  int selectedRow() const;

  QMenu* menu_;
};
