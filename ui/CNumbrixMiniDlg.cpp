#include "ui/CNumbrixMiniDlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include "expr/FormatValue.h"
#include "expr/IExprParser.h"
#include "ui/CGuiButton.h"
#include "ui/ControlIds.h"
#include "ui/Keypad.h"
#include "ui/WindowMenu.h"

namespace {

const QString kStartText = QStringLiteral("0.0");
const QString kError = QStringLiteral("Error");
const QString kTooBig = QStringLiteral("Too Big");

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
  layout->addWidget(pad);
  layout->setSizeConstraint(QLayout::SetFixedSize);  // not resizable

  IExprParser* parser = IExprParser::instance();
  parser->setDisplayer(this);
  parser->setLog(nullptr);  // nothing evaluated here is logged
  parser->clearVariables();
  input_->setFocus();
}

CNumbrixMiniDlg::~CNumbrixMiniDlg() { IExprParser::instance()->setDisplayer(nullptr); }

void CNumbrixMiniDlg::display(const std::string&, bignum::bigfloat value) {
  result_->setText(QString::fromLocal8Bit(formatValue(value, 40)));
}

void CNumbrixMiniDlg::remove(const std::string&) {}

void CNumbrixMiniDlg::clear() {}

void CNumbrixMiniDlg::showInResultBox(const QString& text) {
  result_->selectAll();
  result_->insert(text);
  result_->setCursorPosition(0);
}

void CNumbrixMiniDlg::evaluate() {
  if (const std::optional<std::string> narrow = textToEvaluate(input_->text())) {
    try {
      IExprParser::instance()->parse(*narrow + "\n");
      input_->selectAll();
      input_->insert(QString());
    } catch (const ExprParserException& e) {
      showInResultBox(e.kind() == ExprParserException::Kind::TooBig ? kTooBig : kError);
    } catch (...) {
      showInResultBox(kError);
    }
  }
  input_->setFocus();
}

void CNumbrixMiniDlg::resetError() {
  if (result_->text() == kError || result_->text() == kTooBig) result_->setText(kStartText);
}
