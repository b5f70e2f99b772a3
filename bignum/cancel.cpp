#include "bignum/cancel.h"

namespace bignum {

namespace detail {

std::atomic<bool> cancelFlag{false};

void throwCancelled() { throw Cancelled(); }

}  // namespace detail

const char* Cancelled::what() const noexcept { return "computation cancelled"; }

void requestCancel() noexcept { detail::cancelFlag.store(true, std::memory_order_relaxed); }

void clearCancel() noexcept { detail::cancelFlag.store(false, std::memory_order_relaxed); }

bool cancelRequested() noexcept { return detail::cancelFlag.load(std::memory_order_relaxed); }

}  // namespace bignum
