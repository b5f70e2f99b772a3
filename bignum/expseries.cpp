// The series of the exponential, sum r^k / k!, summed by binary splitting:
// e itself (r = 1), kept in a cache that grows like that of pi, and e^r for
// any short r, of which the bit-burst method makes e^x at high precision.
//
// Over the terms [a, b) of sum_k prod_{i <= k} p(i) / q(i), with p(i) = r and
// q(i) = i, the splitting forms P = prod p(i), Q = prod q(i) and T with
// T / Q = sum_{k=a}^{b-1} prod_{i=a}^{k} p(i) / q(i); two neighbouring ranges
// join as P = P1 P2, Q = Q1 Q2, T = T1 Q2 + P1 T2. For e they are exact, so
// that its cache can extend them. A piece of a bit-burst is a short decimal
// fraction, whose powers are as short (the exponent carries its power of
// ten), and there the three are cut past the working precision at every
// join: a piece below 1 in size has terms that fall fast enough for no
// partial sum to cancel (and its integer part is taken positive).
#include "bignum/expseries.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "bignum/exact.h"
#include "bignum/functions.h"
#include "bignum/functions_steps.h"

namespace bignum {

using namespace steps;

namespace {

// The progress of the splittings: the work of the parts finished (see
// splittingWork), mapped onto [base, base + share] of the stage.
struct Tally {
  ProgressStage& stage;
  double total, base, share, done = 0;
  std::size_t limit = 0;  // words kept of P, Q and T (0: all, exact)
  void finished(std::uint64_t terms) {
    done += static_cast<double>(terms);
    stage.advance(base + share * done / total, terms);
  }
};

constexpr std::uint64_t kLeaf = 4;  // the longest part summed term by term

// The series of e^r over the terms [first, last), first >= 1. A null r stands
// for r = 1, whose P is always 1 and is not formed; nor is P where `wantP` is
// false (the last part of each level: no later part needs it).
Split split(std::uint64_t first, std::uint64_t last, const bigfloat* r, bool wantP, Tally& tally) {
  if (last - first <= kLeaf) {
    Split s;
    if (r == nullptr && last < (std::uint64_t{1} << 30)) {
      // Four factors below 2^30 and their sums fit 128 bits.
      u128 q = 1, t = 0;
      for (std::uint64_t k = first; k < last; ++k) {
        t = t * k + 1;
        q *= k;
      }
      s = Split{bigfloat(1), exactOf(q), exactOf(t)};
    } else {
      const bigfloat p = r != nullptr ? *r : bigfloat(1);
      s = Split{p, exactInteger(static_cast<std::int64_t>(first)), p};
      for (std::uint64_t k = first + 1; k < last; ++k) {
        const bigfloat qk = exactInteger(static_cast<std::int64_t>(k));
        s.T = s.T * qk + s.P * p;
        if (r != nullptr) s.P = s.P * p;
        s.Q = s.Q * qk;
      }
    }
    tally.finished(last - first);
    return s;
  }
  const std::uint64_t middle = first + (last - first) / 2;
  Split left = split(first, middle, r, true, tally);
  const Split right = split(middle, last, r, wantP, tally);
  left.T = r != nullptr ? left.T * right.Q + left.P * right.T : left.T * right.Q + right.T;
  if (r != nullptr && wantP) left.P = left.P * right.P;
  left.Q = left.Q * right.Q;
  if (tally.limit != 0) cutToWords(tally.limit, {&left.P, &left.Q, &left.T});
  tally.finished(last - first);
  return left;
}

// The series of e^(i r) over [first, last): as for split, with p(i) = i r, so
// that P = i^len r^len is kept as r^len and its power of i as len.
struct TurnSplit {
  bigfloat P, Q, re, im;  // T = re + i im
  std::uint64_t len = 0;
};

// (re + i im) i^k.
void turn(bigfloat& re, bigfloat& im, std::uint64_t k) {
  switch (k % 4) {
    case 1:
      std::swap(re, im);
      re = -re;
      break;
    case 2:
      re = -re;
      im = -im;
      break;
    case 3:
      std::swap(re, im);
      im = -im;
      break;
    default:
      break;
  }
}

TurnSplit turnSplit(std::uint64_t first, std::uint64_t last, const bigfloat& r, bool wantP, Tally& tally) {
  if (last - first <= kLeaf) {
    TurnSplit s{r, exactInteger(static_cast<std::int64_t>(first)), bigfloat(), r, 1};
    for (std::uint64_t k = first + 1; k < last; ++k) {
      const bigfloat qk = exactInteger(static_cast<std::int64_t>(k));
      s.P = s.P * r;
      bigfloat re = s.P, im;
      turn(re, im, ++s.len);
      s.re = s.re * qk + re;
      s.im = s.im * qk + im;
      s.Q = s.Q * qk;
    }
    tally.finished(last - first);
    return s;
  }
  const std::uint64_t middle = first + (last - first) / 2;
  TurnSplit left = turnSplit(first, middle, r, true, tally);
  const TurnSplit right = turnSplit(middle, last, r, wantP, tally);
  bigfloat re = left.P * right.re, im = left.P * right.im;
  turn(re, im, left.len);
  left.re = left.re * right.Q + re;
  left.im = left.im * right.Q + im;
  if (wantP) left.P = left.P * right.P;
  left.Q = left.Q * right.Q;
  left.len += right.len;
  cutToWords(tally.limit, {&left.P, &left.Q, &left.re, &left.im});
  tally.finished(last - first);
  return left;
}

// The terms k = 0 .. n - 1 of the series of e^r (r not zero) that leave out
// less than 10^-digits of its sum: from n > 2|r| on the rest is below twice
// its first term |r|^n / n!, and the sum is at least e^-|r|.
std::uint64_t termsFor(const bigfloat& r, long digits) {
  const double size = std::fabs(getdouble(r));
  const double logSize = log10Magnitude(r) + 1e-9;
  const double bound = -static_cast<double>(digits) - 1 - (r.sign() < 0 ? size / std::log(10.0) : 0);
  double logTerm = 0;
  for (std::uint64_t n = 1;; ++n) {
    logTerm += logSize - std::log10(static_cast<double>(n));
    if (static_cast<double>(n) > 2 * size && logTerm < bound) return n;
  }
}

// The series of e^r (null r: e) over the terms [first, last), first >= 1, as
// the tally's share of the stage; the term k = 0 is left to the caller.
Split series(const bigfloat* r, std::uint64_t first, std::uint64_t last, Tally tally) {
  tally.total = static_cast<double>(splittingWork(last - first, kLeaf));
  return split(first, last, r, false, tally);
}

// (Q + T) / Q at q digits: 1 + the series.
bigfloat sumOf(const Split& s, long q) {
  const long w = q + Basedigits;
  return withPrecision(withPrecision(s.Q + s.T, w) / withPrecision(s.Q, w), q);
}

struct ECache {
  Split series{bigfloat(1), bigfloat(1), bigfloat()};
  std::uint64_t terms = 1;  // the series holds terms 1 .. terms - 1
  bigfloat value;
  long prec = 0;
};

ECache& eCache() {
  static ECache c;
  return c;
}

constexpr double kSeriesShare = 0.9;  // of e's stage, before the division

// The digits of the first piece of a bit-burst after the point: fewer make
// more pieces, more make its powers longer than the precision (measured best
// at 4 to 16 from 10 to 10^6 digits).
constexpr long kFirstDigits = 8;

// The pieces of r down to 10^-reach whose sum is r (cut there): first its
// integer part, taken positive (its series would cancel to e^-n from terms up
// to n^n / n!, which the cut products of the splitting do not keep; e^-n is
// 1 / e^n), then the digits (s, s + d] after the point, of r's sign, for s =
// 0, f, 2f, 4f, ... (f = kFirstDigits) and d = max(s, f). A piece below 10^-s
// needs about reach / s terms of d digits each, so the powers of every piece
// stay within about the precision. Pieces may be zero.
std::vector<bigfloat> bitBurst(const bigfloat& r, long reach) {
  // |r| in fixed point: word 0 the integer part (below 10^9), word t >= 1 the
  // digits 9t - 8 .. 9t after the point.
  const std::int64_t fractionWords = (reach + Basedigits - 1) / Basedigits;
  std::vector<std::uint32_t> fixed(static_cast<std::size_t>(fractionWords) + 1, 0);
  const std::int64_t size = static_cast<std::int64_t>(r.size()), top = r.wordExponent() - 1;  // word 0's index
  const std::int64_t from = std::max<std::int64_t>(0, top), to = std::min(size, top + fractionWords + 1);
  if (r.sign() != 0 && from < to)
    r.words(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from),
            &fixed[static_cast<std::size_t>(from - top)]);
  static constexpr std::uint32_t kPowers[10] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, Base};
  std::vector<bigfloat> pieces{bigfloat::fromWords(1, 1, INFINITE, fixed.data(), 1)};
  for (long s = 0; s < reach; s = std::max(2 * s, kFirstDigits)) {
    const long end = std::min(s + std::max(s, kFirstDigits), reach);
    const auto first = static_cast<std::size_t>(s / Basedigits + 1);
    const auto last = static_cast<std::size_t>((end - 1) / Basedigits + 1);
    std::vector<std::uint32_t> words(fixed.begin() + static_cast<std::ptrdiff_t>(first),
                                     fixed.begin() + static_cast<std::ptrdiff_t>(last + 1));
    words.front() %= kPowers[Basedigits - s % Basedigits];                            // the digits up to s belong above
    words.back() -= words.back() % kPowers[Basedigits - 1 - (end - 1) % Basedigits];  // those past end below
    pieces.push_back(
        bigfloat::fromWords(r.sign(), 1 - static_cast<std::int64_t>(first), INFINITE, words.data(), words.size()));
  }
  return pieces;
}

}  // namespace

