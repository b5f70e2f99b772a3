// Stopping long computations from another thread, and their progress reports.
// A computation asked to stop 100 ms after it began throws Cancelled soon
// after; the flag stays set until cleared, the workspace is free, no file of a
// mantissa stays behind (the test main checks that too), and the same
// computation then agrees with MPFR, its operands and the caches of pi and
// log(10) being as good as before. The suite runs again with small limits,
// where long numbers live on disk and everything is slower: the sizes shrink.
#include "bignum/cancel.h"

#include <gtest/gtest.h>
#include <mpfr.h>

#include <chrono>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "bignum/bigfloat.h"
#include "bignum/functions.h"
#include "bignum/progress.h"
#include "bignum/scratch.h"
#include "support/MpfrReference.h"

namespace {

using bignum::bigfloat;
using Clock = std::chrono::steady_clock;

// A number of `digits` digits in (0.1, 1) made of pseudo-random words.
bigfloat operand(long digits, unsigned seed) {
  std::mt19937 rng(seed);
  std::vector<std::uint32_t> words(static_cast<std::size_t>(digits / 9));
  for (auto& w : words) w = rng() % bignum::Base;
  words[0] = 200000000 + seed;
  return bigfloat::fromWords(1, 0, digits / 9, words.data(), words.size());
}

bigfloat cut(bigfloat x, long digits) { return x.prec(digits); }

// Whether `ours` agrees with the exact value in every word but its last.
bool agrees(const bigfloat& ours, mpfr_ptr exact, long digits) {
  MpfrReference error(digits, ours), unit(digits);
  mpfr_sub(error.get(), error.get(), exact, MPFR_RNDN);
  const std::int64_t exponent = 9 * (ours.wordExponent() - ours.wordPrecision() + 1);
  mpfr_set_str(unit.get(), ("1e" + std::to_string(exponent)).c_str(), 10, MPFR_RNDN);
  return mpfr_cmpabs(error.get(), unit.get()) < 0;
}

// Sizes in digits with the default limits and with small ones, and of the
// check afterwards (a quarter of it with small limits).
const struct Computation {
  const char* what;
  long size, smallSize, check;
  bigfloat (*ours)(const bigfloat& x, const bigfloat& y);
  int (*theirs)(mpfr_ptr r, mpfr_srcptr x, mpfr_srcptr y);
} kComputations[] = {
    {"pi", 10000000, 200000, 20000, [](const bigfloat& x, const bigfloat&) { return bignum::cachedPi(x.prec()); },
     [](mpfr_ptr r, mpfr_srcptr, mpfr_srcptr) { return mpfr_const_pi(r, MPFR_RNDN); }},
    {"product", 20000000, 300000, 20000, [](const bigfloat& x, const bigfloat& y) { return x * y; },
     [](mpfr_ptr r, mpfr_srcptr x, mpfr_srcptr y) { return mpfr_mul(r, x, y, MPFR_RNDN); }},
    {"division", 10000000, 100000, 20000, [](const bigfloat& x, const bigfloat& y) { return x / y; },
     [](mpfr_ptr r, mpfr_srcptr x, mpfr_srcptr y) { return mpfr_div(r, x, y, MPFR_RNDN); }},
    {"exp", 1000000, 100000, 900, [](const bigfloat& x, const bigfloat&) { return bignum::exp(x); },
     [](mpfr_ptr r, mpfr_srcptr x, mpfr_srcptr) { return mpfr_exp(r, x, MPFR_RNDN); }},
    {"log", 1000000, 100000, 900, [](const bigfloat& x, const bigfloat&) { return bignum::log(x); },
     [](mpfr_ptr r, mpfr_srcptr x, mpfr_srcptr) { return mpfr_log(r, x, MPFR_RNDN); }},
};

TEST(Cancel, LongComputationsStopSoonAndLeaveAllUsable) {
  const bool small = bignum::limits().Memorythreshold < 1000;
  for (const Computation& c : kComputations) {
    SCOPED_TRACE(c.what);
    const long size = small ? c.smallSize : c.size, check = small ? c.check / 4 : c.check;
    const bigfloat x = operand(size, 1), y = operand(size, 2);
    const auto at = [&](long n) { return c.ours(cut(x, n), cut(y, n)); };
    bignum::clearFunctionCaches();
    at(check / 2);  // the caches now hold fewer digits than the check needs
    const std::size_t files = bignum::scratchFilesInUse();
    Clock::time_point asked;
    std::thread stopper([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      asked = Clock::now();
      bignum::requestCancel();
    });
    EXPECT_THROW(c.ours(x, y), bignum::Cancelled);
    const Clock::time_point stopped = Clock::now();
    stopper.join();
    EXPECT_LT(std::chrono::duration<double>(stopped - asked).count(), 1.0) << "seconds from the request";
    EXPECT_THROW(at(check), bignum::Cancelled) << "the flag stays set";
    bignum::clearCancel();
    EXPECT_FALSE(bignum::workspaceInUse());
    EXPECT_EQ(bignum::scratchFilesInUse(), files);
    MpfrReference exact(2 * check);
    c.theirs(exact.get(), MpfrReference(check, cut(x, check)).get(), MpfrReference(check, cut(y, check)).get());
    EXPECT_TRUE(agrees(at(check), exact.get(), 2 * check));
  }
  bignum::clearFunctionCaches();
}

struct Report {
  std::string stage;
  double fraction;
  Clock::time_point when;
};
std::vector<Report> reports;  // what the listener was told

// The listener sees pi's fraction grow to near 1, no more often than every
// 50 ms, and never the stages nested in it (products, roots, divisions).
TEST(Progress, PiReportsGrowingFractions) {
  bignum::setProgressListener([](const char* stage, double fraction) {
    reports.push_back({stage, fraction, Clock::now()});
  });
  Report last{"pi", 0, Clock::now()};
  bignum::pi(1000000);
  bignum::setProgressListener(nullptr);
  ASSERT_GE(reports.size(), 3u);
  EXPECT_GT(reports.back().fraction, 0.8);
  for (const Report& r : reports) {
    EXPECT_EQ(r.stage, "pi");
    EXPECT_TRUE(r.fraction >= last.fraction && r.fraction <= 1) << r.fraction;
    EXPECT_GE(r.when - last.when, std::chrono::milliseconds(45));
    last = r;
  }
}

}  // namespace
