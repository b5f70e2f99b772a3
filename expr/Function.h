// The built-in functions of the expression language: one stateless class per
// function, created by name through Reflectable<Function> and used for one call.
//
// A function throws a std::string with its message when the argument is
// outside its domain, before computing anything. Exact arguments (integers)
// get the digits of a literal (81 by default) before any computation whose
// result is not exact; results have the argument's precision.
#pragma once

#include "bignum/bigfloat.h"
#include "expr/Reflectable.h"

struct Function {
  virtual ~Function() = default;
  // The two-argument form, which only log has: the others throw OneArgumentOnly,
  // and the grammar refuses the call with the function's name. Log's
  // one-argument form throws TwoArgumentsOnly.
  struct OneArgumentOnly {};
  struct TwoArgumentsOnly {};
  virtual bignum::bigfloat evaluate(bignum::bigfloat a, bignum::bigfloat b);
  // The one-argument form.
  virtual bignum::bigfloat evaluate(bignum::bigfloat x) = 0;
};

// The registry of the built-in functions, filled before it is first read.
template <>
Reflectable<Function>::Creators& Reflectable<Function>::creators();

// The function classes, in a namespace of their own: their names (Log, Exp,
// Round, ...) are common words.
namespace builtin {

#define NUMBRIX_FUNCTION(Name)                              \
  struct Name : Function {                                  \
    using Function::evaluate;                               \
    bignum::bigfloat evaluate(bignum::bigfloat x) override; \
  };

NUMBRIX_FUNCTION(Deg)
NUMBRIX_FUNCTION(Sin)
NUMBRIX_FUNCTION(Cos)
NUMBRIX_FUNCTION(Tan)
NUMBRIX_FUNCTION(Asin)
NUMBRIX_FUNCTION(Acos)
NUMBRIX_FUNCTION(Atan)
NUMBRIX_FUNCTION(SinH)
NUMBRIX_FUNCTION(CosH)
NUMBRIX_FUNCTION(TanH)
NUMBRIX_FUNCTION(AsinH)
NUMBRIX_FUNCTION(AcosH)
NUMBRIX_FUNCTION(AtanH)
NUMBRIX_FUNCTION(Exp)
NUMBRIX_FUNCTION(Ln)
NUMBRIX_FUNCTION(Lg)
NUMBRIX_FUNCTION(Sqrt)
NUMBRIX_FUNCTION(Abs)
NUMBRIX_FUNCTION(Round)
NUMBRIX_FUNCTION(Floor)
NUMBRIX_FUNCTION(Fix)
NUMBRIX_FUNCTION(Ceil)
#undef NUMBRIX_FUNCTION

// log(a, b): the logarithm of b to the base a; with one argument, refused
// with TwoArgumentsOnly.
struct Log : Function {
  bignum::bigfloat evaluate(bignum::bigfloat a, bignum::bigfloat b) override;
  bignum::bigfloat evaluate(bignum::bigfloat x) override;
};

}  // namespace builtin
