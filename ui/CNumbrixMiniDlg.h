// The mini window: a one-line input, a result box and a number pad. It shows
// the last value the evaluator reports, from its start, with the whole text in
// a tooltip; an error shows only as "Error" or "Too Big" (the message in the
// tooltip) until the input is edited. It keeps no log. Inputs are evaluated on
// the worker; a bar shows while one runs, and Esc stops it.
#pragma once

#include <QHash>

#include "expr/IExprParserDisplayer.h"
#include "ui/EvaluationRunner.h"
#include "ui/NumbrixWindow.h"

class QLineEdit;
class QProgressBar;

class CNumbrixMiniDlg : public NumbrixWindow, public IExprParserDisplayer, public ValueTextListener {
  Q_OBJECT

 public:
  explicit CNumbrixMiniDlg(AppState& state, QWidget* parent = nullptr);
  ~CNumbrixMiniDlg() override;

  // IExprParserDisplayer: the result box shows `value` (the name is not
  // shown); removals and clearing leave it as it is.
  void display(const std::string& name, bignum::bigfloat value) override;
  void remove(const std::string& name) override;
  void clear() override;
  // ValueTextListener: the same for the texts the worker makes.
  void showValue(const std::string& name, const QString& text) override;
  void removeValue(const std::string&) override {}
  void clearValues() override {}

  // Evaluates the input ("=", Enter) on the worker: when it ends the input is
  // cleared on success; on an error it is kept and the box shows "Too Big" (a
  // value beyond the limit) or "Error".
  void evaluate();

  QLineEdit* input() const { return input_; }
  QLineEdit* resultBox() const { return result_; }
  QProgressBar* progressBar() const { return progress_; }

 private:
  // An edit of the input takes an error display back to "0.0".
  void resetError();
  void showInResultBox(const QString& text, const QString& toolTip);
  void finished(int id, const EvaluationOutcome& outcome);

  QLineEdit* input_;
  QLineEdit* result_;
  QProgressBar* progress_;
  QHash<int, QString> waiting_;
};
