#include "ui/CNumbrixDlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <memory>

#include "config/AppDirectory.h"
#include "expr/IExprParser.h"
#include "ui/CGuiButton.h"
#include "ui/CGuiStaticStandar.h"
#include "ui/CInputEdit.h"
#include "ui/CLogListCtrl.h"
#include "ui/CMyConstantDlg.h"
#include "ui/CResultListCtrl.h"
#include "ui/ControlIds.h"
#include "ui/EvaluationRunner.h"
#include "ui/EvaluatorMessages.h"
#include "ui/InputAssist.h"
#include "ui/Keypad.h"
#include "ui/SessionHistory.h"
#include "ui/ThemeColours.h"
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

// The results list as the worker's listener of value texts.
class ResultValueTexts final : public ValueTextListener {
 public:
  explicit ResultValueTexts(CResultListCtrl* list) : list_(list) {}
  void showValue(const std::string& name, const QString& text) override { list_->showValue(name, text); }
  void removeValue(const std::string& name) override { list_->remove(name); }
  void clearValues() override { list_->clear(); }

 private:
  CResultListCtrl* list_;
};

namespace {

// How long after the last key the live answer is asked for, and how long it may take.
constexpr int kLiveDelayMs = 40;
constexpr int kLiveLimitMs = 100;
// The longest live answer shown; the rest is cut with an ellipsis.
constexpr qsizetype kLiveShownChars = 300;

QByteArray fromBase64(const std::string& text) { return QByteArray::fromBase64(QByteArray::fromStdString(text)); }

}  // namespace

CNumbrixDlg::CNumbrixDlg(AppState& state, QWidget* parent) : NumbrixWindow(state, parent) {
  setWindowFlag(Qt::WindowMaximizeButtonHint, true);
  input_ = new CInputEdit(this);
  setControlId(input_, ids::Input);
  input_->setFixedHeight(90);
  input_->installEventFilter(this);

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
  // A thin bar in a colour that stands out in light and dark themes, without the style's grip (changeEvent).
  splitter_->setHandleWidth(4);
  applyThemeColours();
  // The frame's own minimum size gives the lists their room, not what they would like.
  splitter_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
  output->attach(splitter_);
  output->setMinimumSize(600, 260);

  auto* top = new QHBoxLayout;
  top->addWidget(input_, 1);
  top->addWidget(windowMenu()->button(), 0, Qt::AlignTop);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(buildMessageLine());
  layout->addWidget(buildKeypad());
  layout->addWidget(output, 1);  // the lists take the room a larger window gives

  connect(input_, &CInputEdit::myConstantsRequested, this, [this] { openMyConstants(input_); });
  connect(results_, &CResultListCtrl::myConstantsRequested, this, [this] { openMyConstants(nullptr); });

  // Completion offers the variables of the results list and the user constants.
  assist_ = new InputAssist(input_, [this] {
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(results_->rowCount()) + IExprParser::instance()->constants().size());
    for (int row = 0; row < results_->rowCount(); ++row) names.push_back(results_->item(row, 0)->text().toStdString());
    for (const auto& entry : IExprParser::instance()->constants()) names.push_back(entry.first);
    return names;
  });
  liveTimer_ = new QTimer(this);
  liveTimer_->setSingleShot(true);
  liveTimer_->setInterval(kLiveDelayMs);
  connect(liveTimer_, &QTimer::timeout, this, &CNumbrixDlg::askLiveAnswer);
  connect(input_, &QPlainTextEdit::textChanged, this, &CNumbrixDlg::inputChanged);
  progressTimer_ = new QTimer(this);
  progressTimer_->setInterval(100);
  connect(progressTimer_, &QTimer::timeout, this, &CNumbrixDlg::showProgress);

  resultTexts_ = std::make_unique<ResultValueTexts>(results_);
  runner_->setListeners(results_, resultTexts_.get(), log_);
  connect(runner_, &EvaluationRunner::evaluated, this, &CNumbrixDlg::finished);
  connect(runner_, &EvaluationRunner::previewed, this, &CNumbrixDlg::liveAnswered);
  connect(runner_, &EvaluationRunner::busyChanged, this, &CNumbrixDlg::busyChanged);
  IExprParser::instance()->clearVariables();

  history_ = new SessionHistory(state_, log_, results_, this);
  for (const QString& expression : history_->restore()) assist_->remember(expression);

  if (!state_.mainGeometry.empty()) restoreGeometry(fromBase64(state_.mainGeometry));
  if (!state_.splitterState.empty()) splitter_->restoreState(fromBase64(state_.splitterState));
  input_->setFocus();
}

