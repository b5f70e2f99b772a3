// The elementary functions against MPFR at 81 and 1000 digits, with fixed arguments
// spread over their domains; pi, its cache and factorial products.
#include <gmp.h>
#include <gtest/gtest.h>
#include <mpfr.h>

#include <cmath>
#include <functional>
#include <random>
#include <sstream>

#include "bignum/bigfloat.h"
#include "bignum/complexfn.h"
#include "bignum/functions.h"
#include "support/MpfrReference.h"
#include "support/Watchdog.h"

namespace {

using bignum::bigfloat;

using Reference = MpfrReference;

// Whether `ours` agrees with `exact` in every word but its last: the error is
// below one unit of its second-to-last word.
bool allButLastWord(const bigfloat& ours, mpfr_ptr exact, long digits) {
  Reference value(digits), unit(digits);
  value.set(ours);
  mpfr_sub(value.get(), value.get(), exact, MPFR_RNDN);
  mpfr_abs(value.get(), value.get(), MPFR_RNDN);
  if (ours.sign() == 0) {
    // A zero result: the exact value must be below the precision's reach.
    mpfr_set_str(unit.get(), ("1e-" + std::to_string(digits)).c_str(), 10, MPFR_RNDN);
    return mpfr_cmp(value.get(), unit.get()) < 0;
  }
  const long p = ours.wordPrecision();
  const std::int64_t exponent = 9 * (ours.wordExponent() - p + 1);
  mpfr_set_str(unit.get(), ("1e" + std::to_string(exponent)).c_str(), 10, MPFR_RNDN);
  return mpfr_cmp(value.get(), unit.get()) < 0;
}

using Ours = std::function<bigfloat(const bigfloat&)>;
using Theirs = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t);

struct Function {
  const char* name;
  Ours ours;
  Theirs theirs;
  std::vector<const char*> arguments;
};

const std::vector<Function>& functions() {
  static const std::vector<Function> all = {
      {"log", [](const bigfloat& x) { return bignum::log(x); }, mpfr_log,
       {"1e-100", "0.5", "1.0000000000000000000000000000000000000001", "0.99999999999999999999999999999999999999",
        "2", "10", "12345.6789", "1e100", "7e-300",
        // At 81 digits 1 - x lies in x's last word.
        "0.999999999999999999999999999999999999999999999999999999999999999999999999999999995"}},
      {"exp", [](const bigfloat& x) { return bignum::exp(x); }, mpfr_exp,
       {"1e-40", "-1e-40", "0.5", "-0.5", "1", "-1", "2.302585", "100", "-100", "12345.678", "-12345.678", "1e-5000",
        "-3e-5000", "1e7", "-1e7", "123456789.123", "-98765432.1"}},
      {"sin", [](const bigfloat& x) { return bignum::sin(x); }, mpfr_sin,
       {"1e-30", "0.5", "-0.5", "1", "2", "3.14159", "1e6", "-1e6", "1e30", "pi", "2pi", "-7pi", "100pi", "1e-35",
        "-3e-40", "1e-5000"}},
      {"cos", [](const bigfloat& x) { return bignum::cos(x); }, mpfr_cos,
       {"1e-30", "0.5", "-0.5", "1", "2", "1e6", "1e30", "pi", "halfpi", "-3halfpi", "1e-35", "-2e-5000"}},
      {"tan", [](const bigfloat& x) { return bignum::tan(x); }, mpfr_tan,
       {"1e-30", "0.5", "-1", "1.5", "1e6", "pi", "halfpi", "-3halfpi", "2e-36", "-1e-5000"}},
      {"asin", [](const bigfloat& x) { return bignum::asin(x); }, mpfr_asin,
       {"1e-30", "0.5", "-0.5", "0.9999999999999999999999999999999999999999", "-0.9999999999999999999999999999999999999999",
        "1", "-1", "0.70710678", "1e-35", "-1e-5000"}},
      {"acos", [](const bigfloat& x) { return bignum::acos(x); }, mpfr_acos,
       {"1e-30", "0.5", "-0.5", "0.9999999999999999999999999999999999999999", "-0.9999999999999999999999999999999999999999",
        "-1", "0.70710678", "1e-35", "1e-5000"}},
      {"atan", [](const bigfloat& x) { return bignum::atan(x); }, mpfr_atan,
       {"1e-30", "0.5", "-2", "1", "1e30", "-1e30", "1e-200", "123.456", "-4e-36", "1e-5000"}},
      {"atanh", [](const bigfloat& x) { return bignum::atanh(x); }, mpfr_atanh,
       {"1e-30", "-0.5", "0.9999999999999999999999999999999999999999", "1e-35", "-4e-36", "1e-5000",
        "0.9999999999999999999999999999999999999999999999999999999999999999999999999999999"}},
  };
  return all;
}

