// Arithmetic on short unsigned numbers held as little-endian arrays of 32-bit
// words, as the recombination of the convolution needs it. Inline, so that
// fixed lengths and divisors are folded in by the compiler.
#pragma once

#include <cstddef>
#include <cstdint>

namespace bignum {

// a += b over n words; the carry then runs on into `carryWords` further words
// of a. Returns the carry out of the last word touched.
inline std::uint32_t addWords(std::uint32_t* a, const std::uint32_t* b, std::size_t n, std::size_t carryWords = 0) {
  std::uint64_t carry = 0;
  for (std::size_t i = 0; i < n; ++i) {
    carry += std::uint64_t{a[i]} + b[i];
    a[i] = static_cast<std::uint32_t>(carry);
    carry >>= 32;
  }
  for (std::size_t i = n; i < n + carryWords && carry != 0; ++i) {
    carry += a[i];
    a[i] = static_cast<std::uint32_t>(carry);
    carry >>= 32;
  }
  return static_cast<std::uint32_t>(carry);
}

// a -= b over n words. Returns the borrow (1 when b was larger).
inline std::uint32_t subtractWords(std::uint32_t* a, const std::uint32_t* b, std::size_t n) {
  std::uint32_t borrow = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint64_t d = std::uint64_t{a[i]} - b[i] - borrow;
    a[i] = static_cast<std::uint32_t>(d);
    borrow = static_cast<std::uint32_t>(d >> 63);
  }
  return borrow;
}

// out = a * b over n words. Returns the high word of the product.
inline std::uint32_t multiplyWord(std::uint32_t* out, const std::uint32_t* a, std::size_t n, std::uint32_t b) {
  std::uint64_t carry = 0;
  for (std::size_t i = 0; i < n; ++i) {
    carry += std::uint64_t{a[i]} * b;
    out[i] = static_cast<std::uint32_t>(carry);
    carry >>= 32;
  }
  return static_cast<std::uint32_t>(carry);
}

// a = a / d over n words, from the most significant word down. Returns the remainder.
inline std::uint32_t divideWord(std::uint32_t* a, std::size_t n, std::uint32_t d) {
  std::uint64_t remainder = 0;
  for (std::size_t i = n; i-- > 0;) {
    const std::uint64_t part = (remainder << 32) | a[i];
    a[i] = static_cast<std::uint32_t>(part / d);
    remainder = part % d;
  }
  return static_cast<std::uint32_t>(remainder);
}

// -1, 0 or 1 as a is below, equal to or above b (n words each).
inline int compareWords(const std::uint32_t* a, const std::uint32_t* b, std::size_t n) {
  for (std::size_t i = n; i-- > 0;)
    if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
  return 0;
}

// a = a - b over n words when that does not go below zero; otherwise a stays.
// Without branches on the values, for the inner loop of the recombination.
inline void subtractIfNotBelow(std::uint32_t* a, const std::uint32_t* b, std::size_t n, std::uint32_t overflow = 0) {
  std::uint32_t d[8];
  std::uint32_t borrow = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint64_t x = std::uint64_t{a[i]} - b[i] - borrow;
    d[i] = static_cast<std::uint32_t>(x);
    borrow = static_cast<std::uint32_t>(x >> 63);
  }
  // Keep the difference unless it borrowed (an overflow word in a counts above it).
  const std::uint32_t keep = 0u - ((borrow ^ 1u) | overflow);
  for (std::size_t i = 0; i < n; ++i) a[i] = (d[i] & keep) | (a[i] & ~keep);
}

// a = a / 2 over n words.
inline void shiftRightOne(std::uint32_t* a, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) a[i] = (a[i] >> 1) | (i + 1 < n ? a[i + 1] << 31 : 0);
}

}  // namespace bignum