CNumbrixDlg::~CNumbrixDlg() {
  // Work still running stops now; the lists die with the window, so the
  // evaluator must not tell them anything more.
  delete runner_;
  runner_ = nullptr;
  history_->save();
  IExprParser* parser = IExprParser::instance();
  parser->setDisplayer(nullptr);
  parser->setLog(nullptr);
}

QWidget* CNumbrixDlg::buildMessageLine() {
  auto* line = new QWidget(this);
  message_ = new QLabel(line);
  setControlId(message_, ids::MessageLine);
  message_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  message_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);  // a long text does not widen the window
  progress_ = new QProgressBar(line);
  progress_->setMaximumWidth(160);
  progress_->setTextVisible(false);
  progress_->hide();
  cancel_ = new QPushButton(tr("Cancel"), line);
  cancel_->setAutoDefault(false);
  cancel_->setFocusPolicy(Qt::NoFocus);
  cancel_->setToolTip(tr("Stop the computation (Esc)"));
  cancel_->hide();
  connect(cancel_, &QPushButton::clicked, this, &CNumbrixDlg::cancelEvaluation);
  auto* row = new QHBoxLayout(line);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(message_, 1);
  row->addWidget(progress_);
  row->addWidget(cancel_);
  line->setMinimumHeight(cancel_->sizeHint().height());
  return line;
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
  pad->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  auto* centred = new QHBoxLayout;
  centred->addWidget(pad);
  auto* holder = new QWidget(this);
  holder->setLayout(centred);
  centred->setContentsMargins(0, 0, 0, 0);
  centred->addStretch(1);
  return holder;
}

void CNumbrixDlg::evaluate() {
  const QString text = input_->toPlainText();
  const std::optional<std::string> narrow = textToEvaluate(text);
  if (!narrow) {
    input_->setFocus();
    return;
  }
  liveTimer_->stop();
  runner_->cancelPreview();
  liveId_ = 0;
  waiting_.insert(runner_->evaluate(*narrow), text);
  assist_->remember(text);
  input_->setFocus();
}

void CNumbrixDlg::cancelEvaluation() {
  runner_->cancelAll();
  input_->setFocus();
}

void CNumbrixDlg::finished(int id, const EvaluationOutcome& outcome) {
  const QString text = waiting_.take(id);
  // An input the user changed meanwhile belongs to the user.
  const bool unchanged = input_->toPlainText() == text;
  if (outcome.ok()) {
    if (unchanged) {
      input_->selectAll();
      input_->insertPlainText(QString());
      input_->ensureCursorVisible();
    }
    showMessage(Message::None, QString());
  } else if (outcome.error) {
    const ExprParserException& e = *outcome.error;
    if (unchanged && e.column() != -1 && e.endColumn() != -1) {
      QTextCursor cursor = input_->textCursor();
      cursor.setPosition(characterPosition(text, e.column()));
      cursor.setPosition(characterPosition(text, e.endColumn() + 1), QTextCursor::KeepAnchor);
      input_->setTextCursor(cursor);
    }
    showMessage(Message::Error, localisedEvaluatorMessage(QString::fromLocal8Bit(e.what())));
  } else {
    showMessage(Message::Error, tr("Unknown exception !"));
  }
  if (runner_->busy()) showProgress();
}

void CNumbrixDlg::busyChanged(bool busy) {
  progress_->setVisible(busy);
  cancel_->setVisible(busy);
  if (busy) {
    progressTimer_->start();
    showProgress();
  } else {
    progressTimer_->stop();
    waiting_.clear();  // dropped by a cancel: no answer comes for them
    if (shown_ == Message::Working) showMessage(Message::None, QString());
  }
}

