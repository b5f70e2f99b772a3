// The program's shared numbers: VALUE_LIMIT (the largest magnitude a result
// may have: 1e33 by default, the largest number when the limit is off) and
// TOLERANCE (1.0E-16, the margin of the functions' domain checks) at 81
// digits, PI and E at the result digits in force (90 by default, a guard word
// beyond a literal's 81); see expr/EvaluationSettings.h.
//
// Each is built on first use, whichever static initialiser or function gets
// there first (the number library starts itself on its first number), and is
// read-only until the settings change: a SharedConstant holds no number itself
// and is set up before any code runs, so it can be used from any static
// initialiser. It converts to the number where one is expected; next to a
// machine integer (2 * PI.get()) take the number with get(). A reference it
// gives stays valid while the settings stay as they are.
#pragma once

#include "bignum/bigfloat.h"

class SharedConstant {
 public:
  using Builder = const bignum::bigfloat& (*)();
  constexpr explicit SharedConstant(Builder builder) : builder_(builder) {}

  // The value (built on the first call).
  const bignum::bigfloat& get() const { return builder_(); }
  operator const bignum::bigfloat&() const { return builder_(); }

 private:
  Builder builder_;
};

extern const SharedConstant VALUE_LIMIT;
extern const SharedConstant TOLERANCE;
extern const SharedConstant PI;
extern const SharedConstant E;
