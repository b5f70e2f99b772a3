// One variable's value in decimal, binary, octal or hexadecimal, or as an
// angle in degrees, in a scrolling read-only field that holds texts of any
// length. The texts are made when the view opens (the radix ones again when
// the width changes); the radix buttons are disabled for a value that is not
// an integer. A negative integer shows in binary, octal and hexadecimal as
// its two's complement in the width chosen in the width box (enabled for
// negative integers only), or as a note when it does not fit that width.
#pragma once

#include <QDialog>
#include <QString>
#include <array>

#include "bignum/bigfloat.h"

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QRadioButton;

class CResultViewDlg : public QDialog {
  Q_OBJECT

 public:
  CResultViewDlg(const QString& name, const bignum::bigfloat& value, QWidget* parent = nullptr);

  // The five texts: 0 decimal, 1 binary, 2 octal, 3 hexadecimal, 4 degrees.
  const std::array<QString, 5>& texts() const { return texts_; }
  int radix() const { return radix_; }
  int angle() const { return angle_; }
  // Shows the text of `radix` (0 decimal, 1 binary, 2 octal, 3 hexadecimal),
  // as a click on its radio button does.
  void chooseRadix(int radix);
  // The text shown now.
  QString shownText() const;

 private:
  // A click on a radio button (its id), acting only when it changes its group's value.
  void choose(int id);
  void showState(int textIndex);
  // The binary, octal and hexadecimal texts for the width chosen now.
  void makeRadixTexts();

  QString name_;
  bignum::bigfloat value_;
  std::array<QString, 5> texts_;
  int radix_ = 0;
  int angle_ = 0;
  QLabel* label_;
  QPlainTextEdit* text_;
  QComboBox* width_;
  std::array<QRadioButton*, 6> radios_{};
};