void CNumbrixDlg::showProgress() {
  const QString running = runner_->runningText().simplified();
  if (running.isEmpty()) return;
  const QString shown = message_->fontMetrics().elidedText(running.left(500), Qt::ElideRight, 360);
  if (shown_ != Message::Error) showMessage(Message::Working, tr("Computing %1 …").arg(shown));
  const double fraction = EvaluationRunner::progress();
  if (fraction < 0) {
    progress_->setRange(0, 0);  // busy, without a measure
  } else {
    progress_->setRange(0, 1000);
    progress_->setValue(static_cast<int>(fraction * 1000));
  }
}

void CNumbrixDlg::showMessage(Message kind, const QString& text) {
  shown_ = kind;
  if (kind != Message::Live) live_.clear();
  QPalette colours = palette();
  if (kind == Message::Error) colours.setColor(QPalette::WindowText, messageColour(palette()));
  if (kind == Message::Live) colours.setColor(QPalette::WindowText, colours.color(QPalette::PlaceholderText));
  message_->setPalette(colours);
  message_->setText(text);
}

void CNumbrixDlg::inputChanged() {
  runner_->cancelPreview();
  liveId_ = 0;
  if (shown_ == Message::Live) showMessage(Message::None, QString());
  liveTimer_->start();
}

void CNumbrixDlg::askLiveAnswer() {
  if (runner_->busy() || assist_->popupVisible()) return;
  const QString text = input_->toPlainText().trimmed();
  // One statement: a single line that is not just a number or a name being typed.
  if (text.isEmpty() || text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'))) return;
  if (const std::optional<std::string> narrow = textToEvaluate(text)) liveId_ = runner_->preview(*narrow, kLiveLimitMs);
}

void CNumbrixDlg::liveAnswered(int id, const QString& answer) {
  if (id != liveId_ || runner_->busy()) return;
  const QString shown = answer.size() > kLiveShownChars ? answer.left(kLiveShownChars) + QStringLiteral("…") : answer;
  showMessage(Message::Live, QStringLiteral("= ") + shown);
  live_ = answer;
}

void CNumbrixDlg::rememberLayout() {
  state_.mainGeometry = saveGeometry().toBase64().toStdString();
  state_.splitterState = splitter_->saveState().toBase64().toStdString();
}

void CNumbrixDlg::done(int result) {
  rememberLayout();
  NumbrixWindow::done(result);
}

void CNumbrixDlg::openSettings() {
  const bool kept = state_.keepHistory;
  NumbrixWindow::openSettings();
  if (kept != state_.keepHistory) history_->keepingChanged();
}

void CNumbrixDlg::openMyConstants(CInputEdit* target) {
  const EvaluatorAccess::Guard access = EvaluatorAccess::acquire();
  if (!access) {
    showMessage(Message::Error, tr("My Constants opens once the computation has ended (Esc stops it)."));
    return;
  }
  CMyConstantDlg constants(target, constantsFilePath(state_.directory).string(), this);
  constants.exec();
}

void CNumbrixDlg::applyThemeColours() {
  splitter_->setStyleSheet(
      QStringLiteral("QSplitter::handle { background-color: %1; }").arg(splitterBarColour(palette()).name()));
  if (shown_ == Message::Error || shown_ == Message::Live) showMessage(shown_, message_->text());
}

void CNumbrixDlg::changeEvent(QEvent* event) {
  if (event->type() == QEvent::PaletteChange) applyThemeColours();
  NumbrixWindow::changeEvent(event);
}

bool CNumbrixDlg::eventFilter(QObject* watched, QEvent* event) {
  if (watched == input_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (enter && assist_->popupVisible()) return false;  // the popup takes its choice
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    // Ctrl+Enter evaluates; with the setting plain Enter does, and Shift+Enter starts a new line.
    if (enter && ((modifiers & Qt::ControlModifier) || (state_.enterEvaluates && modifiers == Qt::NoModifier))) {
      evaluate();
      return true;
    }
    if (enter && state_.enterEvaluates && modifiers == Qt::ShiftModifier) {
      input_->insertPlainText(QStringLiteral("\n"));
      return true;
    }
    if (key->key() == Qt::Key_Escape) {
      if (runner_->busy()) cancelEvaluation();
      return true;
    }
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
