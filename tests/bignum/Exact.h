// Exact values of numbers as GMP rationals, and random numbers, for checking
// the number type against GMP as the reference.
#pragma once

#include <gmpxx.h>

#include <cstdint>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "bignum/bigfloat.h"

using Words = std::vector<std::uint32_t>;

// x as text, in positional notation when asked.
inline std::string text(const bignum::bigfloat& x, bool positional = false) {
  std::ostringstream out;
  if (positional) out << bignum::pretty;
  out << x;
  return out.str();
}

// The stored words of x.
inline Words wordsOf(const bignum::bigfloat& x) {
  Words w(x.size());
  x.words(0, w.size(), w.data());
  return w;
}

// 10^k as a rational, for any integer k.
inline mpq_class powerOfTen(std::int64_t k) {
  mpz_class p;
  mpz_ui_pow_ui(p.get_mpz_t(), 10, static_cast<unsigned long>(k < 0 ? -k : k));
  return k >= 0 ? mpq_class(p) : mpq_class(mpz_class(1), p);
}

// The exact value of x.
inline mpq_class exactOf(const bignum::bigfloat& x) {
  if (x.sign() == 0) return 0;
  const Words words = wordsOf(x);
  std::string digits;
  for (std::uint32_t w : words) {
    const std::string s = std::to_string(w);
    digits += std::string(9 - s.size(), '0') + s;
  }
  mpq_class value(mpz_class(digits, 10));
  value *= powerOfTen(9 * (x.wordExponent() - static_cast<std::int64_t>(words.size())));
  return x.sign() < 0 ? mpq_class(-value) : value;
}

// A random number of `words` words (the first non-zero), a word exponent in
// [-spread, spread] and the given word precision.
inline bignum::bigfloat randomNumber(std::mt19937_64& rng, std::size_t words, int spread, long prec) {
  std::vector<std::uint32_t> w(words);
  for (auto& x : w) x = static_cast<std::uint32_t>(rng() % 1000000000u);
  // Some runs of nines and zeros, where carries and borrows travel.
  if (rng() % 4 == 0)
    for (std::size_t i = rng() % words; i < words; ++i) w[i] = rng() % 2 ? 999999999u : 0u;
  if (w[0] == 0) w[0] = 1 + static_cast<std::uint32_t>(rng() % 999999999u);
  // Some leading words of one digit, where a word of precision holds one digit.
  if (rng() % 4 == 0) w[0] = 1 + static_cast<std::uint32_t>(rng() % 9);
  if (w.back() == 0) w.back() = 1;
  const int sign = rng() % 2 ? 1 : -1;
  const auto exponent = static_cast<std::int64_t>(rng() % (2 * spread + 1)) - spread;
  return bignum::bigfloat::fromWords(sign, exponent, prec, w.data(), words);
}

// Whether x agrees with `exact` in every word but its last: the error is below
// one unit of its second-to-last word (of its precision).
inline bool allButLastWord(const bignum::bigfloat& x, const mpq_class& exact) {
  const long p = x.wordPrecision() == bignum::INFINITE ? static_cast<long>(x.size()) : x.wordPrecision();
  const mpq_class unit = powerOfTen(9 * (x.wordExponent() - p + 1));
  return abs(exactOf(x) - exact) < unit;
}
