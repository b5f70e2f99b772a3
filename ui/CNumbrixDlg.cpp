#include "ui/CNumbrixDlg.h"

#include <QContextMenuEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "expr/IExprParser.h"
#include "ui/AppIcon.h"
#include "ui/CAboutDlg.h"
#include "ui/CGuiButton.h"
#include "ui/CGuiSplitter.h"
#include "ui/CGuiStaticStandar.h"
#include "ui/CInputEdit.h"
#include "ui/CLogListCtrl.h"
#include "ui/CResultListCtrl.h"
#include "ui/ControlIds.h"
#include "ui/Keypad.h"
#include "ui/Prompts.h"

QString keypadText(int id, QChar before) {
  if ((id == 1012 || id == 1013) && (before == QLatin1Char('e') || before == QLatin1Char('E')))
    return id == 1012 ? QStringLiteral("+") : QStringLiteral("-");
  for (const KeyDefinition& key : keypad())
    if (key.id == id) return key.text;
  return QString();
}

int characterPosition(const QString& text, int column) {
  int at = 1;
  for (int i = 0; i < text.size(); ++i) {
    if (at >= column) return i;
    const QChar c = text[i];
    if (c == QLatin1Char('\t')) {
      at = ((at - 1) / 8 + 1) * 8 + 1;
    } else if (c.isHighSurrogate() && i + 1 < text.size()) {
      at += static_cast<int>(text.mid(i, 2).toLocal8Bit().size());
      ++i;
    } else {
      at += static_cast<int>(QString(c).toLocal8Bit().size());
    }
  }
  return static_cast<int>(text.size());
}

CNumbrixDlg::CNumbrixDlg(AppState& state, QWidget* parent) : QDialog(parent), state_(state) {
  setWindowTitle(tr("Numbrix"));
  setWindowIcon(numbrixIcon());
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);

  // The window menu: what the system menu holds on other desktops.
  windowMenu_ = new QMenu(this);
  QAction* topMost =
      addCommand(windowMenu_, tr("Always On &Top"), ids::AlwaysOnTop, this, &CNumbrixDlg::toggleAlwaysOnTop);
  topMost->setCheckable(true);
  topMost->setChecked(state_.alwaysOnTop);
  QAction* help = addCommand(windowMenu_, tr("&Help ..."), ids::Help, this, &CNumbrixDlg::openHelp);
  help->setShortcut(QKeySequence::HelpContents);
  addCommand(windowMenu_, tr("&About Numbrix..."), ids::About, this, &CNumbrixDlg::showAbout);
  addActions({help});
  auto* menuButton = new QToolButton(this);
  menuButton->setText(QStringLiteral("\u2261"));
  menuButton->setToolTip(tr("Window menu"));
  menuButton->setMenu(windowMenu_);
  menuButton->setPopupMode(QToolButton::InstantPopup);
  auto* quit = new QShortcut(QKeySequence::Quit, this);
  connect(quit, &QShortcut::activated, this, &QDialog::reject);

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
  splitter_ = new CGuiSplitter(output);
  results_ = new CResultListCtrl(splitter_);
  log_ = new CLogListCtrl(splitter_);
  splitter_->setOrientation(1);
  splitter_->setPane1(results_);
  splitter_->setPane2(log_);
  output->attach(splitter_);
  output->setMinimumSize(600, 260);

  auto* top = new QHBoxLayout;
  top->addWidget(input_, 1);
  top->addWidget(menuButton, 0, Qt::AlignTop);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(message_);
  layout->addWidget(buildKeypad());
  layout->addWidget(output, 1);
  layout->setSizeConstraint(QLayout::SetFixedSize);  // not resizable

  applyTopMost();
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
  auto* pad = new QWidget(this);
  auto* grid = new QGridLayout(pad);
  grid->setSpacing(3);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setColumnMinimumWidth(6, 12);  // between the two blocks
  const auto place = [&](CGuiButton* button, int row, int column, int span) {
    button->setButtonStyle(3);
    button->setMinimumSize(48, 28);
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::NoFocus);
    grid->addWidget(button, row, column, 1, span);
  };
  for (const KeyDefinition& key : keypad()) {
    auto* button = new CGuiButton(key.caption, pad);
    setControlId(button, key.id);
    button->setCaptionColor(key.colour);
    const int id = key.id;
    connect(button, &QPushButton::clicked, this, [this, id] { insertKeypadText(id); });
    place(button, key.row, key.column, 1);
  }
  auto* ok = new CGuiButton(tr("OK"), pad);
  setControlId(ok, ids::Ok);
  ok->setCaptionColor(kOperatorColour);
  connect(ok, &QPushButton::clicked, this, &CNumbrixDlg::evaluate);
  place(ok, 4, 7, 3);
  ok->setDefault(true);
  auto* mini = new CGuiButton(QStringLiteral(">"), pad);
  setControlId(mini, ids::SwitchToMini);
  mini->setCaptionColor(kDigitColour);
  connect(mini, &QPushButton::clicked, this, &QDialog::accept);
  place(mini, 4, 11, 1);
  return pad;
}

void CNumbrixDlg::insertKeypadText(int id) {
  const QTextCursor cursor = input_->textCursor();
  const int start = cursor.selectionStart();
  const QString text = input_->toPlainText();
  const QChar before = start > 0 && start <= text.size() ? text[start - 1] : QChar();
  const QString inserted = keypadText(id, before);
  if (!inserted.isEmpty()) input_->insertPlainText(inserted);
  input_->setFocus();
}

void CNumbrixDlg::evaluate() {
  const QString text = input_->toPlainText();
  const std::string narrow = text.toLocal8Bit().toStdString();
  if (narrow.find_first_not_of(" \t\r\n") == std::string::npos) {
    input_->setFocus();
    return;
  }
  try {
    IExprParser::instance()->parse(narrow + "\n");
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

void CNumbrixDlg::applyTopMost() {
  const bool visible = isVisible();
  setWindowFlag(Qt::WindowStaysOnTopHint, state_.alwaysOnTop);
  if (visible) show();  // changing the flags hides the window
}

void CNumbrixDlg::toggleAlwaysOnTop() {
  state_.alwaysOnTop = !state_.alwaysOnTop;
  applyTopMost();
  findCommand(this, ids::AlwaysOnTop)->setChecked(state_.alwaysOnTop);
}

void CNumbrixDlg::openHelp() {
  // The help file of the program's folder, else the manual that comes with the program.
  const QString chm = QString::fromStdString((state_.directory / "Manual.chm").string());
  QString target = chm;
  if (!QFileInfo::exists(chm)) {
    const QString beside = QString::fromStdString((state_.programFolder / "numbrix-manual.html").string());
    const QString shared =
        QString::fromStdString((state_.programFolder / ".." / "share" / "numbrix" / "numbrix-manual.html").string());
    target = QFileInfo::exists(beside) ? beside : shared;
  }
  Prompts::current().openUrl(QUrl::fromLocalFile(target));  // a failure is not reported
}

void CNumbrixDlg::showAbout() {
  CAboutDlg about(this);
  about.exec();
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
  if (event->key() == Qt::Key_Escape) return;  // the window does not close on Esc
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && (event->modifiers() & Qt::ControlModifier)) {
    evaluate();
    return;
  }
  QDialog::keyPressEvent(event);
}

void CNumbrixDlg::contextMenuEvent(QContextMenuEvent* event) { windowMenu_->exec(event->globalPos()); }
