// The main window: the expression input, the red message line, the keypad,
// and the output frame with the results list and the log list. Evaluation
// hands the input to the evaluator, which reports to the two lists.
#pragma once

#include <QDialog>

#include "ui/AppState.h"

class QLabel;
class QMenu;
class CInputEdit;
class CResultListCtrl;
class CLogListCtrl;
class CGuiSplitter;

class CNumbrixDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CNumbrixDlg(AppState& state, QWidget* parent = nullptr);
  ~CNumbrixDlg() override;

  // Evaluates the input (OK, Ctrl+Enter): clears it on success, else keeps it,
  // selects the part the error names and shows the message in red.
  void evaluate();
  // Inserts the text of keypad button `id` (1000-1052) at the caret.
  void insertKeypadText(int id);
  // The window-menu commands.
  void toggleAlwaysOnTop();
  void openHelp();
  void showAbout();

  CInputEdit* input() const { return input_; }
  QLabel* messageLine() const { return message_; }
  CResultListCtrl* results() const { return results_; }
  CLogListCtrl* logList() const { return log_; }
  CGuiSplitter* splitter() const { return splitter_; }
  // The window menu (Always On Top, Help, About).
  QMenu* windowMenu() const { return windowMenu_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  QWidget* buildKeypad();
  void applyTopMost();

  AppState& state_;
  CInputEdit* input_;
  QLabel* message_;
  CResultListCtrl* results_;
  CLogListCtrl* log_;
  CGuiSplitter* splitter_;
  QMenu* windowMenu_;
};

// The text keypad button `id` inserts; `before` is the character before the
// caret (0 when there is none), which decides the signs' blanks.
QString keypadText(int id, QChar before);

// The character position of the lexer's `column` in `text` (columns count
// the bytes of the narrow text, and a tab moves to the next multiple of 8
// plus one).
int characterPosition(const QString& text, int column);
