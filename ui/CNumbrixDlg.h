// The main window: the expression input, the red message line, the keypad,
// and the output frame with the results list and the log list. Evaluation
// hands the input to the evaluator, which reports to the two lists.
#pragma once

#include "ui/NumbrixWindow.h"

class QLabel;
class QSplitter;
class CInputEdit;
class CResultListCtrl;
class CLogListCtrl;

class CNumbrixDlg : public NumbrixWindow {
  Q_OBJECT

 public:
  explicit CNumbrixDlg(AppState& state, QWidget* parent = nullptr);
  ~CNumbrixDlg() override;

  // Evaluates the input (OK, Ctrl+Enter): clears it on success, else keeps it,
  // selects the part the error names and shows the message in red.
  void evaluate();
  // Opens the constants dialog modally; "Insert" writes into `target` when it is given.
  void openMyConstants(CInputEdit* target);

  CInputEdit* input() const { return input_; }
  QLabel* messageLine() const { return message_; }
  CResultListCtrl* results() const { return results_; }
  CLogListCtrl* logList() const { return log_; }
  // The bar between the results list (above) and the log list (below).
  QSplitter* splitter() const { return splitter_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QWidget* buildKeypad();

  CInputEdit* input_;
  QLabel* message_;
  CResultListCtrl* results_;
  CLogListCtrl* log_;
  QSplitter* splitter_;
};

// The character position of the lexer's `column` in `text` (columns count
// the bytes of the narrow text, and a tab moves to the next multiple of 8
// plus one).
int characterPosition(const QString& text, int column);
