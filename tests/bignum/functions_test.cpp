// The elementary functions against MPFR: fixed arguments spread over their
// domains at 81 and 1000 digits, random sweeps (also next to the precisions
// where the methods change), arguments next to +-1, large powers and
// remainders of large quotients; identities at random precisions; the series
// behind exp and the logarithms of small integers; pi, e and their caches,
// which stay bounded, factorial products, exact and saturated results and the
// complex functions.
#include "bignum/functions.h"

#include <gmpxx.h>
#include <gtest/gtest.h>
#include <mpfr.h>

#include <array>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "bignum/bigfloat.h"
#include "bignum/complexfn.h"
#include "bignum/fastfn.h"
#include "bignum/storage.h"
#include "support/MpfrReference.h"
#include "support/Watchdog.h"

namespace {

using bignum::bigfloat;

// Whether `ours` agrees with `exact` in every word but its last: the error is
// below one unit of its second-to-last word (for a zero result: the exact value
// lies below the precision's reach).
bool allButLastWord(const bigfloat& ours, mpfr_ptr exact, long digits) {
  MpfrReference unit(digits), error(digits, ours);
  mpfr_sub(error.get(), error.get(), exact, MPFR_RNDN);
  mpfr_abs(error.get(), error.get(), MPFR_RNDN);
  const std::int64_t exponent = ours.sign() == 0 ? -digits : 9 * (ours.wordExponent() - ours.wordPrecision() + 1);
  mpfr_set_str(unit.get(), ("1e" + std::to_string(exponent)).c_str(), 10, MPFR_RNDN);
  return mpfr_cmp(error.get(), unit.get()) < 0;
}

int agmOfOne(mpfr_ptr r, mpfr_srcptr x, mpfr_rnd_t rnd) {
  mpfr_t one;
  mpfr_init2(one, 2);
  mpfr_set_ui(one, 1, MPFR_RNDN);
  const int inexact = mpfr_agm(r, one, x, rnd);
  mpfr_clear(one);
  return inexact;
}

enum Domain { kAll, kClosed, kOpen, kPositive };  // kClosed: [-1, 1], kOpen: (-1, 1)

struct Function {
  const char* name;
  bigfloat (*ours)(const bigfloat&);
  Oracle theirs;
  Domain domain;
  int largest;    // arguments up to 10^largest
  bool periodic;  // also near multiples of pi/2
};

// clang-format off
const std::vector<Function> kFunctions = {
    {"log", [](const bigfloat& x) { return bignum::log(x); }, mpfr_log, kPositive, 300, false},
    {"exp", [](const bigfloat& x) { return bignum::exp(x); }, mpfr_exp, kAll, 8, false},
    {"sin", [](const bigfloat& x) { return bignum::sin(x); }, mpfr_sin, kAll, 30, true},
    {"cos", [](const bigfloat& x) { return bignum::cos(x); }, mpfr_cos, kAll, 30, true},
    {"tan", [](const bigfloat& x) { return bignum::tan(x); }, mpfr_tan, kAll, 30, true},
    {"asin", [](const bigfloat& x) { return bignum::asin(x); }, mpfr_asin, kClosed, 0, false},
    {"acos", [](const bigfloat& x) { return bignum::acos(x); }, mpfr_acos, kClosed, 0, false},
    {"atan", [](const bigfloat& x) { return bignum::atan(x); }, mpfr_atan, kAll, 30, false},
    {"atanh", [](const bigfloat& x) { return bignum::atanh(x); }, mpfr_atanh, kOpen, 0, false},
    {"sqrt", [](const bigfloat& x) { return bignum::sqrt(x); }, mpfr_sqrt, kPositive, 300, false},
    {"agm(1, x)", [](const bigfloat& x) { return bignum::agm(bigfloat(1), x); }, agmOfOne, kPositive, 30, false},
};
// clang-format on

bool defined(Domain domain, const bigfloat& x) {
  const int side = compare(x, bigfloat(1), true);
  return domain == kClosed ? side <= 0 : domain == kOpen ? side < 0 : domain == kAll || x.sign() > 0;
}

// f(x) against MPFR, at `digits` digits.
::testing::AssertionResult agrees(const Function& f, const bigfloat& x, long digits) {
  const bigfloat ours = f.ours(x);
  MpfrReference exact(digits);
  f.theirs(exact.get(), MpfrReference(digits, x).get(), MPFR_RNDN);
  if (allButLastWord(ours, exact.get(), digits)) return ::testing::AssertionSuccess();
  std::ostringstream shownX, shownOurs;
  shownX << x;
  shownOurs << ours;
  return ::testing::AssertionFailure() << f.name << "(" << shownX.str().substr(0, 120) << ") at " << digits
                                       << " digits = " << shownOurs.str().substr(0, 120);
}

// A random number of `count` digits, 0.ddd... (the leading digit not zero) times 10^exponent.
std::string randomNumber(std::mt19937_64& rng, long count, long exponent) {
  std::string text = "0." + std::string(1, static_cast<char>('1' + rng() % 9));
  for (long n = 1; n < count; ++n) text += static_cast<char>('0' + rng() % 10);
  return text + "e" + std::to_string(exponent);
}

// An argument for f at p digits of a magnitude where faults hide. Rounds 0 to
// 20 take the edges of +-1 in turn: 1 - d, 1 + d and d - 1 for d = 10^-k, k
// from 1 to past the precision (cut to it) and one unit of the last word. Later
// rounds, of either sign: below 10^-p and the precision's reach, 1 -+ a random
// distance (a negative round takes only these), moderate, large, and multiples
// of pi/2 for the periodic functions.
bigfloat argument(const Function& f, long p, int round, std::mt19937_64& rng) {
  const auto digits = [&] { return 1 + static_cast<long>(rng() % p); };
  const auto kind = round < 0 ? 1 : rng() % 5;
  bigfloat x;
  if (round >= 0 && round < 21) {
    const long lastWord = 9 * (bigfloat(1, p).wordPrecision() - 1);  // 1 + 10^-lastWord is 1 and a unit
    const long k = std::max(1L, std::array{1L, 2L, p / 2, p - 1, p, p + 20, lastWord}[round / 3]);
    const bigfloat d(("1e-" + std::to_string(k)).c_str(), bignum::INFINITE);
    x = round % 3 == 0 ? bigfloat(1) - d : round % 3 == 1 ? bigfloat(1) + d : d - bigfloat(1);
  } else if (kind == 1) {
    const long k = 1 + static_cast<long>(rng() % (p - 1));
    const bigfloat d(randomNumber(rng, digits(), 1 - k).c_str(), bignum::INFINITE);
    x = (rng() % 2 ? bigfloat(1) - d : bigfloat(1) + d) * bigfloat(rng() % 2 ? 1 : -1);
  } else if (kind == 4 && f.periodic) {
    x = bignum::pi(p + 20) * bigfloat(static_cast<int>(rng() % 2001) - 1000) / bigfloat(2);
  } else {
    const long exponent = kind == 0   ? -static_cast<long>(rng() % (6 * p))
                          : kind == 3 ? 1 + static_cast<long>(rng() % std::max(f.largest, 1))
                                      : static_cast<long>(rng() % 7) - 3;
    x = bigfloat(randomNumber(rng, digits(), exponent).c_str(), p) * bigfloat(rng() % 2 ? 1 : -1);
  }
  x.prec(p);
  return f.domain == kPositive ? abs(x) : x;
}

// Every function at precisions from one word to 1000 digits, at random ones
// from 2 to 26 words and from 10 to 20000 digits, a word on either side of
// each precision where a method gives way to another (the functions work two
// words beyond the precision asked) and, next to +-1, at 10000 digits. At two
// and three words of working precision the arithmetic-geometric mean under
// the logarithms cannot stop on agreeing digits next to 1 (their half is no
// whole number of words) and used to run forever; the watchdog names a case
// that hangs.
TEST(Functions, AgreeWithMpfrAcrossMagnitudes) {
  Watchdog watchdog(60);
  std::mt19937_64 rng(20261206);
  std::vector<std::pair<long, int>> table = {{9, 21},   {18, 21},   {27, 21}, {36, 21}, {81, 60},
                                             {500, 21}, {1000, 30}, {0, 20},  {-1, 3},  {10000, 1}};
  for (const long crossover :
       {bignum::steps::kShortExp, bignum::steps::kShortCircular, bignum::steps::kShortLog, bignum::steps::kShortAngle})
    for (const long side : {-9L, 9L}) table.emplace_back(crossover - 2 * 9 + side, 2);
  for (const auto& [digits, rounds] : table) {
    for (const Function& f : kFunctions) {
      for (int round = 0; round < rounds; ++round) {
        const long p = digits > 0    ? digits
                       : digits == 0 ? 9 * static_cast<long>(2 + rng() % 25)
                                     : 10 + static_cast<long>(rng() % 19991);
        const bigfloat x = argument(f, p, digits == 10000 ? -1 : digits < 0 || digits > 1000 ? 21 + round : round, rng);
        if (x.sign() == 0 || !defined(f.domain, x)) continue;
        std::ostringstream step;
        step << f.name << "(" << x << ") at " << p << " digits";
        watchdog.step(step.str());
        EXPECT_TRUE(agrees(f, x, p));
      }
    }
  }
}

// Identities at random precisions, which catch what one oracle value may
// miss: exp(log x) = x, sin^2 x + cos^2 x = 1 and atan(tan x) = x on
// (-pi/2, pi/2), each within a few units of the last word but one.
TEST(Functions, IdentitiesHoldAtRandomPrecisions) {
  std::mt19937_64 rng(20261207);
  for (int round = 0; round < 60; ++round) {
    const long p = round % 10 == 9 ? 5000 + static_cast<long>(rng() % 7000) : 10 + static_cast<long>(rng() % 3000);
    const bigfloat x(randomNumber(rng, p, static_cast<long>(rng() % 9) - 4).c_str(), p);
    const bigfloat angle = bigfloat(randomNumber(rng, p, 1).c_str(), p) / bigfloat(7);  // |angle| < 10/7 < pi/2
    const bigfloat signedAngle = round % 2 ? angle : -angle;
    const auto within = [p](const bigfloat& difference, const bigfloat& scale, long spareDigits) {
      return abs(difference) <= abs(scale) * bigfloat(("1e-" + std::to_string(p - 18 - spareDigits)).c_str(), p);
    };
    const bigfloat s = bignum::sin(signedAngle), c = bignum::cos(signedAngle);
    // exp magnifies the error of log x by log x's size: up to 6 digits here.
    EXPECT_TRUE(within(bignum::exp(bignum::log(x)) - x, x, 1)) << "exp(log x) at " << p << ": " << x;
    EXPECT_TRUE(within(s * s + c * c - bigfloat(1), bigfloat(1), 0)) << "sin^2 + cos^2 at " << p << ": " << signedAngle;
    EXPECT_TRUE(within(bignum::atan(bignum::tan(signedAngle)) - signedAngle, signedAngle, 1))
        << "atan(tan x) at " << p << ": " << signedAngle;
  }
}

// The caches of the functions hold numbers for a few precisions, never one
// per precision asked: after every function at 100 other precisions (and the
// logarithm at as many past the short methods), the words in memory are what
// they were after the first 100.
TEST(Functions, CachesStayBoundedOverManyPrecisions) {
  std::mt19937_64 rng(20261208);
  const auto sweep = [&rng] {
    for (int round = 0; round < 100; ++round) {
      const long p = 100 + static_cast<long>(rng() % 900),
                 longer = bignum::steps::kShortLog + 9 * static_cast<long>(1 + rng() % 400);
      const bigfloat x(randomNumber(rng, p, 0).c_str(), p);
      for (const Function& f : kFunctions) (void)f.ours(x);
      (void)bignum::pow(x, x * bigfloat(1000));
      (void)bignum::log(bigfloat(randomNumber(rng, longer, 1).c_str(), longer));
    }
    return bignum::heapWordsInUse();
  };
  bignum::clearFunctionCaches();
  const std::size_t first = sweep(), second = sweep();
  EXPECT_GT(first, 0U);
  EXPECT_LE(second, first + first / 4) << "words after the first sweep: " << first;
}

// Powers whose exponent makes y log x large: exp of it magnifies every digit
// that y log x misses. Exponents up to 10^6 of either sign, the general power
// against mpfr_pow and binary powering by the integer part against mpfr_pow_si.
TEST(Functions, PowersWithLargeExponentsAgreeWithMpfr) {
  std::mt19937_64 rng(20260418);
  for (const auto& [p, cases] : {std::pair{81L, 40}, {1000L, 8}, {10000L, 2}}) {
    for (int round = 0; round < cases; ++round) {
      // First 7^1000, which the calculator showed wrong, then random bases and exponents.
      const bool named = round == 0;
      const int sign = named || rng() % 2 ? 1 : -1;
      long limit = 1;
      for (auto digits = 1 + rng() % 6; digits > 0; --digits) limit *= 10;
      const int n = named ? 1000 : sign * static_cast<int>(rng() % (limit + 1));
      const long exponent = static_cast<long>(rng() % 41) - 20;
      bigfloat x =
          named ? bigfloat(7) : bigfloat(randomNumber(rng, 1 + static_cast<long>(rng() % p), exponent).c_str());
      x.prec(p);
      bigfloat y = bigfloat(n) + (named ? bigfloat() : bigfloat(randomNumber(rng, p, 0).c_str(), p) * bigfloat(sign));
      y.prec(p);
      const bigfloat xn = rng() % 2 ? x : -x;  // binary powering takes either sign
      MpfrReference general(p), integer(p);
      mpfr_pow(general.get(), MpfrReference(p, x).get(), MpfrReference(p, y).get(), MPFR_RNDN);
      mpfr_pow_si(integer.get(), MpfrReference(p, xn).get(), n, MPFR_RNDN);
      EXPECT_TRUE(allButLastWord(bignum::pow(x, y), general.get(), p)) << x << "^" << y << " at " << p << " digits";
      EXPECT_TRUE(allButLastWord(pow(xn, n), integer.get(), p)) << xn << "^" << n << " at " << p << " digits";
    }
  }
}

// Remainders of quotients with up to the precision's integer digits: x - t y
// cancels every word above the remainder's, which must still be exact to the
// operands' precision, also where y has more digits than x.
TEST(Functions, RemaindersOfLargeQuotientsAgreeWithMpfr) {
  std::mt19937_64 rng(20260419);
  for (int round = -2; round < 60; ++round) {
    // First the remainder the calculator showed wrong, of either sign.
    const bool named = round < 0;
    const long pa = named ? 81 : 9 * static_cast<long>(2 + rng() % 30);
    const long pb = !named && round % 3 == 0 ? 9 * pa : pa;
    const long quotientDigits = static_cast<long>(rng() % (pa - 9));
    const int signA = named ? (round == -2 ? 1 : -1) : rng() % 2 ? 1 : -1, signB = named || rng() % 2 ? 1 : -1;
    const bigfloat a =
        bigfloat(named ? "843294281456892932e12" : randomNumber(rng, pa, quotientDigits).c_str(), pa) * bigfloat(signA);
    const bigfloat b = bigfloat(named ? "0.4882" : randomNumber(rng, pb, 0).c_str(), pb) * bigfloat(signB);
    const long digits = std::max(pa, pb);
    MpfrReference exact(digits);
    mpfr_fmod(exact.get(), MpfrReference(digits, a).get(), MpfrReference(digits, b).get(), MPFR_RNDN);
    const bigfloat r = bignum::fmod(a, b);
    EXPECT_TRUE(allButLastWord(r, exact.get(), digits)) << a << " fmod " << b;
    EXPECT_EQ(r.prec(), std::min(a.prec(), b.prec())) << "from the remainder's own leading digit";
  }
}

// Arguments whose word count 10^9^k lies beyond a double's 2^53: the
// exponential still lands on its value, which its logarithm gives back.
TEST(Functions, ExpOfArgumentsBeyondADoublesDigits) {
  for (const char* text : {"1e17", "-4.578e17", "-98765432123456789.5", "2.5e17", "-1e16"}) {
    const bigfloat x(text, 81);
    const bigfloat y = bignum::exp(x);
    ASSERT_GT(y.sign(), 0) << text;
    EXPECT_FALSE(abs(bignum::log(y) - x) > abs(x) * bigfloat("1e-70", 81)) << text;
  }
}

// exp from one word to 10^5 digits: its argument whole (below 48; e^-n of a
// negative integer part as 1 / e^n) or reduced by ln 10^9, cut into pieces of
// doubling length; exp(1) is e. Logarithms of 2^a 3^b 5^c come from their
// series, of other numbers below 10^9 from the mean on x itself.
TEST(Functions, SeriesAgreeWithMpfr) {
  std::mt19937_64 rng(20261207);
  const char* const wholes[] = {"0", "-47", "48", "-1000000", "1"};  // "1" alone: e
  const char* const logs[] = {"6e17", "3", "1024", "7", "999999999"};
  for (const auto& [p, cases] : {std::pair{9L, 5}, {81L, 5}, {1000L, 5}, {100000L, 1}}) {
    for (int i = 0; i < cases; ++i) {
      const bigfloat whole(wholes[i], bignum::INFINITE), fraction(randomNumber(rng, p, 0).c_str(), p);
      bigfloat x = i == 4 ? whole : whole + fraction * bigfloat(whole.sign() < 0 ? -1 : 1);
      x.prec(p);
      EXPECT_TRUE(agrees(kFunctions[1], x, p));
      EXPECT_TRUE(agrees(kFunctions[0], bigfloat(logs[i], p), p));
    }
  }
}

// pi and e afresh at 10^4 digits, and their caches. (The sweep checks pi at
// fewer digits through sin, cos and tan; exp(1) above checks e.)
TEST(Constants, AgreeWithMpfrAndTheirCachesGrow) {
  const auto exactE = [](mpfr_ptr r) {
    mpfr_set_ui(r, 1, MPFR_RNDN);
    mpfr_exp(r, r, MPFR_RNDN);
  };
  const auto exactPi = [](mpfr_ptr r) { mpfr_const_pi(r, MPFR_RNDN); };
  for (const auto& [fresh, cached, theirs] :
       {std::tuple{&bignum::pi, &bignum::cachedPi, +exactPi}, std::tuple{&bignum::e, &bignum::cachedE, +exactE}}) {
    MpfrReference exact(10000);
    theirs(exact.get());
    EXPECT_TRUE(allButLastWord(fresh(10000), exact.get(), 10000));
    bignum::clearFunctionCaches();
    const bigfloat first = cached(81);
    EXPECT_EQ(cached(200), fresh(200)) << "the series is kept and continued as a fresh one";
    EXPECT_EQ(cached(81), first);
  }
  bignum::clearFunctionCaches();
  EXPECT_EQ(bignum::cachedPiTerms(), 0u);
  const std::size_t terms = (bignum::cachedPi(81), bignum::cachedPiTerms());
  EXPECT_TRUE(terms > 0 && (bignum::cachedPi(200), bignum::cachedPiTerms()) > terms);
}

TEST(Values, ExactAndSaturatedResults) {
  const bigfloat one = bignum::exp(bigfloat()), one81("1", 81);
  EXPECT_TRUE(one == bigfloat(1) && one.prec() == bignum::INFINITE && bignum::cos(bigfloat()) == one);
  for (const bigfloat& zero : {bignum::sin(bigfloat()), bignum::log(one81), bignum::acos(one81)})
    EXPECT_EQ(zero.sign(), 0);
  for (unsigned n : {0u, 1u, 20u, 100u, 500u}) {
    mpz_class factorial;
    mpz_fac_ui(factorial.get_mpz_t(), n);
    const bigfloat ours = bignum::factorialProduct(1, n);
    EXPECT_TRUE(ours == bigfloat(factorial.get_str().c_str()) && ours.prec() == bignum::INFINITE) << n;
  }
  EXPECT_EQ(bignum::factorialProduct(5, 3), bigfloat(60)) << "either order";
  // Beyond the exponent range: the largest number, or zero.
  const bigfloat huge = bignum::exp(bigfloat("1e33", 81));
  EXPECT_TRUE(huge > bigfloat("1e999999999999", 81) && huge.prec() == 81 &&
              bignum::exp(bigfloat("-1e33", 81)).sign() == 0);
  const bignum::bigcomplex far = bignum::exp(bignum::bigcomplex{bigfloat("1e33", 81), bigfloat("0.5", 81)});
  EXPECT_TRUE(far.re > bigfloat("1e999999999999", 81) &&
              bignum::exp(bignum::bigcomplex{bigfloat("-1e33", 81), bigfloat("0.5", 81)}).re.sign() == 0);
}

TEST(Complex, RootsLogarithmsAndExponentials) {
  using bignum::bigcomplex;
  const auto z = [](const char* re, const char* im) { return bigcomplex{bigfloat(re, 81), bigfloat(im, 81)}; };
  const auto near = [](const bigcomplex& a, const bigcomplex& b) {
    const bigfloat tolerance("1e-70", 81);
    return abs(a.re - b.re) < tolerance && abs(a.im - b.im) < tolerance;
  };
  const bigfloat pi = bignum::pi(81);
  EXPECT_TRUE(near(bignum::invroot(z("3", "4"), 2, 81), z("0.4", "-0.2"))) << "1 / (2 + i) = (2 - i) / 5";
  EXPECT_TRUE(near(bignum::sqrt(z("-4", "0")), z("0", "2")));
  EXPECT_TRUE(near(bignum::log(z("-1", "0")), bigcomplex{bigfloat(), pi})) << "the principal value";
  EXPECT_TRUE(near(bignum::exp(bigcomplex{bigfloat(), pi}), z("-1", "0")));
  // The precision of a complex number follows its larger part.
  EXPECT_EQ(std::tuple(bignum::prec(bigcomplex{bigfloat("1e20", 18), bigfloat("1", 18)}),
                       bignum::prec(bigcomplex{bigfloat("1", 18), bigfloat("1e20", 81)}),  // 18 digits, 18 below
                       bignum::prec(bigcomplex{bigfloat(), bigfloat("1", 27)})),
            std::tuple(18L, 36L, 27L));
}

TEST(FunctionsDeathTest, DomainsAreTheCallersToCheck) {
  EXPECT_DEATH(bignum::log(bigfloat("-1", 81)), "u.sign \\(\\) > 0");
  EXPECT_DEATH(bignum::log(bigfloat(2)), "x.prec \\(\\) != INFINITE");
  EXPECT_DEATH(bignum::log(bignum::bigcomplex{bigfloat(), bigfloat()}), "z.re.sign \\(\\) \\|\\| z.im.sign \\(\\)");
  EXPECT_DEATH(bignum::invroot(bignum::bigcomplex{bigfloat(), bigfloat()}, 2, 81),
               "u.re.sign \\(\\) \\|\\| u.im.sign \\(\\)");
}

}  // namespace
