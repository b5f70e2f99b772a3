#include "ui/CNumbrixDlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

#include "config/AppDirectory.h"
#include "expr/IExprParser.h"
#include "ui/CGuiButton.h"
#include "ui/CGuiStaticStandar.h"
#include "ui/CInputEdit.h"
#include "ui/CLogListCtrl.h"
#include "ui/CMyConstantDlg.h"
#include "ui/CResultListCtrl.h"
#include "ui/ControlIds.h"
#include "ui/Keypad.h"
#include "ui/WindowMenu.h"

int characterPosition(const QString& text, int column) {
  int at = 1;
  for (int i = 0; i < text.size(); ++i) {
    if (at >= column) return i;
    const QChar c = text[i];
    if (c == QLatin1Char('\t')) {
      at = columnAfter(at, '\t');
    } else if (c.isHighSurrogate() && i + 1 < text.size()) {
      at += static_cast<int>(text.mid(i, 2).toLocal8Bit().size());
      ++i;
    } else {
      at += static_cast<int>(QString(c).toLocal8Bit().size());
    }
  }
  return static_cast<int>(text.size());
}

CNumbrixDlg::CNumbrixDlg(AppState& state, QWidget* parent) : NumbrixWindow(state, parent) {
  input_ = new CInputEdit(this);
  setControlId(input_, ids::Input);
  input_->setFixedHeight(90);
  input_->installEventFilter(this);
  message_ = new QLabel(this);
  setControlId(message_, ids::MessageLine);
  QPalette red = message_->palette();
  red.setColor(QPalette::WindowText, QColor(255, 0, 0));
  message_->setPalette(red);
  message_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  // The output frame with the splitter and the two lists.
  auto* output = new CGuiStaticStandar(tr("Output"), this);
  setControlId(output, ids::OutputFrame);
  splitter_ = new QSplitter(Qt::Vertical, output);
  results_ = new CResultListCtrl(splitter_);
  log_ = new CLogListCtrl(splitter_);
  splitter_->addWidget(results_);
  splitter_->addWidget(log_);
  splitter_->setChildrenCollapsible(false);  // the bar may not hide either list
  splitter_->setSizes({1, 1});               // the bar starts in the middle
  // A thin bar of plain button face, without the style's grip.
  splitter_->setHandleWidth(4);
  splitter_->setStyleSheet(QStringLiteral("QSplitter::handle { background-color: palette(button); }"));
  // The frame's own minimum size gives the lists their room, not what they would like.
  splitter_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
  output->attach(splitter_);
  output->setMinimumSize(600, 260);

  auto* top = new QHBoxLayout;
  top->addWidget(input_, 1);
  top->addWidget(windowMenu()->button(), 0, Qt::AlignTop);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(message_);
  layout->addWidget(buildKeypad());
  layout->addWidget(output, 1);
  layout->setSizeConstraint(QLayout::SetFixedSize);  // not resizable

  connect(input_, &CInputEdit::myConstantsRequested, this, [this] { openMyConstants(input_); });
  connect(results_, &CResultListCtrl::myConstantsRequested, this, [this] { openMyConstants(nullptr); });

  IExprParser* parser = IExprParser::instance();
  parser->setDisplayer(results_);
  parser->setLog(log_);
  parser->clearVariables();
  input_->setFocus();
}

CNumbrixDlg::~CNumbrixDlg() {
  // The lists die with the window: the evaluator must not tell them anything more.
  IExprParser* parser = IExprParser::instance();
  parser->setDisplayer(nullptr);
  parser->setLog(nullptr);
}

QWidget* CNumbrixDlg::buildKeypad() {
  QWidget* pad = keypadPad(keypad(), input_, QSize(48, 28));
  QGridLayout* grid = gridOf(pad);
  grid->setColumnMinimumWidth(6, 12);  // between the two blocks
  CGuiButton* ok = keypadButton(tr("OK"), ids::Ok, kOperatorColour, pad);
  connect(ok, &QPushButton::clicked, this, &CNumbrixDlg::evaluate);
  grid->addWidget(ok, 4, 7, 1, 3);
  ok->setDefault(true);
  CGuiButton* mini = keypadButton(QStringLiteral(">"), ids::SwitchToMini, kDigitColour, pad);
  connect(mini, &QPushButton::clicked, this, &QDialog::accept);
  grid->addWidget(mini, 4, 11);
  return pad;
}

void CNumbrixDlg::evaluate() {
  const QString text = input_->toPlainText();
  const std::optional<std::string> narrow = textToEvaluate(text);
  if (!narrow) {
    input_->setFocus();
    return;
  }
  try {
    IExprParser::instance()->parse(*narrow + "\n");
    input_->selectAll();
    input_->insertPlainText(QString());
    input_->ensureCursorVisible();
    message_->clear();
  } catch (const ExprParserException& e) {
    if (e.column() != -1 && e.endColumn() != -1) {
      QTextCursor cursor = input_->textCursor();
      cursor.setPosition(characterPosition(text, e.column()));
      cursor.setPosition(characterPosition(text, e.endColumn() + 1), QTextCursor::KeepAnchor);
      input_->setTextCursor(cursor);
    }
    message_->setText(QString::fromLocal8Bit(e.what()));
  } catch (...) {
    message_->setText(tr("Unknown exception !"));
  }
  input_->setFocus();
}

void CNumbrixDlg::openMyConstants(CInputEdit* target) {
  CMyConstantDlg constants(target, constantsFilePath(state_.directory).string(), this);
  constants.exec();
}

bool CNumbrixDlg::eventFilter(QObject* watched, QEvent* event) {
  if (watched == input_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && (key->modifiers() & Qt::ControlModifier)) {
      evaluate();
      return true;
    }
    if (key->key() == Qt::Key_Escape) return true;
  }
  return QDialog::eventFilter(watched, event);
}

void CNumbrixDlg::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && (event->modifiers() & Qt::ControlModifier)) {
    evaluate();
    return;
  }
  NumbrixWindow::keyPressEvent(event);
}