// An argument: a decimal text, or a multiple of pi or pi/2 at the precision.
bigfloat argument(const std::string& text, long digits) {
  const auto at = [&](const char* suffix) { return text.find(suffix); };
  for (const char* suffix : {"halfpi", "pi"}) {
    const auto position = at(suffix);
    if (position == std::string::npos) continue;
    const std::string factor = text.substr(0, position);
    bigfloat value = bignum::pi(digits);
    if (std::string(suffix) == "halfpi") value = value / bigfloat(2);
    return factor.empty() ? value : value * bigfloat((factor + "").c_str(), digits);
  }
  return bigfloat(text.c_str(), digits);
}

class Functions : public ::testing::TestWithParam<long> {};

TEST_P(Functions, AgreeWithMpfrInAllButTheLastWord) {
  const long digits = GetParam();
  for (const Function& f : functions()) {
    for (const char* text : f.arguments) {
      const bigfloat x = argument(text, digits);
      const bigfloat ours = f.ours(x);
      Reference in(digits), exact(digits);
      in.set(x);
      f.theirs(exact.get(), in.get(), MPFR_RNDN);
      std::ostringstream shown;
      shown << ours;
      EXPECT_TRUE(allButLastWord(ours, exact.get(), digits))
          << f.name << "(" << text << ") at " << digits << " digits = " << shown.str().substr(0, 120);
    }
  }
}

TEST_P(Functions, PowersAgreeWithMpfr) {
  const long digits = GetParam();
  const std::pair<const char*, const char*> cases[] = {
      {"2", "0.5"}, {"10", "-3.5"}, {"0.5", "100"}, {"1.0001", "1e5"}, {"123.456", "7.89"}};
  for (auto [base, power] : cases) {
    const bigfloat x(base, digits), y(power, digits);
    Reference bx(digits), by(digits), exact(digits);
    bx.set(x);
    by.set(y);
    mpfr_pow(exact.get(), bx.get(), by.get(), MPFR_RNDN);
    EXPECT_TRUE(allButLastWord(bignum::pow(x, y), exact.get(), digits)) << base << "^" << power;
  }
}

INSTANTIATE_TEST_SUITE_P(Precisions, Functions, ::testing::Values(81, 1000),
                         [](const auto& info) { return "digits" + std::to_string(info.param); });

// Random arguments and precisions from 2 to 26 words: leading words of one
// digit, arguments near 1 and the word boundaries of each step's precision
// come up here that fixed arguments miss.
TEST(Functions, RandomArgumentsAgreeWithMpfr) {
  std::mt19937_64 rng(20261206);
  const std::vector<Function>& all = functions();
  for (int round = 0; round < 240; ++round) {
    const Function& f = all[rng() % all.size()];
    const std::string name = f.name;
    const long digits = 9 * static_cast<long>(2 + rng() % 25);
    std::string text = rng() % 2 ? "-0." : "0.";
    // Sometimes leading zeros, so the leading word holds few digits.
    text += std::string(rng() % 3 == 0 ? rng() % 9 : 0, '0');
    for (auto n = 1 + rng() % (digits + 5); n > 0; --n) text += static_cast<char>('0' + rng() % 10);
    const bool bounded = name == "asin" || name == "acos" || name == "atanh";
    const int exponent = bounded ? -static_cast<int>(rng() % 30)
                         : name == "exp" ? static_cast<int>(rng() % 8) - 4
                                         : static_cast<int>(rng() % 60) - 30;
    text += "e" + std::to_string(exponent);
    bigfloat x(text.c_str(), digits);
    if (name == "log") x = abs(x);
    if (x.sign() == 0 || (bounded && abs(x) > bigfloat(1))) continue;
    const bigfloat ours = f.ours(x);
    Reference in(digits), exact(digits);
    in.set(x);
    f.theirs(exact.get(), in.get(), MPFR_RNDN);
    EXPECT_TRUE(allButLastWord(ours, exact.get(), digits)) << f.name << "(" << text << ") at " << digits << " digits";
  }
}

