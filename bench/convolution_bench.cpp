// Long products through the convolution against GMP's mpz_mul on random
// integers of the same number of decimal digits.
//
// The library's settings come from the environment as usual. Unless
// MEMORYTHRESHOLD is set, the working vectors are kept in memory (a large
// threshold and memory budget are set here); set NPROCESSORS=2 for two threads,
// and MEMORYTHRESHOLD=16384 MAXBLOCKSIZE=4194304 to take the disk path.
#include <gmp.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <random>

#include "Comparison.h"
#include "bignum/convolution.h"
#include "bignum/init.h"
#include "bignum/storage.h"

namespace {

struct Operands {
  std::unique_ptr<bignum::datastruct> a, b;
  std::size_t words;
};

// Random mantissas of `digits` decimal digits, made once per size.
Operands& operandsFor(std::size_t digits) {
  static std::map<std::size_t, Operands> cache;
  Operands& o = cache[digits];
  if (o.a) return o;
  o.words = digits / 9;
  std::mt19937 rng(static_cast<unsigned>(digits));
  auto make = [&] {
    auto d = std::make_unique<bignum::datastruct>(o.words);
    const std::size_t block = bignum::limits().Blocksize;
    for (std::size_t i = 0; i < o.words; i += block) {
      const std::size_t n = std::min(block, o.words - i);
      std::uint32_t* w = d->getwritewindow(i, n);
      for (std::size_t j = 0; j < n; ++j) w[j] = rng() % 1000000000u;
      if (i == 0) w[0] = w[0] == 0 ? 1 : w[0];
      d->writeback();
    }
    return d;
  };
  o.a = make();
  o.b = make();
  return o;
}

void oursMultiply(benchmark::State& state) {
  Operands& o = operandsFor(static_cast<std::size_t>(state.range(0)));
  const std::size_t N = bignum::rnd23up(2 * o.words), S = std::min(N, 2 * o.words + 2);
  for (auto _ : state) {
    auto product = bignum::convolution(*o.a, *o.b, S, o.words, o.words, N);
    benchmark::DoNotOptimize(product.words.get());
  }
}

void oursSquare(benchmark::State& state) {
  Operands& o = operandsFor(static_cast<std::size_t>(state.range(0)));
  const std::size_t N = bignum::rnd23up(2 * o.words), S = std::min(N, 2 * o.words + 2);
  for (auto _ : state) {
    auto square = bignum::selfConvolution(*o.a, S, o.words, N);
    benchmark::DoNotOptimize(square.words.get());
  }
}

// GMP on random integers below 10^digits.
struct GmpOperands {
  mpz_t a, b, r;
  explicit GmpOperands(std::size_t digits) {
    gmp_randstate_t state;
    gmp_randinit_mt(state);
    gmp_randseed_ui(state, digits);
    mpz_t limit;
    mpz_init(limit);
    mpz_ui_pow_ui(limit, 10, digits);
    mpz_inits(a, b, r, nullptr);
    mpz_urandomm(a, state, limit);
    mpz_urandomm(b, state, limit);
    mpz_clear(limit);
    gmp_randclear(state);
  }
  ~GmpOperands() { mpz_clears(a, b, r, nullptr); }
};

void peerMultiply(benchmark::State& state) {
  GmpOperands g(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) mpz_mul(g.r, g.a, g.b);
}

void peerSquare(benchmark::State& state) {
  GmpOperands g(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) mpz_mul(g.r, g.a, g.a);
}

void sizes(benchmark::internal::Benchmark* b) {
  b->Arg(10000)->Arg(100000)->Arg(1000000)->Arg(10000000)->Unit(benchmark::kMillisecond)->UseRealTime();
}

BENCHMARK(oursMultiply)->Name("ours/multiply")->Apply(sizes);
BENCHMARK(peerMultiply)->Name("peer/multiply")->Apply(sizes);
BENCHMARK(oursSquare)->Name("ours/square")->Apply(sizes);
BENCHMARK(peerSquare)->Name("peer/square")->Apply(sizes);

}  // namespace

int main(int argc, char** argv) { return numbrix_bench::runComparison(argc, argv); }