bigfloat e(long p) {
  BIGNUM_CHECK(p != INFINITE, "x.prec () != INFINITE", "functions");
  ProgressStage stage("e");
  const std::uint64_t terms = termsFor(bigfloat(1), p + Basedigits);
  const Split s = series(nullptr, 1, terms, Tally{stage, 1, 0, kSeriesShare});
  stage.delegate(kSeriesShare, 1);
  return sumOf(s, p);
}

bigfloat cachedE(long p) {
  BIGNUM_CHECK(p != INFINITE, "x.prec () != INFINITE", "functions");
  ECache& c = eCache();
  if (c.prec < p) {
    // As for pi: the series continues after the terms summed, and the cache
    // takes the new series and value together at the end.
    ProgressStage stage("e");
    const std::uint64_t wanted = std::max(c.terms, termsFor(bigfloat(1), p + Basedigits));
    Split grown = c.series;
    if (wanted > c.terms) {
      const Split more = series(nullptr, c.terms, wanted, Tally{stage, 1, 0, kSeriesShare - 0.1});
      grown = c.terms == 1 ? more : Split{bigfloat(1), c.series.Q * more.Q, c.series.T * more.Q + more.T};
    }
    stage.delegate(kSeriesShare, 1);
    const bigfloat value = sumOf(grown, p);
    c.series = grown;
    c.terms = wanted;
    c.value = value;
    c.prec = p;
  }
  return withPrecision(c.value, p);
}

