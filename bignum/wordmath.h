// Arithmetic on single base-10^9 words shared by the products (internal to
// the library).
#pragma once

#include <cstdint>

#include "bignum/init.h"

namespace bignum::words {

__extension__ typedef unsigned __int128 u128;

// v / 10^9 and v % 10^9 for v below 2^96, by two divisions of 64-bit words by a constant.
inline std::uint64_t divideByBase(u128 v, std::uint32_t& remainder) {
  const auto high = static_cast<std::uint64_t>(v >> 32);
  const std::uint64_t q1 = high / Base;
  const std::uint64_t low = ((high - q1 * Base) << 32) | static_cast<std::uint32_t>(v);
  const std::uint64_t q0 = low / Base;
  remainder = static_cast<std::uint32_t>(low - q0 * Base);
  return (q1 << 32) + q0;
}
inline std::uint64_t divideByBase(std::uint64_t v, std::uint32_t& remainder) {
  remainder = static_cast<std::uint32_t>(v % Base);
  return v / Base;
}

}  // namespace bignum::words
