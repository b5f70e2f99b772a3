// Fixed-point numbers for the elementary functions at short precisions
// (internal to the library). A short computation spends most of its time
// outside the arithmetic when it goes through bigfloat records; these plain
// word arrays of one length keep it in the arithmetic.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "bignum/bigfloat.h"

namespace bignum::fixed {

// sign * sum w[t] 10^(9 (t - n)) over t = 0..n, least significant word first:
// w[n] is the integer part (below 10^9) and n words follow the point. Zero may
// carry either sign. The operations cut what falls below word 0, so each is
// good to a unit or two of it; none may give an integer part of 10^9 or more.
struct Fixed {
  bool negative = false;
  std::vector<std::uint32_t> w;

  // Words after the point.
  std::size_t frac() const { return w.size() - 1; }
  bool isZero() const;
};

// The integer v < 10^9 with n words after the point.
Fixed integer(std::uint32_t v, std::size_t n);
// x (|x| < 10^9, any precision) with n words after the point; its digits below
// them are cut.
Fixed fromBigfloat(const bigfloat& x, std::size_t n);
// x as a number of p digits (cut, not rounded).
bigfloat toBigfloat(const Fixed& x, long p);
// x as a number whose precision ends at its last word.
bigfloat toBigfloatAbsolute(const Fixed& x);

// a + b and a - b (of one length).
Fixed add(const Fixed& a, const Fixed& b);
Fixed sub(const Fixed& a, const Fixed& b);
// g = p + g, or p - g with `subtract`, in place.
void addTo(Fixed& g, const Fixed& p, bool subtract);
// a b and a^2, cut below the last word (within two units of it).
Fixed mul(const Fixed& a, const Fixed& b);
Fixed square(const Fixed& a);
// a m for m >= 1, in place.
void mulSmall(Fixed& a, std::uint32_t m);
// a / d for d >= 1, in place, cut.
void divSmall(Fixed& a, std::uint32_t d);
// a / da and b / db (of one length), in place, cut: faster than one after the other.
void divSmallPair(Fixed& a, std::uint32_t da, Fixed& b, std::uint32_t db);
// a / 2^k, in place, cut.
void divPow2(Fixed& a, unsigned k);
// log10 |a| to about a digit; a very large negative number for zero.
double log10Magnitude(const Fixed& a);

}  // namespace bignum::fixed
