// The results list: one row per variable of the evaluator, "Name" and
// "Value", sorted by name. It follows the evaluator as its displayer; its
// right-click menu "&Result" copies a value, clears variables, opens the
// result view, writes and reads variables files and opens the constants
// dialog. Values too long for their column are cut in the middle.
#pragma once

#include <QTableWidget>

#include "expr/IExprParserDisplayer.h"

class QMenu;

class CResultListCtrl : public QTableWidget, public IExprParserDisplayer {
  Q_OBJECT

 public:
  explicit CResultListCtrl(QWidget* parent = nullptr);

  // IExprParserDisplayer: a variable got a value, was removed, all were removed.
  void display(const std::string& name, bignum::bigfloat value) override;
  // The same with the value's answer text made already (by the worker).
  void showValue(const std::string& name, const QString& text);
  void remove(const std::string& name) override;
  void clear() override;

  // The menu with its items enabled or greyed for the current state.
  QMenu* preparedMenu();

  // The commands.
  // Puts the selected row's whole value on the clipboard; nothing without a selection.
  void copyValue();
  void clearAll();
  void clearSelected();
  // Opens the result view of the selected variable (modal); nothing without a selection.
  void viewSelected();
  // Shows the result view of the variable `name` modally (nothing for an empty name).
  void viewVariable(const QString& name);
  // Asks for a ".cvf" file and writes every listed variable to it in full.
  void exportVariables();
  // Asks for a ".cvf" file and sets its variables; entries that are not
  // variables are skipped and counted in a message.
  void importVariables();

  // The "Name" of the first selected row, or empty.
  QString selectedName() const;
  // The row whose "Name" is `name` exactly, or -1.
  int rowOf(const QString& name) const;
  // The whole value shown in `row`; empty for a row that does not exist.
  QString valueText(int row) const;

 signals:
  void myConstantsRequested();

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  // Ctrl+C copies the selected value.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QMenu* menu_;
};
