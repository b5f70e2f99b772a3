#include "ui/CNumbrixMiniDlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QProgressBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "expr/FormatValue.h"
#include "expr/IExprParser.h"
#include "ui/CGuiButton.h"
#include "ui/ControlIds.h"
#include "ui/EvaluatorMessages.h"
#include "ui/Keypad.h"
#include "ui/WindowMenu.h"

namespace {

const QString kStartText = QStringLiteral("0.0");
// What the result box shows for an error, in the user's language.
QString errorText() { return CNumbrixMiniDlg::tr("Error"); }
QString tooBigText() { return CNumbrixMiniDlg::tr("Too Big"); }
// Tooltips longer than this are cut: a million digits would stall the desktop.
constexpr qsizetype kToolTipChars = 2000;

QString toolTipOf(const QString& text) {
  if (text.size() <= kToolTipChars) return text;
  return text.left(kToolTipChars) + QStringLiteral("…\n") +
         CNumbrixMiniDlg::tr("(%n characters in all; Ctrl+C copies them)", nullptr, static_cast<int>(text.size()));
}

}  // namespace

CNumbrixMiniDlg::CNumbrixMiniDlg(AppState& state, QWidget* parent) : NumbrixWindow(state, parent) {
  input_ = new QLineEdit(this);
  setControlId(input_, ids::Input);
  result_ = new QLineEdit(kStartText, this);
  setControlId(result_, ids::MiniResult);
  result_->setReadOnly(true);
  result_->setFocusPolicy(Qt::ClickFocus);
  connect(input_, &QLineEdit::textChanged, this, &CNumbrixMiniDlg::resetError);

  QWidget* pad = keypadPad(miniKeypad(), input_, QSize(40, 26));
  QGridLayout* grid = gridOf(pad);
  CGuiButton* equals = keypadButton(QStringLiteral("="), ids::Ok, kOperatorColour, pad);
  equals->setDefault(true);
  connect(equals, &QPushButton::clicked, this, &CNumbrixMiniDlg::evaluate);
  grid->addWidget(equals, 4, 0, 1, 3);
  CGuiButton* main = keypadButton(QStringLiteral("<"), ids::SwitchToMain, kDigitColour, pad);
  connect(main, &QPushButton::clicked, this, &QDialog::accept);
  grid->addWidget(main, 4, 4);

  auto* top = new QHBoxLayout;
  top->addWidget(input_, 1);
  top->addWidget(windowMenu()->button());
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(result_);
  progress_ = new QProgressBar(this);
  progress_->setTextVisible(false);
  progress_->setMaximumHeight(6);
  progress_->setRange(0, 0);  // busy, without a measure
  progress_->setToolTip(tr("Computing… Esc stops it."));
  progress_->hide();
  layout->addWidget(progress_);
  layout->addWidget(pad);
  layout->setSizeConstraint(QLayout::SetFixedSize);  // not resizable

  runner_->setListeners(this, this, nullptr);  // nothing evaluated here is logged
  connect(runner_, &EvaluationRunner::evaluated, this, &CNumbrixMiniDlg::finished);
  connect(runner_, &EvaluationRunner::busyChanged, progress_, &QWidget::setVisible);
  IExprParser::instance()->clearVariables();
  input_->setFocus();
}

CNumbrixMiniDlg::~CNumbrixMiniDlg() {
  delete runner_;  // stops what still runs before the window's parts go
  runner_ = nullptr;
}

void CNumbrixMiniDlg::display(const std::string& name, bignum::bigfloat value) {
  showValue(name, QString::fromLocal8Bit(formatValue(value, 40)));
}

void CNumbrixMiniDlg::showValue(const std::string&, const QString& text) {
  result_->setText(text);
  result_->setCursorPosition(0);  // a long answer shows its start
  result_->setToolTip(toolTipOf(text));
}

void CNumbrixMiniDlg::remove(const std::string&) {}

void CNumbrixMiniDlg::clear() {}

void CNumbrixMiniDlg::showInResultBox(const QString& text, const QString& toolTip) {
  result_->selectAll();
  result_->insert(text);
  result_->setCursorPosition(0);
  result_->setToolTip(toolTip);
}

void CNumbrixMiniDlg::evaluate() {
  const QString text = input_->text();
  if (const std::optional<std::string> narrow = textToEvaluate(text)) waiting_.insert(runner_->evaluate(*narrow), text);
  input_->setFocus();
}

void CNumbrixMiniDlg::finished(int id, const EvaluationOutcome& outcome) {
  const QString text = waiting_.take(id);
  if (outcome.ok()) {
    if (input_->text() == text) {  // an input edited meanwhile belongs to the user
      input_->selectAll();
      input_->insert(QString());
    }
  } else if (outcome.error) {
    const bool tooBig = outcome.error->kind() == ExprParserException::Kind::TooBig;
    showInResultBox(tooBig ? tooBigText() : errorText(),
                    localisedEvaluatorMessage(QString::fromLocal8Bit(outcome.error->what())));
  } else {
    showInResultBox(errorText(), tr("Unknown exception !"));
  }
}

void CNumbrixMiniDlg::resetError() {
  if (result_->text() == errorText() || result_->text() == tooBigText()) {
    result_->setText(kStartText);
    result_->setToolTip(QString());
  }
}
