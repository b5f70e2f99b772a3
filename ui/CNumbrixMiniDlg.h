// The mini window: a one-line input, a result box and a number pad. It shows
// the last value the evaluator reports; an error shows only as "Error" or
// "Too Big" until the input is edited. It keeps no log.
#pragma once

#include "expr/IExprParserDisplayer.h"
#include "ui/NumbrixWindow.h"

class QLineEdit;

class CNumbrixMiniDlg : public NumbrixWindow, public IExprParserDisplayer {
  Q_OBJECT

 public:
  explicit CNumbrixMiniDlg(AppState& state, QWidget* parent = nullptr);
  ~CNumbrixMiniDlg() override;

  // IExprParserDisplayer: the result box shows `value` (the name is not
  // shown); removals and clearing leave it as it is.
  void display(const std::string& name, bignum::bigfloat value) override;
  void remove(const std::string& name) override;
  void clear() override;

  // Evaluates the input ("=", Enter): clears it on success; on an error keeps
  // it and shows "Too Big" (a value beyond the limit) or "Error".
  void evaluate();

  QLineEdit* input() const { return input_; }
  QLineEdit* resultBox() const { return result_; }

 private:
  // An edit of the input takes an error display back to "0.0".
  void resetError();
  void showInResultBox(const QString& text);

  QLineEdit* input_;
  QLineEdit* result_;
};
