// Evaluation off the user-interface thread. A window hands the runner one
// input at a time; a worker thread evaluates them in the order given, and
// what the evaluator tells its listeners reaches the window's listeners on the
// user-interface thread, followed by the input's outcome. Answers and errors
// therefore arrive in the order of the inputs.
//
// The evaluator stays single-threaded: the worker holds it for each job. The
// user-interface thread uses it only through EvaluatorAccess (below), which
// waits for a live answer to stop and refuses while an evaluation is queued or
// running. Values are turned into text on the worker, so the number library
// is never used by two threads at once.
#pragma once

#include <QObject>
#include <QString>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "expr/ExprParserException.h"

class IExprParserDisplayer;
class QTimer;
class IExprParserLog;

// How an evaluation ended: no error, or the evaluator's error.
struct EvaluationOutcome {
  std::optional<ExprParserException> error;
  bool unknownError = false;  // something other than ExprParserException was thrown
  bool ok() const { return !error && !unknownError; }
};

// What the window's displayer hears: a value's answer text (with the 40
// decimals the windows show), made on the worker.
class ValueTextListener {
 public:
  virtual ~ValueTextListener() = default;
  virtual void showValue(const std::string& name, const QString& text) = 0;
  virtual void removeValue(const std::string& name) = 0;
  virtual void clearValues() = 0;
};

class EvaluationRunner : public QObject {
  Q_OBJECT

 public:
  // Starts the worker. At most one runner exists at a time (the window's).
  explicit EvaluationRunner(QObject* parent = nullptr);
  // Stops what runs (through the evaluator's cancellation), drops what waits
  // and joins the worker before returning.
  ~EvaluationRunner() override;

  // The window's listeners (any may be null), called on the user-interface
  // thread; they must outlive the runner or be replaced first. `displayer`
  // and `log` are also the evaluator's own listeners for the calls the
  // user-interface thread makes (clearing, importing); during an evaluation
  // the values reach `values` as texts and the log entries `log`.
  void setListeners(IExprParserDisplayer* displayer, ValueTextListener* values, IExprParserLog* log);

  // Queues `text` (without its final line break) for evaluation; returns its
  // number, which evaluated() reports with the outcome.
  int evaluate(const std::string& text);
  // Queues a live answer of `text`: evaluated without assigning anything or
  // telling the listeners. Replaces a live answer still waiting; one running
  // is stopped. previewed() reports the answer only when it succeeded; one
  // that runs longer than `limitMs` is stopped and reports nothing.
  int preview(const std::string& text, int limitMs = 100);
  // Drops waiting live answers and stops a running one.
  void cancelPreview();
  // Drops everything waiting and stops what runs; the stopped evaluation
  // reports the evaluator's Cancelled error, the dropped ones report nothing.
  void cancelAll();

  // An evaluation waits or runs.
  bool busy() const;
  // Nothing waits or runs, and every outcome has been delivered.
  bool idle() const;
  // The text of the evaluation that runs now, or of the next one when it is
  // about to start (empty when none waits or runs).
  QString runningText() const;
  // The progress of the running evaluation: 0 to 1, or -1 when unknown.
  static double progress();

  // The current runner, or null.
  static EvaluationRunner* current();

 signals:
  // An evaluation ended; its listeners' calls have all been delivered before.
  void evaluated(int id, const EvaluationOutcome& outcome);
  // A live answer succeeded.
  void previewed(int id, const QString& answer);
  // busy() changed.
  void busyChanged(bool busy);

 private:
  friend class EvaluatorAccess;
  struct Job {
    int id;
    bool preview;
    std::string text;
    int limitMs;
  };
  class Relay;

  void work();
  void runJob(const Job& job);
  int enqueue(Job job);
  // A tick of watch_: repeats the stop of a job that is to stop (a stop asked
  // for just before its evaluation began is forgotten by the evaluator) and
  // tells busy changes.
  void watch();
  bool busyLocked() const;

  IExprParserDisplayer* displayer_ = nullptr;
  ValueTextListener* values_ = nullptr;
  IExprParserLog* log_ = nullptr;
  QTimer* watch_;  // stops overdue live answers and cancelled jobs, tells busy changes

  mutable std::mutex mutex_;  // guards the queue and the fields below it
  std::condition_variable wake_;
  std::deque<Job> queue_;
  std::optional<Job> running_;
  std::chrono::steady_clock::time_point runningSince_;
  int nextId_ = 1;
  int cancelUpTo_ = 0;  // jobs up to this number are to stop
  bool stopping_ = false;
  bool lastBusy_ = false;  // on the user-interface thread

  std::atomic<int> undelivered_{0};  // outcomes posted and not yet delivered
  int undeliveredEvaluations_ = 0;   // of them, evaluations' (guarded by mutex_)
  std::mutex evaluator_;             // held by whoever uses the evaluator
  std::thread worker_;
};

// The evaluator for the user-interface thread. acquire() waits for a running
// live answer to stop and then holds the evaluator until the guard dies; it
// gives an empty guard (false) while an evaluation waits or runs, when the
// caller must leave the evaluator alone. Guards nest: one asked for while
// another lives on the same thread (a dialog opened under a guard) succeeds
// at once. Without a runner it always succeeds.
class EvaluatorAccess {
 public:
  class Guard {
   public:
    Guard() = default;
    Guard(Guard&& other) noexcept;
    Guard& operator=(Guard&&) = delete;
    ~Guard();
    explicit operator bool() const { return held_; }

   private:
    friend class EvaluatorAccess;
    std::unique_lock<std::mutex> lock_;
    bool held_ = false;
  };
  static Guard acquire();
  // Whether acquire() would succeed now (for greying commands).
  static bool available();
};
