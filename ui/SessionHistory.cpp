#include "ui/SessionHistory.h"

#include <QTimer>
#include <algorithm>

#include "expr/FormatValue.h"
#include "expr/IExprParser.h"
#include "ui/CLogListCtrl.h"
#include "ui/CResultListCtrl.h"
#include "ui/EvaluationRunner.h"
#include "ui/HistoryFile.h"
#include "ui/Prompts.h"

namespace {

constexpr int kSaveDelayMs = 300;

// The digits of a value's plain text: the precision it is read back with.
long digitsOf(const std::string& text) {
  const auto digits = std::count_if(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
  return std::max<long>(static_cast<long>(digits), IExprParser::instance()->settings().workingDigits());
}

}  // namespace

SessionHistory::SessionHistory(const AppState& state, CLogListCtrl* log, CResultListCtrl* results, QWidget* window)
    : QObject(window),
      state_(state),
      log_(log),
      results_(results),
      saveTimer_(new QTimer(this)),
      path_(historyFilePath()) {
  saveTimer_->setSingleShot(true);
  saveTimer_->setInterval(kSaveDelayMs);
  connect(saveTimer_, &QTimer::timeout, this, &SessionHistory::save);
  for (QAbstractItemModel* model : {log_->model(), results_->model()}) {
    connect(model, &QAbstractItemModel::rowsInserted, this, &SessionHistory::changed);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &SessionHistory::changed);
    connect(model, &QAbstractItemModel::dataChanged, this, &SessionHistory::changed);
    connect(model, &QAbstractItemModel::modelReset, this, &SessionHistory::changed);
  }
}

void SessionHistory::changed() {
  if (restoring_ || !state_.keepHistory) return;
  unsaved_ = true;
  saveTimer_->start();
}

QStringList SessionHistory::restore() {
  QStringList expressions;
  if (!state_.keepHistory || path_.empty()) return expressions;
  History history;
  const HistoryLoad loaded = readHistory(path_, history);
  if (loaded == HistoryLoad::Damaged) {
    const QString aside = QString::fromStdString(damagedHistoryPath(path_).string());
    QTimer::singleShot(0, parent(), [window = qobject_cast<QWidget*>(parent()), aside] {
      Prompts::current().warning(
          window, tr("History"),
          tr("The history file could not be read and was skipped. It is kept as:\n%1").arg(aside));
    });
  }
  restoring_ = true;
  for (const HistoryEntry& entry : history.entries) {
    log_->log(entry.expression, entry.answer);
    expressions << QString::fromStdString(entry.expression);
  }
  const EvaluatorAccess::Guard access = EvaluatorAccess::acquire();
  IExprParser* parser = IExprParser::instance();
  for (const auto& [name, value] : history.variables)
    if (access && parser->isValidName(name) && parser->isValidValue(value))
      parser->setVariable(name, bignum::bigfloat(value.c_str(), digitsOf(value)));
  restoring_ = false;
  return expressions;
}

bool SessionHistory::save() {
  if (!unsaved_ || !state_.keepHistory) return true;
  const EvaluatorAccess::Guard access = EvaluatorAccess::acquire();
  if (!access) {  // an evaluation runs: its end changes the lists again
    saveTimer_->start();
    return false;
  }
  History history;
  for (int row = log_->rowCount() - 1; row >= 0; --row)
    history.entries.push_back({log_->expressionText(row).toStdString(), log_->answerText(row).toStdString()});
  IExprParser* parser = IExprParser::instance();
  for (int row = 0; row < results_->rowCount(); ++row) {
    const std::string name = results_->item(row, 0)->text().toStdString();
    bignum::bigfloat value(0);
    if (parser->getVariable(name, value)) history.variables.emplace_back(name, plainText(value));
  }
  unsaved_ = !writeHistory(path_, history);
  return !unsaved_;
}

void SessionHistory::keepingChanged() {
  if (!state_.keepHistory) {
    saveTimer_->stop();
    unsaved_ = false;
    clearHistory(path_);
    return;
  }
  unsaved_ = true;
  save();
}
