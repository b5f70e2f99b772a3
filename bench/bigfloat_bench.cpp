// The number type against GMP and MPFR on the same operands.
//
//   ours/sum|product|quotient|root/81   vs MPFR at 270 bits (81 digits)
//   ours/full/n      exact n-digit integers multiplied, vs GMP mpz_mul (with
//                    rows around the crossovers of the schoolbook, Karatsuba's
//                    method and the transform at 17 and 380 words)
//   ours/multiply/n  n-digit numbers at n digits, vs MPFR at n log2(10) bits
//   ours/divide/n, ours/sqrt/n          vs MPFR at n log2(10) bits
//   ours/output/1000000                 decimal text vs mpfr_get_str
//
// Unless MEMORYTHRESHOLD is set, long numbers are kept in memory.
#include <gmp.h>
#include <mpfr.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <random>
#include <sstream>
#include <string>

#include "Comparison.h"
#include "bignum/bigfloat.h"

namespace {

using bignum::bigfloat;

// A random decimal text of n significant digits and a few integer digits.
std::string randomDigits(std::size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::string s(n, '0');
  for (auto& c : s) c = static_cast<char>('0' + rng() % 10);
  if (s[0] == '0') s[0] = '7';
  return s.substr(0, 3) + "." + s.substr(3);
}

const std::string& digitsFor(std::size_t n, unsigned which) {
  static std::map<std::pair<std::size_t, unsigned>, std::string> cache;
  auto& s = cache[{n, which}];
  if (s.empty()) s = randomDigits(n, static_cast<unsigned>(n * 2 + which));
  return s;
}

long digits(const benchmark::State& state) { return static_cast<long>(state.range(0)); }

// --- ours ---------------------------------------------------------------

template <class Op>
void ours(benchmark::State& state, long prec, Op op) {
  const std::size_t n = static_cast<std::size_t>(digits(state));
  const bigfloat a(digitsFor(n, 1).c_str(), prec), b(digitsFor(n, 2).c_str(), prec);
  for (auto _ : state) {
    bigfloat r = op(a, b);
    benchmark::DoNotOptimize(r.record());
  }
}

void oursSum(benchmark::State& s) {
  ours(s, digits(s), [](auto& a, auto& b) { return a + b; });
}
void oursProduct(benchmark::State& s) {
  ours(s, digits(s), [](auto& a, auto& b) { return a * b; });
}
void oursFull(benchmark::State& s) {
  ours(s, bignum::INFINITE, [](auto& a, auto& b) { return a * b; });
}
void oursQuotient(benchmark::State& s) {
  ours(s, digits(s), [](auto& a, auto& b) { return a / b; });
}
void oursRoot(benchmark::State& s) {
  ours(s, digits(s), [](auto& a, auto&) { return bignum::sqrt(a); });
}

void oursOutput(benchmark::State& state) {
  const std::size_t n = static_cast<std::size_t>(digits(state));
  const bigfloat a(digitsFor(n, 1).c_str(), digits(state));
  for (auto _ : state) {
    std::ostringstream out;
    out << a;
    benchmark::DoNotOptimize(out.str().size());
  }
}

// --- MPFR and GMP --------------------------------------------------------

struct Mpfr {
  mpfr_t a, b, r;
  explicit Mpfr(std::size_t n) {
    const auto bits = static_cast<mpfr_prec_t>(std::ceil(static_cast<double>(n) * std::log2(10.0)));
    mpfr_inits2(bits, a, b, r, nullptr);
    mpfr_set_str(a, digitsFor(n, 1).c_str(), 10, MPFR_RNDN);
    mpfr_set_str(b, digitsFor(n, 2).c_str(), 10, MPFR_RNDN);
  }
  ~Mpfr() { mpfr_clears(a, b, r, nullptr); }
};

template <class Op>
void peer(benchmark::State& state, Op op) {
  Mpfr m(static_cast<std::size_t>(digits(state)));
  for (auto _ : state) op(m);
}

void peerSum(benchmark::State& s) {
  peer(s, [](Mpfr& m) { mpfr_add(m.r, m.a, m.b, MPFR_RNDZ); });
}
void peerProduct(benchmark::State& s) {
  peer(s, [](Mpfr& m) { mpfr_mul(m.r, m.a, m.b, MPFR_RNDZ); });
}
void peerQuotient(benchmark::State& s) {
  peer(s, [](Mpfr& m) { mpfr_div(m.r, m.a, m.b, MPFR_RNDZ); });
}
void peerRoot(benchmark::State& s) {
  peer(s, [](Mpfr& m) { mpfr_sqrt(m.r, m.a, MPFR_RNDZ); });
}

void peerOutput(benchmark::State& state) {
  Mpfr m(static_cast<std::size_t>(digits(state)));
  for (auto _ : state) {
    mpfr_exp_t exponent;
    char* text = mpfr_get_str(nullptr, &exponent, 10, static_cast<std::size_t>(digits(state)), m.a, MPFR_RNDZ);
    benchmark::DoNotOptimize(text);
    mpfr_free_str(text);
  }
}

void peerFull(benchmark::State& state) {
  const std::size_t n = static_cast<std::size_t>(digits(state));
  mpz_t a, b, r;
  mpz_inits(a, b, r, nullptr);
  std::string da = digitsFor(n, 1), db = digitsFor(n, 2);
  da.erase(3, 1);
  db.erase(3, 1);
  mpz_set_str(a, da.c_str(), 10);
  mpz_set_str(b, db.c_str(), 10);
  for (auto _ : state) mpz_mul(r, a, b);
  mpz_clears(a, b, r, nullptr);
}

#define PAIR(name, ourFn, peerFn, args)                      \
  BENCHMARK(ourFn)->Name("ours/" name)->args->UseRealTime(); \
  BENCHMARK(peerFn)->Name("peer/" name)->args->UseRealTime();

PAIR("sum", oursSum, peerSum, Arg(81)->Unit(benchmark::kMicrosecond))
PAIR("product", oursProduct, peerProduct, Arg(81)->Unit(benchmark::kMicrosecond))
PAIR("quotient", oursQuotient, peerQuotient, Arg(81)->Unit(benchmark::kMicrosecond))
PAIR("root", oursRoot, peerRoot, Arg(81)->Unit(benchmark::kMicrosecond))
PAIR("full", oursFull, peerFull,
     Arg(81)->Arg(100)->Arg(1000)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond))
PAIR("full", oursFull, peerFull, DenseRange(135, 405, 90)->DenseRange(2700, 5400, 450)->Unit(benchmark::kMicrosecond))
PAIR("multiply", oursProduct, peerProduct, Arg(10000)->Arg(1000000)->Unit(benchmark::kMillisecond))
PAIR("divide", oursQuotient, peerQuotient,
     Arg(1000)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond))
PAIR("sqrt", oursRoot, peerRoot, Arg(1000)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond))
PAIR("output", oursOutput, peerOutput, Arg(1000000)->Unit(benchmark::kMillisecond))

}  // namespace

int main(int argc, char** argv) { return numbrix_bench::runComparison(argc, argv); }
