// Progress of long computations, for a caller that shows it. The library
// marks its long computations as stages ("pi", "factorial", "product",
// "division", "square root", "logarithm", "exponential", ...) and, at the same
// points where it polls for a stop (cancel.h), now and then hands the
// outermost stage's name and fraction done to the listener the caller
// installed: at most every 50 ms, and only once a stage has run that long.
// Where the library does not know how far it is the fraction is -1.
//
// Stages nest: a division inside the exponential reports as "exponential". A
// stage may hand a part of its own range to the next stage nested in it (a
// logarithm gives the larger part of its range to its mean), so the fraction
// the listener sees grows steadily within one outermost stage.
//
// The stage bookkeeping belongs to the library's calling thread, as the
// numbers do; only the listener may be set from any thread.
#pragma once

#include <cstddef>

#include "bignum/cancel.h"

namespace bignum {

// Called with a stage name (a static text of the library, not meant for
// users) and a fraction in [0, 1], or -1 when unknown. It runs on the thread
// that computes, inside the computation: it must return quickly and not throw,
// and may call nothing of the library but requestCancel().
using ProgressListener = void (*)(const char* stage, double fraction);

// Installs `listener`; null removes it. Lock-free, from any thread; a call in
// progress may still report once to the listener before.
void setProgressListener(ProgressListener listener) noexcept;

namespace detail {

struct ProgressState {
  const char* name = nullptr;          // of the outermost stage; null while none runs
  double fraction = -1;                // the outermost stage's fraction done, or -1
  double base = 0, scale = 0;          // the running stage's fraction f counts as base + scale f
  double nextBase = 0, nextScale = 0;  // the same for the next stage nested in it
};

// Work, in words, until the next look at the clock; below zero it is time.
extern std::ptrdiff_t pollBudget;
void reportProgress();

}  // namespace detail

// Polls in a long loop, on the calling thread: throws Cancelled when a stop
// was asked for and, once about 64 Ki words of `work` (words handled, or
// terms or factors) have added up since the last look, looks at the clock and
// reports to the listener when it is time.
inline void poll(std::size_t work = 1) {
  checkCancel();
  detail::pollBudget -= static_cast<std::ptrdiff_t>(work);
  if (detail::pollBudget < 0) [[unlikely]]
    detail::reportProgress();
}

// A long computation, from construction to destruction (by return or by an
// exception). `name` must be a static text.
class ProgressStage {
 public:
  explicit ProgressStage(const char* name) noexcept;
  ~ProgressStage();
  ProgressStage(const ProgressStage&) = delete;
  ProgressStage& operator=(const ProgressStage&) = delete;

  // This stage is `fraction` done (0 to 1; -1: unknown, which only an
  // outermost stage can say), and polls with `work` as poll() does. A nested
  // stage's fraction counts only within the range its parent handed it.
  void advance(double fraction, std::size_t work = 1);
  // This stage is `from` done, and the next stage started inside it (the
  // first only) covers its range from `from` to `to`.
  void delegate(double from, double to) noexcept;

 private:
  void reach(double fraction) noexcept;
  detail::ProgressState saved_;
};

}  // namespace bignum
