// The expression input of the main window: a multi-line edit whose
// right-click menu "&Input" clears, cuts, copies, pastes and opens the
// constants dialog, each command greyed when it has nothing to act on.
#pragma once

#include <QPlainTextEdit>

class QMenu;

class CInputEdit : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit CInputEdit(QWidget* parent = nullptr);
  // The menu with its items enabled or greyed for the current state (as it
  // is shown at a right click).
  QMenu* preparedMenu();

 signals:
  // "&My Constants" was chosen.
  void myConstantsRequested();

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  QMenu* menu_;
};
