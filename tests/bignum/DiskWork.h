// The computation of the private-folder tests and their child processes:
// exact numbers of a few thousand digits, which live on disk when the memory
// threshold is small (as the tests set it).
#pragma once

#include <sstream>
#include <string>

#include "bignum/bigfloat.h"

// An exact number of `length` + 1 digits that depends on `seed`.
inline bignum::bigfloat diskNumber(unsigned seed, unsigned length = 3000) {
  std::string digits = "1";
  for (unsigned i = 0; i < length; ++i) digits += static_cast<char>('0' + (seed * 7 + i * 13 + i / 17) % 10);
  return bignum::bigfloat(digits.c_str(), bignum::INFINITE);
}

// The sum of x (x + i) for i below `rounds`, x = diskNumber(seed), as text.
inline std::string diskWork(unsigned seed, int rounds) {
  const bignum::bigfloat x = diskNumber(seed);
  bignum::bigfloat sum;
  for (int i = 0; i < rounds; ++i) sum = sum + x * (x + i);
  std::ostringstream text;
  text << sum;
  return text.str();
}
