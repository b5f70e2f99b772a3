// The elementary functions against MPFR at the equivalent bit precision.
//
//   ours/pi/n          pi to n digits from a cold cache, vs mpfr_const_pi after
//                      mpfr_free_cache plus mpfr_get_str to n decimal digits
//                      (ours are decimal already)
//   ours/exp|log|sin|atan/n   one call on an n-digit argument in (0, 1), with
//                      pi and log(10) cached on both sides
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

bigfloat ourExp(const bigfloat& x) { return bignum::exp(x); }
bigfloat ourLog(const bigfloat& x) { return bignum::log(x); }
bigfloat ourSin(const bigfloat& x) { return bignum::sin(x); }
bigfloat ourAtan(const bigfloat& x) { return bignum::atan(x); }

#define PAIR(name, ourFn, peerFn, args)                      \
  BENCHMARK(ourFn)->Name("ours/" name)->args->UseRealTime(); \
  BENCHMARK(peerFn)->Name("peer/" name)->args->UseRealTime();

PAIR("pi", oursPi, peerPi, Arg(10000)->Arg(100000)->Arg(1000000)->Arg(10000000)->Unit(benchmark::kMillisecond))
PAIR("exp", ours<ourExp>, peer<mpfr_exp>, Arg(81)->Unit(benchmark::kMicrosecond))
PAIR("log", ours<ourLog>, peer<mpfr_log>, Arg(81)->Unit(benchmark::kMicrosecond))
PAIR("sin", ours<ourSin>, peer<mpfr_sin>, Arg(81)->Unit(benchmark::kMicrosecond))
PAIR("atan", ours<ourAtan>, peer<mpfr_atan>, Arg(81)->Unit(benchmark::kMicrosecond))
PAIR("exp", ours<ourExp>, peer<mpfr_exp>, Arg(10000)->Arg(1000000)->Unit(benchmark::kMillisecond))
PAIR("log", ours<ourLog>, peer<mpfr_log>, Arg(10000)->Arg(1000000)->Unit(benchmark::kMillisecond))
PAIR("sin", ours<ourSin>, peer<mpfr_sin>, Arg(10000)->Unit(benchmark::kMillisecond))
PAIR("atan", ours<ourAtan>, peer<mpfr_atan>, Arg(10000)->Unit(benchmark::kMillisecond))

}  // namespace

int main(int argc, char** argv) { return numbrix_bench::runComparison(argc, argv); }
