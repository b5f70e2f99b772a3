// The main window: the expression input, the message line (errors in red,
// the live answer in grey, the progress of long work with a Cancel button),
// the keypad, and the output frame with the results list and the log list.
// Evaluation hands the input to the worker (EvaluationRunner), which reports
// to the two lists. The window can be resized; its size, place and splitter
// are kept in the settings, its log and variables in the history file.
#pragma once

#include <QHash>
#include <memory>

#include "ui/NumbrixWindow.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QSplitter;
class QTimer;
class CInputEdit;
class CResultListCtrl;
class CLogListCtrl;
class InputAssist;
class ResultValueTexts;
class SessionHistory;
struct EvaluationOutcome;

class CNumbrixDlg : public NumbrixWindow {
  Q_OBJECT

 public:
  explicit CNumbrixDlg(AppState& state, QWidget* parent = nullptr);
  ~CNumbrixDlg() override;

  // Evaluates the input (OK, Ctrl+Enter, or Enter with the setting) on the
  // worker; the input stays editable meanwhile. When the answer comes the
  // input is cleared on success, else kept with the part the error names
  // selected and the message shown in red; an input edited meanwhile is left
  // as the user made it.
  void evaluate();
  // Stops the evaluation that runs and drops those that wait (Esc, Cancel).
  void cancelEvaluation();
  // Opens the constants dialog modally; "Insert" writes into `target` when it is given.
  void openMyConstants(CInputEdit* target);

  CInputEdit* input() const { return input_; }
  QLabel* messageLine() const { return message_; }
  CResultListCtrl* results() const { return results_; }
  CLogListCtrl* logList() const { return log_; }
  // The bar between the results list (above) and the log list (below).
  QSplitter* splitter() const { return splitter_; }
  QProgressBar* progressBar() const { return progress_; }
  QPushButton* cancelButton() const { return cancel_; }
  InputAssist* assist() const { return assist_; }
  SessionHistory* history() const { return history_; }
  // The live answer shown in the message line ("" when none is).
  QString liveAnswer() const { return live_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void done(int result) override;
  void changeEvent(QEvent* event) override;
  void openSettings() override;

 private:
  enum class Message { None, Error, Live, Working };
  QWidget* buildKeypad();
  QWidget* buildMessageLine();
  void finished(int id, const EvaluationOutcome& outcome);
  void busyChanged(bool busy);
  void showMessage(Message kind, const QString& text);
  void showProgress();
  void inputChanged();
  void askLiveAnswer();
  void liveAnswered(int id, const QString& answer);
  // The splitter bar and the message line in colours readable in the palette.
  void applyThemeColours();
  // Keeps the size, place and splitter in the settings.
  void rememberLayout();

  CInputEdit* input_;
  QLabel* message_;
  QProgressBar* progress_;
  QPushButton* cancel_;
  CResultListCtrl* results_;
  CLogListCtrl* log_;
  QSplitter* splitter_;
  InputAssist* assist_;
  SessionHistory* history_;
  QTimer* liveTimer_;
  QTimer* progressTimer_;
  std::unique_ptr<ResultValueTexts> resultTexts_;
  QHash<int, QString> waiting_;  // the inputs handed to the worker, by number
  int liveId_ = 0;               // the live answer asked for last
  QString live_;
  Message shown_ = Message::None;
};

// The character position of the lexer's `column` in `text` (columns count
// the bytes of the narrow text, and a tab moves to the next multiple of 8
// plus one).
int characterPosition(const QString& text, int column);