// A precision and how many random cases to try at it.
struct PrecisionRun {
  long digits;
  int cases;
};

// A random number of `count` digits, 0.ddd... (the leading digit not zero) times 10^exponent.
std::string randomNumber(std::mt19937_64& rng, long count, long exponent) {
  std::string text = "0." + std::string(1, static_cast<char>('1' + rng() % 9));
  for (long n = 1; n < count; ++n) text += static_cast<char>('0' + rng() % 10);
  return text + "e" + std::to_string(exponent);
}

// Arguments within 10^-k of 1 or -1, k up to the precision: 1 - x and 1 + x
// cancel every digit above the k-th, and the digits the exact difference has
// past the precision must carry the result. The closest, 1 - 10^-(p - 1) and
// beyond, of either sign at each precision; then random distances.
TEST(Functions, InversesNearPlusOrMinusOneAgreeWithMpfr) {
  const Function inverses[] = {{"asin", [](const bigfloat& x) { return bignum::asin(x); }, mpfr_asin, {}},
                               {"acos", [](const bigfloat& x) { return bignum::acos(x); }, mpfr_acos, {}},
                               {"atanh", [](const bigfloat& x) { return bignum::atanh(x); }, mpfr_atanh, {}}};
  std::mt19937_64 rng(20260417);
  for (const PrecisionRun run : {PrecisionRun{81, 60}, PrecisionRun{1000, 9}, PrecisionRun{10000, 3}}) {
    const long p = run.digits;
    for (int round = -6; round < run.cases; ++round) {
      // The six closest first: each function at each sign, 1 - x near 10^-(p - 1).
      const Function& f = inverses[round < 0 ? (round + 6) / 2 : rng() % 3];
      const int sign = round < 0 ? (round % 2 == 0 ? 1 : -1) : (rng() % 2 ? 1 : -1);
      const long k = round < 0 ? p - 1 : 1 + static_cast<long>(rng() % (p - 1));
      const bigfloat distance(randomNumber(rng, 1 + static_cast<long>(rng() % p), 1 - k).c_str(), bignum::INFINITE);
      bigfloat x = bigfloat(1) - distance;
      x.prec(p);
      if (sign < 0) x = -x;
      Reference in(p), exact(p);
      in.set(x);
      f.theirs(exact.get(), in.get(), MPFR_RNDN);
      EXPECT_TRUE(allButLastWord(f.ours(x), exact.get(), p))
          << f.name << "(" << (sign < 0 ? "-" : "") << "(1 - " << distance << ")) at " << p << " digits";
    }
  }
}

