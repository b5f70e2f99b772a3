#include "ui/CResultViewDlg.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "expr/FormatValue.h"
#include "expr/IntegerOperators.h"
#include "ui/ControlIds.h"
#include "ui/ResultTexts.h"

CResultViewDlg::CResultViewDlg(const QString& name, const bignum::bigfloat& value, QWidget* parent)
    : QDialog(parent), name_(name), value_(value) {
  setWindowTitle(tr("Result View"));
  label_ = new QLabel(tr("x = "), this);
  setControlId(label_, ids::ViewLabel);
  text_ = new QLineEdit(this);
  text_->setReadOnly(true);
  text_->setMinimumWidth(420);
  setControlId(text_, ids::ViewText);

  const std::array<std::pair<int, QString>, 6> buttons = {{{ids::RadioDec, tr("Dec")},
                                                           {ids::RadioBin, tr("Bin")},
                                                           {ids::RadioOct, tr("Oct")},
                                                           {ids::RadioHex, tr("Hex")},
                                                           {ids::RadioRad, tr("Rad")},
                                                           {ids::RadioDeg, tr("Deg")}}};
  auto* radixGroup = new QGroupBox(this);
  auto* angleGroup = new QGroupBox(this);
  auto* radixLayout = new QHBoxLayout(radixGroup);
  auto* angleLayout = new QHBoxLayout(angleGroup);
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    auto* radio = new QRadioButton(buttons[i].second, i < 4 ? radixGroup : angleGroup);
    setControlId(radio, buttons[i].first);
    (i < 4 ? radixLayout : angleLayout)->addWidget(radio);
    radios_[i] = radio;
    const int id = buttons[i].first;
    connect(radio, &QRadioButton::clicked, this, [this, id] { choose(id); });
  }

  auto* row = new QHBoxLayout;
  row->addWidget(label_);
  row->addWidget(text_, 1);
  auto* groups = new QHBoxLayout;
  groups->addWidget(radixGroup);
  groups->addWidget(angleGroup);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addLayout(groups);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  // The texts, once.
  label_->setText(name_ + QStringLiteral(" ="));
  texts_[0] = QString::fromStdString(formatValue(value_, 40));
  if (value_ < 0 || !isInteger(value_)) {
    for (std::size_t i = 0; i < 4; ++i) radios_[i]->setEnabled(false);
  } else {
    texts_[1] = QString::fromStdString(radixText(value_, 2));
    texts_[2] = QString::fromStdString(radixText(value_, 8));
    texts_[3] = QString::fromStdString(radixText(value_, 16));
  }
  texts_[4] = QString::fromStdString(degreesText(value_));
  showState(0);
}

QString CResultViewDlg::shownText() const { return text_->text(); }

void CResultViewDlg::choose(int id) {
  switch (id) {
    case ids::RadioDec:
      if (radix_ != 0) radix_ = 0, showState(0);
      break;
    case ids::RadioBin:
    case ids::RadioOct:
    case ids::RadioHex:
      if (radix_ != id - ids::RadioDec) {
        radix_ = id - ids::RadioDec;
        angle_ = 0;
        showState(radix_);
      }
      break;
    case ids::RadioRad:
      if (angle_ != 0) angle_ = 0, radix_ = 0, showState(0);
      break;
    case ids::RadioDeg:
      if (angle_ != 1) angle_ = 1, radix_ = 0, showState(4);
      break;
  }
  showState(-1);
}

void CResultViewDlg::showState(int textIndex) {
  if (textIndex >= 0) text_->setText(texts_[static_cast<std::size_t>(textIndex)]);
  // The two groups' values pushed to their buttons.
  radios_[static_cast<std::size_t>(radix_)]->setChecked(true);
  radios_[4 + static_cast<std::size_t>(angle_)]->setChecked(true);
}
