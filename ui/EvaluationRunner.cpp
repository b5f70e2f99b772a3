#include "ui/EvaluationRunner.h"

#include <QMetaObject>
#include <QTimer>
#include <algorithm>
#include <limits>

#include "expr/FormatValue.h"
#include "expr/IExprParser.h"

namespace {

EvaluationRunner* currentRunner = nullptr;  // on the user-interface thread
std::atomic<double> progressFraction{-1};

void onProgress(const char*, double fraction) { progressFraction.store(fraction, std::memory_order_relaxed); }

}  // namespace

// The evaluator's listeners during a job, on the worker: values become texts
// there, and every call is posted to the user-interface thread in order.
class EvaluationRunner::Relay : public IExprParserDisplayer, public IExprParserLog {
 public:
  explicit Relay(EvaluationRunner* runner) : runner_(runner) {}
  void display(const std::string& name, bignum::bigfloat value) override {
    const QString text = QString::fromLocal8Bit(formatValue(value, 40));
    post([runner = runner_, name, text] {
      if (runner->values_ != nullptr) runner->values_->showValue(name, text);
    });
  }
  void remove(const std::string& name) override {
    post([runner = runner_, name] {
      if (runner->values_ != nullptr) runner->values_->removeValue(name);
    });
  }
  void clear() override {
    post([runner = runner_] {
      if (runner->values_ != nullptr) runner->values_->clearValues();
    });
  }
  void log(const std::string& expression, const std::string& answer) override {
    post([runner = runner_, expression, answer] {
      if (runner->log_ != nullptr) runner->log_->log(expression, answer);
    });
  }

 private:
  template <class F>
  void post(F call) {
    QMetaObject::invokeMethod(runner_, std::move(call), Qt::QueuedConnection);
  }
  EvaluationRunner* runner_;
};

EvaluationRunner::EvaluationRunner(QObject* parent) : QObject(parent), watch_(new QTimer(this)) {
  qRegisterMetaType<EvaluationOutcome>("EvaluationOutcome");
  currentRunner = this;
  IExprParser::setProgressListener(&onProgress);
  watch_->setInterval(20);
  connect(watch_, &QTimer::timeout, this, &EvaluationRunner::watch);
  worker_ = std::thread([this] { work(); });
}

EvaluationRunner::~EvaluationRunner() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
    queue_.clear();
    cancelUpTo_ = std::numeric_limits<int>::max();
  }
  wake_.notify_all();
  // The evaluator forgets a stop asked for just before an evaluation begins: ask until the worker has ended.
  for (;;) {
    {
      const std::lock_guard lock(mutex_);
      if (!running_) break;
    }
    IExprParser::cancel();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  worker_.join();
  IExprParser::setProgressListener(nullptr);
  IExprParser* parser = IExprParser::instance();
  parser->setDisplayer(nullptr);
  parser->setLog(nullptr);
  if (currentRunner == this) currentRunner = nullptr;
}

EvaluationRunner* EvaluationRunner::current() { return currentRunner; }

void EvaluationRunner::setListeners(IExprParserDisplayer* displayer, ValueTextListener* values, IExprParserLog* log) {
  const std::lock_guard evaluator(evaluator_);
  displayer_ = displayer;
  values_ = values;
  log_ = log;
  IExprParser* parser = IExprParser::instance();
  parser->setDisplayer(displayer);
  parser->setLog(log);
}

int EvaluationRunner::enqueue(Job job) {
  int id = 0;
  {
    const std::lock_guard lock(mutex_);
    id = job.id = nextId_++;
    queue_.push_back(std::move(job));
  }
  wake_.notify_one();
  watch_->start();
  watch();
  return id;
}

int EvaluationRunner::evaluate(const std::string& text) { return enqueue(Job{0, false, text, 0}); }

int EvaluationRunner::preview(const std::string& text, int limitMs) {
  cancelPreview();
  return enqueue(Job{0, true, text, limitMs});
}

void EvaluationRunner::cancelPreview() {
  const std::lock_guard lock(mutex_);
  std::erase_if(queue_, [](const Job& job) { return job.preview; });
  if (running_ && running_->preview) {
    cancelUpTo_ = std::max(cancelUpTo_, running_->id);
    IExprParser::cancel();
  }
}

void EvaluationRunner::cancelAll() {
  {
    const std::lock_guard lock(mutex_);
    queue_.clear();
    cancelUpTo_ = nextId_ - 1;
    if (running_) IExprParser::cancel();
  }
  watch();
}

bool EvaluationRunner::busyLocked() const {
  // An evaluation whose outcome is still on its way counts: the window has not had its answer.
  if ((running_ && !running_->preview) || undeliveredEvaluations_ > 0) return true;
  return std::any_of(queue_.begin(), queue_.end(), [](const Job& job) { return !job.preview; });
}