// Arguments within the last digits of +-1, and beyond 1 where the function is
// defined there, from a precision of one word on: 1 -+ 10^-k for k from 1 to
// past the precision (cut to it: one unit of the last word below 1) and one
// unit of the last word above 1. At two and three words of working precision
// the arithmetic-geometric mean under the logarithms cannot stop on agreeing
// digits (their half is no whole number of words) and used to run forever;
// the watchdog names a case that hangs.
TEST(Functions, ArgumentsNextToOneAnswerAtOnceAtEveryPrecision) {
  const auto agmOfOne = [](mpfr_ptr r, mpfr_srcptr x, mpfr_rnd_t rnd) {
    mpfr_t one;
    mpfr_init2(one, 2);
    mpfr_set_ui(one, 1, MPFR_RNDN);
    const int inexact = mpfr_agm(r, one, x, rnd);
    mpfr_clear(one);
    return inexact;
  };
  enum Domain { kAll, kClosed, kOpen, kPositive };
  const struct {
    Function f;
    Domain domain;
  } cases[] = {
      {{"asin", [](const bigfloat& x) { return bignum::asin(x); }, mpfr_asin, {}}, kClosed},
      {{"acos", [](const bigfloat& x) { return bignum::acos(x); }, mpfr_acos, {}}, kClosed},
      {{"atan", [](const bigfloat& x) { return bignum::atan(x); }, mpfr_atan, {}}, kAll},
      {{"atanh", [](const bigfloat& x) { return bignum::atanh(x); }, mpfr_atanh, {}}, kOpen},
      {{"log", [](const bigfloat& x) { return bignum::log(x); }, mpfr_log, {}}, kPositive},
      {{"sqrt", [](const bigfloat& x) { return bignum::sqrt(x); }, mpfr_sqrt, {}}, kPositive},
      {{"agm(1, x)", [](const bigfloat& x) { return bignum::agm(bigfloat(1), x); }, agmOfOne, {}}, kPositive},
  };
  const auto defined = [](Domain domain, const bigfloat& x) {
    const int side = compare(x, bigfloat(1), true);
    return domain == kClosed ? side <= 0 : domain == kOpen ? side < 0 : domain == kAll || x.sign() > 0;
  };
  Watchdog watchdog(20);
  for (const long p : {9L, 18L, 27L, 36L, 81L, 500L}) {
    const long lastWord = 9 * (bigfloat(1, p).wordPrecision() - 1);  // 1 + 10^-lastWord is 1 and a unit
    for (const long k : {1L, 2L, p / 2, p - 1, p, p + 20, lastWord}) {
      if (k <= 0) continue;
      const bigfloat distance(("1e-" + std::to_string(k)).c_str(), bignum::INFINITE);
      for (const bigfloat& exact : {bigfloat(1) - distance, bigfloat(1) + distance, distance - bigfloat(1)}) {
        bigfloat x = exact;
        x.prec(p);
        for (const auto& [f, domain] : cases) {
          if (!defined(domain, x)) continue;
          std::ostringstream name;
          name << f.name << "(" << exact << ") at " << p << " digits";
          watchdog.step(name.str());
          const bigfloat ours = f.ours(x);
          Reference in(p), theirs(p);
          in.set(x);
          f.theirs(theirs.get(), in.get(), MPFR_RNDN);
          EXPECT_TRUE(allButLastWord(ours, theirs.get(), p)) << name.str();
        }
      }
    }
  }
}

