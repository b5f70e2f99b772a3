// bigfloat: the arbitrary-precision decimal number of the whole system.
//
// A number is a sign, an exponent and a mantissa of base-10^9 words:
//   value = sign * sum m[i] * 10^(9 (exponent - 1 - i)),  m[0] != 0,
// so the mantissa is a fraction 0.m[0]m[1]... in base 10^9. Precision is
// counted in decimal digits at the interface (whole words inside); INFINITE
// marks an exact number. Words beyond the precision are cut, never rounded,
// and a mantissa never ends in a zero word. Zero has sign 0, exponent 0, no
// words and INFINITE precision.
//
// Handles share a reference-counted record; copies are free and a handle is
// made private (copy-on-write) before it is changed. Operations never change
// their arguments. Not thread-safe: all calls come from one thread.
//
// Failures. A computation whose numbers on disk cannot be written or read (a
// full disk, a lost file) throws ResourceError (resource_error.h), one that
// runs out of memory std::bad_alloc, and a long one asked to stop from outside
// Cancelled (cancel.h); its arguments and every other number stay as they
// were, and the next computation runs as usual.
//
// Exponents. Word exponents are kept within +-MAXEXPONENT words (about 2.6e18
// decimal digits), so no computation or text can wrap them around: a result
// whose exponent would go above the range gets the largest exponent (it
// compares greater than any number in range, so callers can refuse it as too
// big), one whose exponent would go below the range becomes zero.
//
// Text in and out never depends on the locale of the process or the stream.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>

#include "bignum/init.h"
#include "bignum/storage.h"

namespace bignum {

// The precision of an exact number (digits or words).
inline constexpr long INFINITE = 2147483647;
// The largest word exponent; see the header comment.
inline constexpr std::int64_t MAXEXPONENT = std::int64_t{1} << 58;

// The shared record of a number: its storage followed by the number's fields.
class numstruct : public datastruct {
 public:
  // A record of `size` words whose contents the caller writes.
  numstruct(std::size_t size, int location) : datastruct(size, nullptr, location, false) {}
  // A private copy of `source` (mantissa, sign, exponent and precision).
  explicit numstruct(numstruct& source);

  unsigned nlinks = 1;   // handles sharing this record
  int sign = 0;          // -1, 0 or +1
  std::int64_t exp = 0;  // exponent in words
  long prec = INFINITE;  // precision in words, or INFINITE
};

class bigfloat {
 public:
  // Zero.
  bigfloat();
  // From a machine integer: exact unless a precision (in digits) is given, in
  // which case the words beyond it are cut.
  bigfloat(int value, long prec = INFINITE, int location = DEFAULT);
  bigfloat(unsigned value, long prec = INFINITE, int location = DEFAULT);
  // From a finite double: up to four words; with DEFAULT precision the digits
  // a double carries (15 or more), rounded up to whole words.
  bigfloat(double value, long prec = DEFAULT, int location = DEFAULT);
  // From text: [-+ ]* digits [. digits] [(e|E) exponent]. Each '-' flips the
  // sign; bytes other than decimal digits in the mantissa count as 0; an
  // exponent that is not a number counts as 0 and one beyond the range is
  // clamped (see the header comment). DEFAULT precision keeps every
  // significant digit; INFINITE keeps them as an exact number; otherwise the
  // mantissa is cut to `prec` digits (whole words). Null text gives zero.
  bigfloat(const char* text, long prec = DEFAULT, int location = DEFAULT);

  bigfloat(const bigfloat& other);
  bigfloat& operator=(const bigfloat& other);
  ~bigfloat();

  // -1, 0 or +1.
  int sign() const;
  // The decimal exponent of the leading word's boundary: 9 * the word exponent.
  std::int64_t exp() const;
  // The precision in decimal digits (a multiple of 9), or INFINITE.
  long prec() const;
  // Sets the precision to ceil(p / 9) words (INFINITE stays INFINITE), cutting
  // the mantissa if it is longer. Zero is left unchanged.
  bigfloat& prec(long p);
  // Sets the sign to that of `s` (any negative is -1, any positive +1): the
  // magnitude stays. A sign of 0 makes the number zero (exact, exponent 0);
  // zero stays zero whatever `s` is.
  bigfloat& sign(int s);
  // Sets the word exponent to e / 9 (truncated toward zero). Zero is left unchanged.
  bigfloat& exp(std::int64_t e);

  // The stored mantissa: its length in words and `count` words from `first` on.
  std::size_t size() const;
  void words(std::size_t first, std::size_t count, std::uint32_t* into) const;
  // The word exponent and word precision (INFINITE for exact numbers).
  std::int64_t wordExponent() const;
  long wordPrecision() const;

  // Builds a number from its parts: `words` (most significant first, each below
  // 10^9) are cut to the word precision `prec` and stripped of leading and
  // trailing zero words (the exponent follows the leading ones). Used by the
  // operators and by callers that produce words themselves.
  static bigfloat fromWords(int sign, std::int64_t wordExponent, long prec, const std::uint32_t* words,
                            std::size_t count, int location = DEFAULT);

