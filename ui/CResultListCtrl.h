// The results list: one row per variable of the evaluator, "Name" and
// "Value", sorted by name. It follows the evaluator as its displayer; its
// right-click menu "&Result" clears variables and opens the result view.
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
  // Whether the variable-file and constants commands are offered.
  void setFileCommandsAvailable(bool available);

  // The commands.
  void clearAll();
  void clearSelected();
  // Opens the result view of the selected variable (modal); nothing without a selection.
  void viewSelected();

  // The "Name" of the first selected row, or empty.
  QString selectedName() const;
  // The row whose "Name" is `name` exactly, or -1.
  int rowOf(const QString& name) const;

 signals:
  void importRequested();
  void exportRequested();
  void myConstantsRequested();

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  QMenu* menu_;
  bool fileCommandsAvailable_ = false;
};
