// The elementary functions against MPFR at the equivalent bit precision.
//
//   ours/pi/n          pi to n digits from a cold cache, vs mpfr_const_pi after
//                      mpfr_free_cache plus mpfr_get_str to n decimal digits
//                      (ours are decimal already)
//   ours/exp|log|sin|cos|atan|asin|atanh/n   one call on an n-digit argument in
//                      (0, 1), with pi and log(10) cached on both sides
//   ours/pow/n         x^y for that argument x and y = 1000 x + 7
//
// Unless MEMORYTHRESHOLD is set, long numbers are kept in memory. pi to 10^7
// digits takes several seconds a side: --benchmark_filter='pi/1000000$' and
// the like pick the runs wanted.
#include <gmp.h>
#include <mpfr.h>

#include <cmath>
#include <map>
#include <random>
#include <string>

#include "Comparison.h"
#include "bignum/bigfloat.h"
#include "bignum/functions.h"

namespace {

using bignum::bigfloat;

long digits(const benchmark::State& state) { return static_cast<long>(state.range(0)); }

mpfr_prec_t bitsFor(long n) { return static_cast<mpfr_prec_t>(std::ceil(static_cast<double>(n) * std::log2(10.0))); }

// A random argument 0.d1d2...dn with d1 != 0, the same for both sides.
const std::string& argumentFor(long n) {
  static std::map<long, std::string> cache;
  std::string& s = cache[n];
  if (s.empty()) {
    std::mt19937 rng(static_cast<unsigned>(n));
    s = "0.";
    for (long i = 0; i < n; ++i) s += static_cast<char>('0' + rng() % 10);
    if (s[2] == '0') s[2] = '6';
  }
  return s;
}

// --- pi ---------------------------------------------------------------------

void oursPi(benchmark::State& state) {
  for (auto _ : state) {
    bignum::clearFunctionCaches();
    const bigfloat p = bignum::pi(digits(state));
    benchmark::DoNotOptimize(p.record());
  }
}

void peerPi(benchmark::State& state) {
  mpfr_t p;
  mpfr_init2(p, bitsFor(digits(state)));
  for (auto _ : state) {
    mpfr_free_cache();
    mpfr_const_pi(p, MPFR_RNDN);
    mpfr_exp_t exponent;
    char* text = mpfr_get_str(nullptr, &exponent, 10, static_cast<std::size_t>(digits(state)), p, MPFR_RNDN);
    benchmark::DoNotOptimize(text);
    mpfr_free_str(text);
  }
  mpfr_clear(p);
}

// --- one-argument functions ----------------------------------------------

template <bigfloat (*F)(const bigfloat&)>
void ours(benchmark::State& state) {
  const bigfloat x(argumentFor(digits(state)).c_str(), digits(state));
  benchmark::DoNotOptimize(F(x).record());  // fills the caches of pi and log(10)
  for (auto _ : state) {
    const bigfloat r = F(x);
    benchmark::DoNotOptimize(r.record());
  }
}

template <int (*F)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t)>
void peer(benchmark::State& state) {
  mpfr_t x, r;
  mpfr_inits2(bitsFor(digits(state)), x, r, nullptr);
  mpfr_set_str(x, argumentFor(digits(state)).c_str(), 10, MPFR_RNDN);
  F(r, x, MPFR_RNDN);  // fills MPFR's constant caches
  for (auto _ : state) {
    F(r, x, MPFR_RNDN);
    benchmark::DoNotOptimize(r);
  }
  mpfr_clears(x, r, nullptr);
}

// x^y with x the n-digit argument and y = 1000 x + 7, a large exponent: the
// general power takes guard digits as long as y log x has before its point.
void oursPow(benchmark::State& state) {
  const bigfloat x(argumentFor(digits(state)).c_str(), digits(state));
  const bigfloat y = x * bigfloat(1000) + bigfloat(7);
  benchmark::DoNotOptimize(bignum::pow(x, y).record());
  for (auto _ : state) {
    const bigfloat r = bignum::pow(x, y);
    benchmark::DoNotOptimize(r.record());
  }
}

void peerPow(benchmark::State& state) {
  mpfr_t x, y, r;
  mpfr_inits2(bitsFor(digits(state)), x, y, r, nullptr);
  mpfr_set_str(x, argumentFor(digits(state)).c_str(), 10, MPFR_RNDN);
  mpfr_mul_ui(y, x, 1000, MPFR_RNDN);
  mpfr_add_ui(y, y, 7, MPFR_RNDN);
  mpfr_pow(r, x, y, MPFR_RNDN);
  for (auto _ : state) {
    mpfr_pow(r, x, y, MPFR_RNDN);
    benchmark::DoNotOptimize(r);
  }
  mpfr_clears(x, y, r, nullptr);
}

bigfloat ourExp(const bigfloat& x) { return bignum::exp(x); }
bigfloat ourAsin(const bigfloat& x) { return bignum::asin(x); }
bigfloat ourAtanh(const bigfloat& x) { return bignum::atanh(x); }
bigfloat ourLog(const bigfloat& x) { return bignum::log(x); }
bigfloat ourSin(const bigfloat& x) { return bignum::sin(x); }
bigfloat ourCos(const bigfloat& x) { return bignum::cos(x); }
bigfloat ourAtan(const bigfloat& x) { return bignum::atan(x); }

#define PAIR(name, ourFn, peerFn, args)                      \
  BENCHMARK(ourFn)->Name("ours/" name)->args->UseRealTime(); \
  BENCHMARK(peerFn)->Name("peer/" name)->args->UseRealTime();

PAIR("pi", oursPi, peerPi, Arg(10000)->Arg(100000)->Arg(1000000)->Arg(10000000)->Unit(benchmark::kMillisecond))
// Every function at 81 digits (the calculator's default) and at 10^3 to 10^6;
// --benchmark_filter picks the precisions wanted (10^6 takes seconds a side).
#define FUNCTION(name, ourFn, peerFn)                               \
  PAIR(name, ourFn, peerFn, Arg(81)->Unit(benchmark::kMicrosecond)) \
  PAIR(name, ourFn, peerFn, Arg(1000)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond))

FUNCTION("exp", ours<ourExp>, peer<mpfr_exp>)
FUNCTION("log", ours<ourLog>, peer<mpfr_log>)
FUNCTION("sin", ours<ourSin>, peer<mpfr_sin>)
FUNCTION("cos", ours<ourCos>, peer<mpfr_cos>)
FUNCTION("atan", ours<ourAtan>, peer<mpfr_atan>)
FUNCTION("asin", ours<ourAsin>, peer<mpfr_asin>)
FUNCTION("atanh", ours<ourAtanh>, peer<mpfr_atanh>)
FUNCTION("pow", oursPow, peerPow)

}  // namespace

int main(int argc, char** argv) { return numbrix_bench::runComparison(argc, argv); }
