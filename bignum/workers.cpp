#include "bignum/workers.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "bignum/check.h"

namespace bignum {

namespace {

// Waits until `ready()` holds: first by polling for a short while, since the
// row sets of one transform follow each other closely, then asleep on `cv`.
template <class Ready>
void await(std::mutex& mutex, std::condition_variable& cv, Ready ready) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(200);
  while (!ready()) {
    if (std::chrono::steady_clock::now() > until) {
      std::unique_lock<std::mutex> lock(mutex);
      cv.wait(lock, ready);
      return;
    }
    std::this_thread::yield();
  }
}

class Pool {
 public:
  ~Pool() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
    }
    wake_.notify_all();
    for (auto& thread : threads_) thread.join();
  }

  void run(std::size_t threads, const std::function<void(std::size_t)>& job) {
    const std::size_t helpers = threads - 1;
    start(helpers);
    job_ = &job;
    active_ = helpers;
    // Every worker answers every round, busy or not, so that none can lag into the next one.
    pending_.store(threads_.size(), std::memory_order_relaxed);
    {
      // Under the lock, so that a worker about to sleep cannot miss it.
      std::lock_guard<std::mutex> lock(mutex_);
      generation_.fetch_add(1, std::memory_order_release);
    }
    wake_.notify_all();
    job(helpers);
    await(mutex_, done_, [&] { return pending_.load(std::memory_order_acquire) == 0; });
  }

 private:
  void start(std::size_t helpers) {
    for (std::size_t t = threads_.size(); t < helpers; ++t) {
      try {
        threads_.emplace_back([this, t] { work(t); });
      } catch (const std::system_error&) {
        assertionFailed("handles[t]", "transform");
      }
    }
  }

  void work(std::size_t index) {
    std::size_t seen = 0;
    for (;;) {
      await(mutex_, wake_, [&] { return stop_ || generation_.load(std::memory_order_acquire) != seen; });
      if (stop_) return;
      seen = generation_.load(std::memory_order_acquire);
      if (index < active_) (*job_)(index);
      if (pending_.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        { std::lock_guard<std::mutex> lock(mutex_); }
        done_.notify_one();
      }
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_, done_;
  std::vector<std::thread> threads_;
  // Written by the caller before the generation changes, read by the workers after.
  const std::function<void(std::size_t)>* job_ = nullptr;
  std::size_t active_ = 0;
  std::atomic<std::size_t> generation_{0}, pending_{0};
  std::atomic<bool> stop_{false};
};

}  // namespace

void runOnWorkers(std::size_t threads, const std::function<void(std::size_t)>& job) {
  if (threads <= 1) {
    job(0);
    return;
  }
  static Pool pool;
  pool.run(threads, job);
}

}  // namespace bignum
