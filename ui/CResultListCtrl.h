// The results list: one row per variable of the evaluator, "Name" and
// "Value", sorted by name. It follows the evaluator as its displayer; its
// right-click menu "&Result" clears variables, opens the result view, writes
// and reads variables files and opens the constants dialog.
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
  void remove(const std::string& name) override;
  void clear() override;

  // The menu with its items enabled or greyed for the current state.
  QMenu* preparedMenu();

  // The commands.
  void clearAll();
  void clearSelected();
  // Opens the result view of the selected variable (modal); nothing without a selection.
  void viewSelected();
  // Asks for a ".cvf" file and writes every listed variable to it in full.
  void exportVariables();
  // Asks for a ".cvf" file and sets its variables; entries that are not
  // variables are skipped and counted in a message.
  void importVariables();

  // The "Name" of the first selected row, or empty.
  QString selectedName() const;
  // The row whose "Name" is `name` exactly, or -1.
  int rowOf(const QString& name) const;

 signals:
  void myConstantsRequested();

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  QMenu* menu_;
};