  // Result precisions, in words; the words beyond them are cut, never rounded.
  // - Negation keeps the precision.
  // - a + b and a - b end where the operand that ends higher ends: with the
  //   operand of the larger exponent X and the other Y, d words lower, the
  //   precision is min(X's, Y's + d). A carry into a new leading word adds a
  //   word to it; leading words that cancel take as many from it, so the
  //   result still ends at the same place (at least one word is kept). Two
  //   exact operands give an exact result.
  // - a * b and a / b take the smaller of the two precisions (exact only when
  //   both are exact); the mantissa is cut to it.
  friend bigfloat operator-(const bigfloat& x);
  friend bigfloat operator+(const bigfloat& a, const bigfloat& b);
  friend bigfloat operator-(const bigfloat& a, const bigfloat& b);
  friend bigfloat operator*(const bigfloat& a, const bigfloat& b);
  // b must not be zero ("b->sign"). Two exact operands need a terminating
  // quotient by a one-word divisor; otherwise the precision would be unbounded
  // and the process stops ("prec != INFINITE").
  friend bigfloat operator/(const bigfloat& a, const bigfloat& b);

  bigfloat& operator+=(const bigfloat& b) { return *this = *this + b; }
  bigfloat& operator-=(const bigfloat& b) { return *this = *this - b; }
  bigfloat& operator*=(const bigfloat& b) { return *this = *this * b; }
  bigfloat& operator/=(const bigfloat& b) { return *this = *this / b; }
  bigfloat& operator++() { return *this += bigfloat(1); }
  bigfloat& operator--() { return *this -= bigfloat(1); }

  // -1, 0 or +1 as a is below, equal to or above b (of |a| and |b| with
  // `absolute`). Precision plays no part.
  friend int compare(const bigfloat& a, const bigfloat& b, bool absolute);

  friend std::ostream& operator<<(std::ostream& out, const bigfloat& x);

  // The record, for the library's own routines.
  numstruct* record() const { return rec_; }
  explicit bigfloat(numstruct* record) : rec_(record) {}
  // This handle's record, made private first.
  numstruct* mutableRecord();

 private:
  numstruct* rec_;
};

inline bool operator==(const bigfloat& a, const bigfloat& b) { return compare(a, b, false) == 0; }
inline bool operator!=(const bigfloat& a, const bigfloat& b) { return compare(a, b, false) != 0; }
inline bool operator<(const bigfloat& a, const bigfloat& b) { return compare(a, b, false) < 0; }
inline bool operator<=(const bigfloat& a, const bigfloat& b) { return compare(a, b, false) <= 0; }
inline bool operator>(const bigfloat& a, const bigfloat& b) { return compare(a, b, false) > 0; }
inline bool operator>=(const bigfloat& a, const bigfloat& b) { return compare(a, b, false) >= 0; }

// Operations with a machine integer first make an exact number of it.
#define BIGNUM_WITH_INT(op)                                                      \
  inline auto operator op(const bigfloat& a, int b) { return a op bigfloat(b); } \
  inline auto operator op(int a, const bigfloat& b) { return bigfloat(a) op b; }
BIGNUM_WITH_INT(+)
BIGNUM_WITH_INT(-)
BIGNUM_WITH_INT(*)
BIGNUM_WITH_INT(/)
BIGNUM_WITH_INT(==)
BIGNUM_WITH_INT(!=)
BIGNUM_WITH_INT(<)
BIGNUM_WITH_INT(<=)
BIGNUM_WITH_INT(>)
BIGNUM_WITH_INT(>=)
#undef BIGNUM_WITH_INT

// |x|.
bigfloat abs(const bigfloat& x);
// The integers toward minus infinity, toward plus infinity and toward zero;
// all exact (INFINITE precision).
bigfloat floor(const bigfloat& x);
bigfloat ceil(const bigfloat& x);
bigfloat trunc(const bigfloat& x);
// The remainder of a / b truncated toward zero, with the sign of a; b must not
// be zero. Exact on the stored digits and then cut to the smaller of the two
// precisions, counted from the remainder's own leading digit; zero when every
// integer digit of the quotient lies beyond a's precision.
bigfloat fmod(const bigfloat& a, const bigfloat& b);
// x^n by binary powering; n = 0 gives an exact 1. An exact x gives an exact
// power; otherwise the products carry guard digits that grow with the digits
// of n, and the power (or its reciprocal, for n < 0) has x's precision, good
// to all but its last word. A negative n needs x != 0 and, as the reciprocal
// of an exact power has no precision to stop at, a finite one ("prec != INFINITE").
bigfloat pow(const bigfloat& x, unsigned n);
bigfloat pow(const bigfloat& x, int n);
// sqrt(x) for x >= 0 at x's precision (zero gives zero).
bigfloat sqrt(const bigfloat& x);
// u^(-1/n) to `prec` digits (DEFAULT: u's precision) by Newton's iteration. n = 0
// gives an exact 1; u must not be zero ("u.sign ()") and, for even n, must be
// positive ("u.sign () > 0"); the precision must be finite.
bigfloat invroot(const bigfloat& u, unsigned n, long prec = DEFAULT);
// The nearest double to the leading three words (0.0 for zero; +-infinity or 0
// beyond the range of doubles).
double getdouble(const bigfloat& x);

// Inserted into a stream, makes the next number written (by any stream) use
// positional notation instead of 0.ddd...e<exponent>; writing a number clears it.
std::ostream& pretty(std::ostream& out);

}  // namespace bignum