namespace steps {

void clearECache() { eCache() = ECache(); }

bigfloat expSeries(const bigfloat& r, long q, ProgressStage& stage) {
  const std::vector<bigfloat> pieces = bitBurst(r, q + 2 * Basedigits);
  // Each piece's share of the stage: its splitting's depth, as every level
  // costs about the same.
  std::vector<std::uint64_t> terms;
  double total = 0;
  for (const bigfloat& piece : pieces) {
    terms.push_back(piece.sign() == 0 ? 1 : termsFor(piece, q + Basedigits));
    total += std::log2(static_cast<double>(terms.back()) + 1);
  }
  const long w = q + Basedigits;
  bigfloat numerator(1), denominator(1);
  double done = 0;
  for (std::size_t j = 0; j < pieces.size(); ++j) {
    if (terms[j] <= 1) continue;  // e^piece is 1 to the precision
    const double share = std::log2(static_cast<double>(terms[j]) + 1) / total;
    const bool unit = pieces[j] == bigfloat(1);
    Tally tally{stage, 1, done, share};
    tally.limit = static_cast<std::size_t>(w / Basedigits + 3);
    const Split s = series(unit ? nullptr : &pieces[j], 1, terms[j], tally);
    done += share;
    const bool inverse = j == 0 && r.sign() < 0;
    (inverse ? denominator : numerator) *= withPrecision(s.Q + s.T, w);
    (inverse ? numerator : denominator) *= withPrecision(s.Q, w);
  }
  numerator.prec(w);
  denominator.prec(w);
  return withPrecision(numerator / denominator, q);
}

std::pair<bigfloat, bigfloat> sinCosSeries(const bigfloat& r, long q, ProgressStage& stage) {
  const std::vector<bigfloat> pieces = bitBurst(r, q + 2 * Basedigits);
  std::vector<std::uint64_t> terms;
  double total = 0;
  for (const bigfloat& piece : pieces) {
    terms.push_back(piece.sign() == 0 ? 1 : termsFor(abs(piece), q + Basedigits));
    total += std::log2(static_cast<double>(terms.back()) + 1);
  }
  const long w = q + Basedigits;
  // e^(i r) = prod_j (Q_j + T_j) / Q_j over the pieces.
  bigfloat re(1), im, denominator(1);
  double done = 0;
  for (std::size_t j = 0; j < pieces.size(); ++j) {
    if (terms[j] <= 1) continue;
    const double share = std::log2(static_cast<double>(terms[j]) + 1) / total;
    Tally tally{stage, static_cast<double>(splittingWork(terms[j] - 1, kLeaf)), done, share};
    tally.limit = static_cast<std::size_t>(w / Basedigits + 3);
    const TurnSplit s = turnSplit(1, terms[j], pieces[j], false, tally);
    done += share;
    const bigfloat a = withPrecision(s.Q + s.re, w), b = withPrecision(s.im, w);
    const bigfloat nextRe = withPrecision(re * a - im * b, w);
    im = withPrecision(re * b + im * a, w);
    re = nextRe;
    denominator = withPrecision(denominator * withPrecision(s.Q, w), w);
  }
  const bigfloat inverse = withPrecision(bigfloat(1), w) / withPrecision(denominator, w);
  return {withPrecision(im * inverse, q), withPrecision(re * inverse, q)};
}

}  // namespace steps

}  // namespace bignum
