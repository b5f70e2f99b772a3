// Complex numbers of bigfloat parts, and the complex functions that the
// circular functions and their inverses are computed through.
#pragma once

#include "bignum/bigfloat.h"

namespace bignum {

struct bigcomplex {
  bigfloat re, im;
};

// The precision of a complex number in digits: INFINITE when both parts are
// exact; with both parts non-zero, that of the larger part, or of the smaller
// raised by the difference of their exponents, whichever is less; with a part
// zero, that of the other.
long prec(const bigcomplex& z);
// Both parts set to p digits.
bigcomplex withPrecision(const bigcomplex& z, long p);

bigcomplex operator+(const bigcomplex& a, const bigcomplex& b);
bigcomplex operator-(const bigcomplex& a, const bigcomplex& b);
bigcomplex operator*(const bigcomplex& a, const bigcomplex& b);
bigcomplex operator*(const bigcomplex& a, const bigfloat& b);
bigcomplex operator*(const bigfloat& a, const bigcomplex& b);
// Through the conjugate and the squared modulus; b must not be zero.
bigcomplex operator/(const bigcomplex& a, const bigcomplex& b);
bigcomplex operator/(const bigcomplex& a, const bigfloat& b);
bigcomplex operator/(const bigfloat& a, const bigcomplex& b);

// u^(-1/n) to p digits by Newton's iteration from a double start (the root
// nearest the principal one); u must not be zero ("u.re.sign () || u.im.sign ()").
bigcomplex invroot(const bigcomplex& u, unsigned n, long p);
// The principal square root, at z's precision.
bigcomplex sqrt(const bigcomplex& z);
// The arithmetic-geometric mean, each step taking the square root nearer the mean.
bigcomplex agm(const bigcomplex& a, const bigcomplex& b);
// The principal logarithm (imaginary part in (-pi, pi]); z must not be zero
// ("z.re.sign () || z.im.sign ()").
bigcomplex log(const bigcomplex& z);
// e^z by Newton's iteration on the complex logarithm, at z's precision.
bigcomplex exp(const bigcomplex& z);

namespace steps {

// For the library's own functions, which carry their guard digits already:
// log z and e^z (z not zero, of finite precision) computed with `guard`
// digits beyond z's precision and cut to it.
bigcomplex logWithGuard(const bigcomplex& z, long guard);
bigcomplex expWithGuard(const bigcomplex& z, long guard);

}  // namespace steps

}  // namespace bignum
