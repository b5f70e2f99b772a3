// The expression input of the main window: a multi-line edit whose
// right-click menu "&Input" clears, cuts, copies, pastes and opens the
// constants dialog, each command greyed when it has nothing to act on.
#pragma once

#include <QPlainTextEdit>

class QCompleter;
class QMenu;

class CInputEdit : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit CInputEdit(QWidget* parent = nullptr);
  // The menu with its items enabled or greyed for the current state (as it
  // is shown at a right click).
  QMenu* preparedMenu();
  // The completer whose popup, while open, takes Enter, Tab and Esc (the
  // keys that choose or close); null for none.
  void setCompleter(QCompleter* completer) { completer_ = completer; }

 signals:
  // "&My Constants" was chosen.
  void myConstantsRequested();

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QMenu* menu_;
  QCompleter* completer_ = nullptr;
};
