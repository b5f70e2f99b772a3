#include "ui/CResultViewDlg.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTextOption>
#include <QVBoxLayout>
#include <optional>

#include "expr/FormatValue.h"
#include "expr/IntegerOperators.h"
#include "ui/ControlIds.h"
#include "ui/ResultTexts.h"

CResultViewDlg::CResultViewDlg(const QString& name, const bignum::bigfloat& value, QWidget* parent)
    : QDialog(parent), name_(name), value_(value) {
  setWindowTitle(tr("Result View"));
  label_ = new QLabel(tr("x = "), this);
  setControlId(label_, ids::ViewLabel);
  text_ = new QPlainTextEdit(this);
  text_->setReadOnly(true);
  text_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  text_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  text_->setWordWrapMode(QTextOption::WrapAnywhere);
  text_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  text_->setMinimumSize(420, 4 * text_->fontMetrics().lineSpacing());
  setControlId(text_, ids::ViewText);
  width_ = new QComboBox(this);
  const std::array<std::pair<int, QString>, 6> widths = {{{8, tr("8 bits")},
                                                          {16, tr("16 bits")},
                                                          {32, tr("32 bits")},
                                                          {64, tr("64 bits")},
                                                          {128, tr("128 bits")},
                                                          {0, tr("Smallest that fits")}}};
  for (const auto& [bits, caption] : widths) width_->addItem(caption, bits);
  width_->setCurrentIndex(width_->count() - 1);
  width_->setToolTip(tr("Width of the two's complement of a negative integer"));
  setControlId(width_, ids::ViewWidth);

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
  row->addWidget(label_, 0, Qt::AlignTop);
  row->addWidget(text_, 1);
  auto* groups = new QHBoxLayout;
  groups->addWidget(radixGroup);
  groups->addWidget(width_);
  groups->addWidget(angleGroup);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row, 1);
  layout->addLayout(groups);
  setSizeGripEnabled(true);

  // The texts; the radix ones are made again for each width chosen.
  label_->setText(name_ + QStringLiteral(" ="));
  texts_[0] = QString::fromStdString(formatValue(value_, 40));
  const bool integer = isInteger(value_);
  if (integer) {
    makeRadixTexts();
  } else {
    for (std::size_t i = 0; i < 4; ++i) radios_[i]->setEnabled(false);
  }
  width_->setEnabled(integer && value_ < 0);
  connect(width_, &QComboBox::currentIndexChanged, this, [this] {
    makeRadixTexts();
    if (radix_ != 0) showState(radix_);
  });
  texts_[4] = QString::fromStdString(degreesText(value_));
  showState(0);
}

QString CResultViewDlg::shownText() const { return text_->toPlainText(); }

void CResultViewDlg::makeRadixTexts() {
  const int width = width_->currentData().toInt();
  const std::array<int, 3> bases = {2, 8, 16};
  for (std::size_t i = 0; i < bases.size(); ++i) {
    const std::optional<std::string> text = integerRadixText(value_, bases[i], width);
    texts_[i + 1] = text ? QString::fromStdString(*text) : tr("%1 does not fit in %2 bits").arg(texts_[0]).arg(width);
  }
}

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
  if (textIndex >= 0) text_->setPlainText(texts_[static_cast<std::size_t>(textIndex)]);
  // The two groups' values pushed to their buttons.
  radios_[static_cast<std::size_t>(radix_)]->setChecked(true);
  radios_[4 + static_cast<std::size_t>(angle_)]->setChecked(true);
}

void CResultViewDlg::chooseRadix(int radix) { choose(ids::RadioDec + radix); }
