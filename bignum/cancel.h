// Stopping a long computation from outside. Any thread, or a signal handler,
// asks for it with requestCancel(); the library polls the flag in its long
// loops (the transforms, the binary splittings, the Newton and mean
// iterations) on the thread that called it and throws Cancelled there. Like
// ResourceError, the exception leaves every number, the workspace and the
// caches of pi and log(10) as usable as before, and no file of a mantissa
// behind. The flag stays set until clearCancel(): a caller clears it before
// it starts the next computation.
#pragma once

#include <atomic>
#include <exception>

namespace bignum {

// What a computation throws when it was asked to stop.
class Cancelled : public std::exception {
 public:
  const char* what() const noexcept override;
};

namespace detail {
extern std::atomic<bool> cancelFlag;
static_assert(std::atomic<bool>::is_always_lock_free, "the flag is set from signal handlers");
[[noreturn]] void throwCancelled();
}  // namespace detail

// Asks the computation running now, and every later one, to stop. Async-signal
// safe (a lock-free atomic store) and callable from any thread.
void requestCancel() noexcept;
// Lets computations run again. Async-signal safe; from any thread.
void clearCancel() noexcept;
// Whether a stop has been asked for and not cleared.
bool cancelRequested() noexcept;

// Throws Cancelled when a stop has been asked for; otherwise costs one relaxed
// load and a branch. For the library's own loops, on the calling thread only:
// never in a job on a worker thread, which must not throw.
inline void checkCancel() {
  if (detail::cancelFlag.load(std::memory_order_relaxed)) [[unlikely]]
    detail::throwCancelled();
}

}  // namespace bignum
