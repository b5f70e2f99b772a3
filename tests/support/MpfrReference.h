// An MPFR number for checking bigfloat results against, wide enough for
// `digits` decimal digits twice over: arguments near a multiple of pi lose as
// many digits to cancellation as they have.
#pragma once

#include <mpfr.h>

#include <sstream>

#include "bignum/bigfloat.h"

class MpfrReference {
 public:
  explicit MpfrReference(long digits) { mpfr_init2(v_, static_cast<mpfr_prec_t>((2 * digits + 100) * 3.33)); }
  MpfrReference(long digits, const bignum::bigfloat& x) : MpfrReference(digits) { set(x); }
  MpfrReference(const MpfrReference&) = delete;
  MpfrReference& operator=(const MpfrReference&) = delete;
  ~MpfrReference() { mpfr_clear(v_); }
  mpfr_ptr get() { return v_; }
  // x exactly (its decimal words fit the precision).
  void set(const bignum::bigfloat& x) {
    std::ostringstream out;
    out << x;
    mpfr_set_str(v_, out.str().c_str(), 10, MPFR_RNDN);
  }

 private:
  mpfr_t v_;
};

// An MPFR function of one argument.
using Oracle = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t);

// Degrees of x radians, as an MPFR function of one argument.
inline int mpfrDegrees(mpfr_ptr r, mpfr_srcptr x, mpfr_rnd_t) {
  mpfr_const_pi(r, MPFR_RNDN);
  mpfr_mul(r, r, x, MPFR_RNDN);
  return mpfr_div_ui(r, r, 180, MPFR_RNDN);
}
