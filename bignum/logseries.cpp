// The logarithms of 2, 3 and 5 from three arctangent-like series, summed by
// binary splitting: for x = 1/m,
//   atanh(x) = x sum_k prod_{i=1}^{k} p(i) / q(i),  p(i) = 2i - 1, q(i) = (2i + 1) m^2.
// Over the terms [a, b) the splitting forms P = prod p(i), Q = prod q(i) and
// T with T / Q = sum_{k=a}^{b-1} prod_{i=a}^{k} p(i) / q(i); neighbouring
// ranges join as P = P1 P2, Q = Q1 Q2, T = T1 Q2 + P1 T2. All terms are
// positive, so past the precision the three are cut at every join.
#include "bignum/logseries.h"

#include <array>
#include <cmath>
#include <cstdint>

#include "bignum/functions_steps.h"
#include "bignum/progress.h"

namespace bignum::steps {

namespace {

// The progress of the three splittings: terms finished out of all of them.
struct Tally {
  ProgressStage& stage;
  double total, done = 0;
  std::size_t limit;  // words kept of P, Q and T
  void finished(std::uint64_t terms) {
    done += static_cast<double>(terms);
    stage.advance(0.9 * done / total, terms);
  }
};

constexpr std::uint64_t kLeaf = 3;  // the longest part summed term by term

// P, Q, T over the terms [first, last) for mm = m^2; P only where `wantP`
// (the last part of each level: no later part needs it).
Split split(std::uint64_t first, std::uint64_t last, std::uint64_t mm, bool wantP, Tally& tally) {
  if (last - first <= kLeaf) {
    Split s{bigfloat(1), bigfloat(1), bigfloat()};
    if (last < (std::uint64_t{1} << 25)) {
      // In 128 bits: q(k) < 2^26 m^2 < 2^41, so the three (and T, below kLeaf Q) fit.
      u128 P = 1, Q = 1, T = 0;
      for (std::uint64_t k = first; k < last; ++k) {
        const u128 p = 2 * k - 1, q = static_cast<u128>(2 * k + 1) * mm;
        T = T * q + P * p;
        P *= p;
        Q *= q;
      }
      s = Split{exactOf(P), exactOf(Q), exactOf(T)};
    } else {
      for (std::uint64_t k = first; k < last; ++k) {
        const bigfloat p = exactInteger(static_cast<std::int64_t>(2 * k - 1));
        const bigfloat q = exactInteger(static_cast<std::int64_t>((2 * k + 1) * mm));
        s.T = s.T * q + s.P * p;
        s.P = s.P * p;
        s.Q = s.Q * q;
      }
    }
    tally.finished(last - first);
    return s;
  }
  const std::uint64_t middle = first + (last - first) / 2;
  Split left = split(first, middle, mm, true, tally);
  const Split right = split(middle, last, mm, wantP, tally);
  left.T = left.T * right.Q + left.P * right.T;
  if (wantP) left.P = left.P * right.P;
  left.Q = left.Q * right.Q;
  cutToWords(tally.limit, {&left.P, &left.Q, &left.T});
  tally.finished(last - first);
  return left;
}

constexpr std::array<std::uint64_t, 3> kDenominators = {31, 49, 161};
// The coefficients of the three series in log 2, log 3 and log 5.
constexpr std::array<std::array<int, 3>, 3> kCoefficients = {{{14, 10, 6}, {22, 16, 10}, {32, 24, 14}}};

// The terms k = 1 .. n - 1 of atanh(1/m) past its first that reach 10^-digits:
// term k lies below m^-2k.
std::uint64_t termsFor(std::uint64_t m, long digits) {
  return static_cast<std::uint64_t>(std::ceil(static_cast<double>(digits) / (2 * std::log10(static_cast<double>(m))))) +
         2;
}

struct Cache {
  std::array<bigfloat, 3> atanh;  // of 1/31, 1/49 and 1/161
  long prec = 0;
};

Cache& cache() {
  static Cache c;
  return c;
}

// The three series to q digits.
std::array<bigfloat, 3> series(long q) {
  ProgressStage stage("logarithm");
  const long w = q + Basedigits;
  double total = 0;
  for (std::uint64_t m : kDenominators) total += static_cast<double>(termsFor(m, w));
  Tally tally{stage, total, 0, static_cast<std::size_t>(w / Basedigits + 3)};
  std::array<bigfloat, 3> values;
  for (std::size_t j = 0; j < 3; ++j) {
    const std::uint64_t m = kDenominators[j];
    const Split s = split(1, termsFor(m, w), m * m, false, tally);
    values[j] = withPrecision(s.Q + s.T, w) / (withPrecision(s.Q, w) * exactInteger(static_cast<std::int64_t>(m)));
  }
  return values;
}

}  // namespace

std::optional<bigfloat> smoothLog(const bigfloat& x, long p) {
  // x's value as an integer below 10^18: at most two words, none after the point.
  if (x.sign() <= 0 || x.wordExponent() < 1 || x.wordExponent() > 2 ||
      static_cast<std::int64_t>(x.size()) > x.wordExponent())
    return std::nullopt;
  std::uint32_t words[2] = {0, 0};
  x.words(0, x.size(), words);
  std::uint64_t n = x.wordExponent() == 1 ? words[0] : std::uint64_t{words[0]} * Base + words[1];
  if (n < 2) return std::nullopt;
  std::array<std::int64_t, 3> powers{};
  for (std::size_t j = 0; j < 3; ++j)
    for (const std::uint64_t prime = std::array<std::uint64_t, 3>{2, 3, 5}[j]; n % prime == 0; n /= prime) ++powers[j];
  if (n != 1) return std::nullopt;
  const long q = p + kGuard;
  Cache& c = cache();
  if (c.prec < q) {
    const std::array<bigfloat, 3> values = series(q);
    c.atanh = values;
    c.prec = q;
  }
  bigfloat sum;
  for (std::size_t s = 0; s < 3; ++s) {
    std::int64_t coefficient = 0;
    for (std::size_t j = 0; j < 3; ++j) coefficient += powers[j] * kCoefficients[j][s];
    sum = sum + exactInteger(coefficient) * withPrecision(c.atanh[s], q);
  }
  return withPrecision(sum, p);
}

void clearSmoothLogCache() { cache() = Cache(); }

}  // namespace bignum::steps
