// One variable's value in decimal, binary, octal or hexadecimal, or as an
// angle in degrees. All five texts are made once when the view opens; the
// radix buttons are disabled for a value that is negative or not an integer.
#pragma once

#include <QDialog>
#include <QString>
#include <array>

#include "bignum/bigfloat.h"

class QLabel;
class QLineEdit;
class QRadioButton;

class CResultViewDlg : public QDialog {
  Q_OBJECT

 public:
  CResultViewDlg(const QString& name, const bignum::bigfloat& value, QWidget* parent = nullptr);

  // The five texts: 0 decimal, 1 binary, 2 octal, 3 hexadecimal, 4 degrees.
  const std::array<QString, 5>& texts() const { return texts_; }
  int radix() const { return radix_; }
  int angle() const { return angle_; }
  // The text shown now.
  QString shownText() const;

 private:
  // A click on a radio button (its id), acting only when it changes its group's value.
  void choose(int id);
  void showState(int textIndex);

  QString name_;
  bignum::bigfloat value_;
  std::array<QString, 5> texts_;
  int radix_ = 0;
  int angle_ = 0;
  QLabel* label_;
  QLineEdit* text_;
  std::array<QRadioButton*, 6> radios_{};
};