// Powers whose exponent makes y log x large: exp of it magnifies every digit
// that y log x misses. Exponents up to 10^6 of either sign, the general power
// against mpfr_pow and binary powering by the integer part against mpfr_pow_si.
TEST(Functions, PowersWithLargeExponentsAgreeWithMpfr) {
  std::mt19937_64 rng(20260418);
  for (const PrecisionRun run : {PrecisionRun{81, 40}, PrecisionRun{1000, 8}, PrecisionRun{10000, 2}}) {
    const long p = run.digits;
    for (int round = 0; round < run.cases; ++round) {
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
      Reference bx(p), by(p), bxn(p), general(p), integer(p);
      bx.set(x);
      by.set(y);
      bxn.set(xn);
      mpfr_pow(general.get(), bx.get(), by.get(), MPFR_RNDN);
      mpfr_pow_si(integer.get(), bxn.get(), n, MPFR_RNDN);
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
    Reference ra(digits), rb(digits), exact(digits);
    ra.set(a);
    rb.set(b);
    mpfr_fmod(exact.get(), ra.get(), rb.get(), MPFR_RNDN);
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

TEST(Pi, AgreesWithMpfrAndItsCacheGrows) {
  bignum::clearFunctionCaches();
  for (long digits : {81L, 1000L, 10000L}) {
    Reference exact(digits);
    mpfr_const_pi(exact.get(), MPFR_RNDN);
    EXPECT_TRUE(allButLastWord(bignum::pi(digits), exact.get(), digits)) << digits;
  }
  bignum::clearFunctionCaches();
  EXPECT_EQ(bignum::cachedPiTerms(), 0u);
  const bigfloat first = bignum::cachedPi(81);
  const std::size_t terms = bignum::cachedPiTerms();
  EXPECT_GT(terms, 0u);
  const bigfloat more = bignum::cachedPi(200);
  EXPECT_GT(bignum::cachedPiTerms(), terms) << "the series is continued";
  EXPECT_EQ(more, bignum::pi(200)) << "and gives what a fresh computation gives";
  EXPECT_EQ(bignum::cachedPi(81), first);
}

TEST(Values, ExactAndSpecialResults) {
  EXPECT_EQ(bignum::exp(bigfloat()), bigfloat(1));
  EXPECT_EQ(bignum::exp(bigfloat()).prec(), bignum::INFINITE);
  EXPECT_EQ(bignum::sin(bigfloat()).sign(), 0);
  EXPECT_EQ(bignum::cos(bigfloat()), bigfloat(1));
  EXPECT_EQ(bignum::log(bigfloat("1", 81)).sign(), 0);
  EXPECT_EQ(bignum::acos(bigfloat("1", 81)).sign(), 0);
  EXPECT_EQ(bignum::log(bigfloat("10", 81)), bignum::log(bigfloat("10", 81)));
  for (unsigned n : {0u, 1u, 20u, 100u, 500u}) {
    mpz_t f;
    mpz_init(f);
    mpz_fac_ui(f, n);
    char* text = mpz_get_str(nullptr, 10, f);
    EXPECT_EQ(bignum::factorialProduct(1, n), bigfloat(text, bignum::INFINITE)) << n;
    EXPECT_EQ(bignum::factorialProduct(1, n).prec(), bignum::INFINITE);
    free(text);
    mpz_clear(f);
  }
  EXPECT_EQ(bignum::factorialProduct(5, 3), bigfloat(60)) << "either order";
  // Beyond the exponent range: the largest number, or zero.
  const bigfloat huge = bignum::exp(bigfloat("1e33", 81));
  EXPECT_GT(huge, bigfloat("1e999999999999", 81));
  EXPECT_EQ(huge.prec(), 81);
  EXPECT_EQ(bignum::exp(bigfloat("-1e33", 81)).sign(), 0);
  const bignum::bigcomplex far = bignum::exp(bignum::bigcomplex{bigfloat("1e33", 81), bigfloat("0.5", 81)});
  EXPECT_GT(far.re, bigfloat("1e999999999999", 81));
  EXPECT_EQ(bignum::exp(bignum::bigcomplex{bigfloat("-1e33", 81), bigfloat("0.5", 81)}).re.sign(), 0);
}

TEST(Complex, RootsLogarithmsAndExponentials) {
  using bignum::bigcomplex;
  const long p = 81;
  auto near = [](const bigfloat& a, const char* b) {
    return abs(a - bigfloat(b, 81)) < bigfloat("1e-70", 81);
  };
  const bigcomplex z{bigfloat("3", p), bigfloat("4", p)};
  const bigcomplex r = bignum::invroot(z, 2, p);  // 1 / (2 + i) = (2 - i) / 5
  EXPECT_TRUE(near(r.re, "0.4") && near(r.im, "-0.2"));
  const bigcomplex s = bignum::sqrt(z);
  EXPECT_TRUE(near(s.re, "2") && near(s.im, "1"));
  const bigcomplex m = bignum::sqrt(bigcomplex{bigfloat("-4", p), bigfloat()});
  EXPECT_TRUE(near(m.re, "0") && near(m.im, "2"));
  const bigfloat pi = bignum::pi(p);
  const bigcomplex l = bignum::log(bigcomplex{bigfloat("-1", p), bigfloat()});
  EXPECT_TRUE(near(l.re, "0") && abs(l.im - pi) < bigfloat("1e-70", p)) << "the principal value";
  const bigcomplex e = bignum::exp(bigcomplex{bigfloat(), pi});
  EXPECT_TRUE(near(e.re, "-1") && near(e.im, "0"));
  // The precision of a complex number follows its larger part.
  EXPECT_EQ(bignum::prec(bigcomplex{bigfloat("1e20", 18), bigfloat("1", 18)}), 18);
  EXPECT_EQ(bignum::prec(bigcomplex{bigfloat("1", 18), bigfloat("1e20", 81)}), 36) << "18 digits, 18 below";
  EXPECT_EQ(bignum::prec(bigcomplex{bigfloat(), bigfloat("1", 27)}), 27);
}

TEST(FunctionsDeathTest, DomainsAreTheCallersToCheck) {
  EXPECT_DEATH(bignum::log(bigfloat("-1", 81)), "u.sign \\(\\) > 0");
  EXPECT_DEATH(bignum::log(bigfloat(2)), "x.prec \\(\\) != INFINITE");
  EXPECT_DEATH(bignum::log(bignum::bigcomplex{bigfloat(), bigfloat()}), "z.re.sign \\(\\) \\|\\| z.im.sign \\(\\)");
  EXPECT_DEATH(bignum::invroot(bignum::bigcomplex{bigfloat(), bigfloat()}, 2, 81),
               "u.re.sign \\(\\) \\|\\| u.im.sign \\(\\)");
}

}  // namespace
