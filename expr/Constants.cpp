#include "expr/Constants.h"

#include <exception>

#include "bignum/functions.h"
#include "expr/Arithmetic.h"

namespace {

const bignum::bigfloat& valueLimit() {
  static const bignum::bigfloat value("1e33", 81);
  return value;
}

const bignum::bigfloat& tolerance() {
  static const bignum::bigfloat value("1.0E-16", 81);
  return value;
}

const bignum::bigfloat& pi() {
  static const bignum::bigfloat value = bignum::pi(arithmetic::kResultDigits);
  return value;
}

const bignum::bigfloat& e() {
  static const bignum::bigfloat value(
      "2.718281828459045235360287471352662497757247093699959574966967627724076630353547594571382178525166427427466391"
      "932003059921817413596629043572900334295260",
      arithmetic::kResultDigits);
  return value;
}

// Built before main, as the rest of the program expects; code that runs
// earlier builds them on its first use instead. So does everything when the
// library cannot hold them now (no disk space for its files): the first use
// then fails as any computation would, with an error instead of an abort.
[[maybe_unused]] const bool builtAtStartUp = [] {
  try {
    return (valueLimit(), tolerance(), pi(), e(), true);
  } catch (const std::exception&) {
    return false;
  }
}();

}  // namespace

constinit const SharedConstant VALUE_LIMIT(&valueLimit);
constinit const SharedConstant TOLERANCE(&tolerance);
constinit const SharedConstant PI(&pi);
constinit const SharedConstant E(&e);
