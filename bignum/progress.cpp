#include "bignum/progress.h"

#include <algorithm>
#include <atomic>
#include <chrono>

namespace bignum {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::ptrdiff_t kPollBudget = std::ptrdiff_t{1} << 16;
constexpr auto kInterval = std::chrono::milliseconds(50);

std::atomic<ProgressListener> installed{nullptr};
static_assert(std::atomic<ProgressListener>::is_always_lock_free);

// The calling thread's: the stages running and the time of the last report.
detail::ProgressState state;
Clock::time_point lastReport;

}  // namespace

namespace detail {

std::ptrdiff_t pollBudget = kPollBudget;

void reportProgress() {
  pollBudget = kPollBudget;
  const ProgressListener listener = installed.load(std::memory_order_acquire);
  if (listener == nullptr || state.name == nullptr) return;
  const Clock::time_point now = Clock::now();
  if (now - lastReport < kInterval) return;
  lastReport = now;
  listener(state.name, state.fraction < 0 ? -1.0 : std::min(state.fraction, 1.0));
}

}  // namespace detail

void setProgressListener(ProgressListener listener) noexcept { installed.store(listener, std::memory_order_release); }

ProgressStage::ProgressStage(const char* name) noexcept : saved_(state) {
  saved_.nextScale = 0;  // a range handed down goes to one stage only
  if (state.name == nullptr) {
    state = detail::ProgressState{name, 0.0, 0.0, 1.0, 0.0, 0.0};
    // The first report comes once the stage has run for a while.
    if (installed.load(std::memory_order_relaxed) != nullptr) lastReport = Clock::now();
    return;
  }
  state.base = state.nextBase;
  state.scale = state.nextScale;
  state.nextScale = 0;
  reach(0);
}

ProgressStage::~ProgressStage() {
  const double reached = state.fraction;
  state = saved_;
  if (state.name != nullptr) state.fraction = std::max(state.fraction, reached);
}

void ProgressStage::reach(double fraction) noexcept {
  if (fraction < 0) {
    if (saved_.name == nullptr) state.fraction = -1;
  } else if (state.scale > 0) {
    state.fraction = std::max(state.fraction, state.base + state.scale * std::min(fraction, 1.0));
  }
}

void ProgressStage::advance(double fraction, std::size_t work) {
  reach(fraction);
  poll(work);
}

void ProgressStage::delegate(double from, double to) noexcept {
  reach(from);
  state.nextBase = state.base + state.scale * from;
  state.nextScale = state.scale * std::max(to - from, 0.0);
}

}  // namespace bignum
