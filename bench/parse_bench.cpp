// The evaluator on typical inputs: the time of one parse call for a mix of
// arithmetic, functions (and every elementary function once) and bitwise
// statements (no peer to compare with).
#include <benchmark/benchmark.h>

#include <string>

#include "expr/IExprParser.h"

namespace {

// Evaluates `input` over and over with a fresh variables table each time.
void evaluate(benchmark::State& state, const std::string& input) {
  IExprParser* parser = IExprParser::instance();
  for (auto _ : state) {
    parser->parse(input);
    benchmark::ClobberMemory();
  }
  parser->clearVariables();
}

void arithmetic(benchmark::State& state) {
  evaluate(
      state,
      "x = 2^100 + 3\ny = x / 7 - 1.5e10\n(x % 1000) * [y - 2] / {3}\nr = 12345678901234567890 * 987654321\n-r + x\n");
}

void functions(benchmark::State& state) {
  evaluate(state, "sin(PI/6) + cos(1)\nln(2) * lg(1000)\nsqrt(2)\nexp(1.5)\natan(1) * 4\n");
}

// Every elementary function once, on arguments that are not special values.
void elementary(benchmark::State& state) {
  evaluate(state,
           "sin(0.7) + cos(0.7) + tan(0.7)\nasin(0.3) + acos(0.3) + atan(0.3)\nsinh(0.7) + cosh(0.7) + tanh(0.7)\n"
           "asinh(0.3) + acosh(1.3) + atanh(0.3)\nexp(0.7) + ln(0.7) + lg(0.7) + log(3, 0.7) + sqrt(0.7)\n");
}

void bitwise(benchmark::State& state) { evaluate(state, "a = 0xff | 0b1010\nb = a $ 017\na & b << 3\n~a >> 2\n20!\n"); }

void mixed(benchmark::State& state) {
  evaluate(state, "r = sqrt(2)\narea = PI * r^2\n0xff & 12345\nround(area * 1000) / 1000\nlog(2, 1024)\n");
}

BENCHMARK(arithmetic)->Unit(benchmark::kMicrosecond);
BENCHMARK(functions)->Unit(benchmark::kMicrosecond);
BENCHMARK(elementary)->Unit(benchmark::kMicrosecond);
BENCHMARK(bitwise)->Unit(benchmark::kMicrosecond);
BENCHMARK(mixed)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
