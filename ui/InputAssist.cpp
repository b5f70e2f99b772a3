#include "ui/InputAssist.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStringListModel>
#include <QTextBlock>

#include "expr/Completion.h"
#include "ui/CInputEdit.h"

namespace {

constexpr qsizetype kKeptInputs = 1000;
constexpr int kLettersBeforeOffer = 2;

}  // namespace

InputAssist::InputAssist(CInputEdit* input, std::function<std::vector<std::string>()> names)
    : QObject(input),
      input_(input),
      names_(std::move(names)),
      completer_(new QCompleter(this)),
      model_(new QStringListModel(this)) {
  completer_->setModel(model_);
  completer_->setWidget(input_);
  input_->setCompleter(completer_);
  completer_->setCompletionMode(QCompleter::PopupCompletion);
  completer_->setCaseSensitivity(Qt::CaseSensitive);  // the language's names are
  completer_->setMaxVisibleItems(10);
  connect(completer_, qOverload<const QString&>(&QCompleter::activated), this, &InputAssist::insertCompletion);
  connect(input_, &QPlainTextEdit::textChanged, this, &InputAssist::textEdited);
  input_->installEventFilter(this);
}

void InputAssist::remember(const QString& text) {
  if (inputs_.isEmpty() || inputs_.back() != text) inputs_.append(text);
  if (inputs_.size() > kKeptInputs) inputs_.remove(0, inputs_.size() - kKeptInputs);
  recallAt_ = inputs_.size();
  draft_.clear();
}

bool InputAssist::popupVisible() const { return completer_->popup()->isVisible(); }

void InputAssist::textEdited() {
  if (recalling_) return;
  recallAt_ = inputs_.size();  // typing leaves the recalled inputs
  const QTextCursor cursor = input_->textCursor();
  const QString block = cursor.block().text();
  const std::string before = block.left(cursor.positionInBlock()).toStdString();
  const std::size_t start = nameStart(before, before.size());
  const QString prefix = QString::fromStdString(before.substr(start));
  if (prefix.size() < kLettersBeforeOffer || cursor.hasSelection()) {
    completer_->popup()->hide();
    return;
  }
  // The names are read again each time: variables come and go with every evaluation.
  std::vector<std::string> extra = names_ ? names_() : std::vector<std::string>{};
  QStringList shown;
  insertions_.clear();
  for (const CompletionName& name : completionNames(extra, prefix.toStdString())) {
    const QString text = QString::fromStdString(name.shown);
    shown << text;
    insertions_[text] = QString::fromStdString(name.insertion());
  }
  // The only offer is what is typed already: nothing to complete.
  if (shown.isEmpty() || (shown.size() == 1 && insertions_[shown.front()] == prefix)) {
    completer_->popup()->hide();
    return;
  }
  model_->setStringList(shown);
  completer_->setCompletionPrefix(QString());  // the model holds the matches already
  QRect at = input_->cursorRect();
  at.setWidth(completer_->popup()->sizeHintForColumn(0) + completer_->popup()->verticalScrollBar()->sizeHint().width());
  completer_->complete(at);
  completer_->popup()->setCurrentIndex(completer_->completionModel()->index(0, 0));
}

void InputAssist::insertCompletion(const QString& shown) {
  const auto found = insertions_.find(shown);
  if (found == insertions_.end()) return;
  QTextCursor cursor = input_->textCursor();
  const std::string before = cursor.block().text().left(cursor.positionInBlock()).toStdString();
  const auto typed = static_cast<int>(before.size() - nameStart(before, before.size()));
  cursor.movePosition(QTextCursor::Left, QTextCursor::KeepAnchor, typed);
  cursor.insertText(found->second);  // a function's "(" leaves the cursor inside its brackets
  input_->setTextCursor(cursor);
  completer_->popup()->hide();
}

void InputAssist::recall(int step) {
  if (inputs_.isEmpty()) return;
  const qsizetype to = recallAt_ + step;
  if (to < 0 || to > inputs_.size()) return;
  if (recallAt_ == inputs_.size()) draft_ = input_->toPlainText();
  recallAt_ = to;
  recalling_ = true;
  input_->setPlainText(to == inputs_.size() ? draft_ : inputs_[to]);
  input_->moveCursor(QTextCursor::End);
  recalling_ = false;
  completer_->popup()->hide();
}

bool InputAssist::eventFilter(QObject* watched, QEvent* event) {
  if (watched == input_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() == Qt::ControlModifier && (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
      recall(key->key() == Qt::Key_Up ? -1 : 1);
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}