bool EvaluationRunner::busy() const {
  const std::lock_guard lock(mutex_);
  return busyLocked();
}

bool EvaluationRunner::idle() const {
  const std::lock_guard lock(mutex_);
  return !running_ && queue_.empty() && undelivered_ == 0;
}

QString EvaluationRunner::runningText() const {
  const std::lock_guard lock(mutex_);
  if (running_ && !running_->preview) return QString::fromLocal8Bit(running_->text);
  const auto next = std::find_if(queue_.begin(), queue_.end(), [](const Job& job) { return !job.preview; });
  return next != queue_.end() ? QString::fromLocal8Bit(next->text) : QString();
}

double EvaluationRunner::progress() { return progressFraction.load(std::memory_order_relaxed); }

void EvaluationRunner::watch() {
  bool busyNow = false, idle = false;
  {
    const std::lock_guard lock(mutex_);
    if (running_) {
      const bool overdue = running_->preview && std::chrono::steady_clock::now() - runningSince_ >
                                                    std::chrono::milliseconds(running_->limitMs);
      if (overdue) cancelUpTo_ = std::max(cancelUpTo_, running_->id);
      if (running_->id <= cancelUpTo_) IExprParser::cancel();
    }
    busyNow = busyLocked();
    idle = !running_ && queue_.empty();
  }
  if (idle) watch_->stop();
  if (busyNow != lastBusy_) {
    lastBusy_ = busyNow;
    emit busyChanged(busyNow);
  }
}

void EvaluationRunner::work() {
  for (;;) {
    Job job;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
      if (stopping_) return;
      job = std::move(queue_.front());
      queue_.pop_front();
      running_ = job;
      runningSince_ = std::chrono::steady_clock::now();
    }
    progressFraction.store(-1, std::memory_order_relaxed);
    {
      const std::lock_guard evaluator(evaluator_);
      runJob(job);
    }
    const std::lock_guard lock(mutex_);
    running_.reset();
  }
}

void EvaluationRunner::runJob(const Job& job) {
  IExprParser* parser = IExprParser::instance();
  if (job.preview) {
    try {
      const QString answer = QString::fromLocal8Bit(parser->preview(job.text + "\n"));
      ++undelivered_;
      QMetaObject::invokeMethod(
          this,
          [this, id = job.id, answer] {
            --undelivered_;
            emit previewed(id, answer);
          },
          Qt::QueuedConnection);
    } catch (...) {
      // A live answer that fails or is stopped shows nothing.
    }
    return;
  }
  Relay relay(this);
  parser->setDisplayer(&relay);
  parser->setLog(&relay);
  EvaluationOutcome outcome;
  try {
    parser->parse(job.text + "\n");
  } catch (const ExprParserException& e) {
    outcome.error = e;
  } catch (...) {
    outcome.unknownError = true;
  }
  parser->setDisplayer(displayer_);
  parser->setLog(log_);
  ++undelivered_;
  {
    const std::lock_guard lock(mutex_);
    ++undeliveredEvaluations_;
  }
  QMetaObject::invokeMethod(
      this,
      [this, id = job.id, outcome] {
        --undelivered_;
        {
          const std::lock_guard lock(mutex_);
          --undeliveredEvaluations_;
        }
        emit evaluated(id, outcome);
        watch();
      },
      Qt::QueuedConnection);
}

namespace {
int guardsHeld = 0;  // on the user-interface thread
}  // namespace

EvaluatorAccess::Guard::Guard(Guard&& other) noexcept : lock_(std::move(other.lock_)), held_(other.held_) {
  other.held_ = false;
}

EvaluatorAccess::Guard::~Guard() {
  if (held_) --guardsHeld;
}

EvaluatorAccess::Guard EvaluatorAccess::acquire() {
  Guard guard;
  EvaluationRunner* runner = EvaluationRunner::current();
  if (runner != nullptr && guardsHeld == 0) {
    {
      const std::lock_guard lock(runner->mutex_);
      if (runner->busyLocked()) return guard;
    }
    runner->cancelPreview();
    // A live answer stops within moments. The evaluator forgets a stop asked
    // for just before it began, so it is asked again until the worker lets go.
    guard.lock_ = std::unique_lock(runner->evaluator_, std::defer_lock);
    while (!guard.lock_.try_lock()) {
      {
        const std::lock_guard lock(runner->mutex_);
        if (runner->running_ && runner->running_->preview) IExprParser::cancel();
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
  guard.held_ = true;
  ++guardsHeld;
  return guard;
}

bool EvaluatorAccess::available() {
  EvaluationRunner* runner = EvaluationRunner::current();
  return runner == nullptr || !runner->busy();
}
