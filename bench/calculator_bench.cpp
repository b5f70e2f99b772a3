// The calculator as a user runs it: numbrix-cli as a whole process (start,
// evaluation, answer text written to a file) against the same work done with
// MPFR or GMP in this process, answer text included.
//
//   ours/pi            -d 1000000 -e PI         mpfr_const_pi + mpfr_get_str
//   ours/sqrt2|exp1|ln2  -d 1000000 -e ...      mpfr_sqrt_ui|exp|log_ui + mpfr_get_str
//   ours/factorial     --no-limit -e 1000000!   mpz_fac_ui + mpz_get_str
//   ours/power         --no-limit -e 3^2000000  mpz_ui_pow_ui + mpz_get_str
//   ours/xor           --no-limit -e '2^(2^20) $ 3^600000'
//                                               mpz_ui_pow_ui twice, mpz_xor + mpz_get_str
//   ours/lines         2000 lines such as sin(x) + ln(x) * atan(x) - exp(x/3)
//                      on standard input        the same lines through bc -l
//                                               with scale=40 (the aim: a tenth)
//
// Each run is one evaluation; --benchmark_repetitions=3 keeps the best of three.
#include <fcntl.h>
#include <gmp.h>
#include <mpfr.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Comparison.h"

extern char** environ;

namespace {

constexpr long kDigits = 1000000;

// `program` with `arguments`, its standard input from `in` (unless empty) and
// its standard output to `out`; false when it failed.
bool run(const char* program, const std::vector<std::string>& arguments, const std::string& in,
         const std::string& out) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!in.empty()) posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, in.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  std::vector<char*> argv{const_cast<char*>(program)};
  for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int failed = posix_spawnp(&pid, program, &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  return failed == 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool runCalculator(const std::vector<std::string>& arguments, const std::string& out) {
  return run(NUMBRIX_CLI, arguments, "", out);
}

std::string outputFile() { return "/tmp/numbrix-calculator-bench-" + std::to_string(getpid()); }

void ours(benchmark::State& state, const std::vector<std::string>& arguments) {
  const std::string out = outputFile();
  for (auto _ : state)
    if (!runCalculator(arguments, out)) state.SkipWithError("numbrix-cli failed");
  std::remove(out.c_str());
}

// Writes `text` to the output file, as the calculator writes its answer.
void writeOut(const char* text) {
  std::FILE* file = std::fopen(outputFile().c_str(), "w");
  std::fputs(text, file);
  std::fputc('\n', file);
  std::fclose(file);
  std::remove(outputFile().c_str());
}

// An MPFR constant or function of `digits` decimals, and its text.
template <class Compute>
void peerReal(benchmark::State& state, Compute compute) {
  for (auto _ : state) {
    mpfr_t r;
    mpfr_init2(r, static_cast<mpfr_prec_t>(std::ceil((kDigits + 10) * std::log2(10.0))));
    mpfr_free_cache();
    compute(r);
    mpfr_exp_t exponent = 0;
    char* text = mpfr_get_str(nullptr, &exponent, 10, static_cast<std::size_t>(kDigits + 1), r, MPFR_RNDN);
    writeOut(text);
    mpfr_free_str(text);
    mpfr_clear(r);
  }
}

// A GMP integer and its decimal text.
template <class Compute>
void peerInteger(benchmark::State& state, Compute compute) {
  for (auto _ : state) {
    mpz_t z;
    mpz_init(z);
    compute(z);
    char* text = mpz_get_str(nullptr, 10, z);
    writeOut(text);
    void (*release)(void*, std::size_t) = nullptr;
    mp_get_memory_functions(nullptr, nullptr, &release);
    release(text, std::char_traits<char>::length(text) + 1);
    mpz_clear(z);
  }
}

void peerPi(benchmark::State& state) {
  peerReal(state, [](mpfr_ptr r) { mpfr_const_pi(r, MPFR_RNDN); });
}
void peerSqrt2(benchmark::State& state) {
  peerReal(state, [](mpfr_ptr r) { mpfr_sqrt_ui(r, 2, MPFR_RNDN); });
}
void peerExp1(benchmark::State& state) {
  peerReal(state, [](mpfr_ptr r) {
    mpfr_set_ui(r, 1, MPFR_RNDN);
    mpfr_exp(r, r, MPFR_RNDN);
  });
}
void peerLn2(benchmark::State& state) {
  peerReal(state, [](mpfr_ptr r) { mpfr_log_ui(r, 2, MPFR_RNDN); });
}
void peerFactorial(benchmark::State& state) {
  peerInteger(state, [](mpz_ptr z) { mpz_fac_ui(z, 1000000); });
}
void peerPower(benchmark::State& state) {
  peerInteger(state, [](mpz_ptr z) { mpz_ui_pow_ui(z, 3, 2000000); });
}
void peerXor(benchmark::State& state) {
  peerInteger(state, [](mpz_ptr z) {
    mpz_t three;
    mpz_init(three);
    mpz_ui_pow_ui(z, 2, 1UL << 20);
    mpz_ui_pow_ui(three, 3, 600000);
    mpz_xor(z, z, three);
    mpz_clear(three);
  });
}

// Files of the same 2000 lines for numbrix-cli and for bc -l (whose names for
// sin, ln, atan and exp are s, l, a and e), with arguments from 0.1 to 1.
struct Lines {
  std::string ours = "/tmp/numbrix-calculator-bench-lines", theirs = ours + ".bc";
  Lines() {
    std::FILE* a = std::fopen(ours.c_str(), "w");
    std::FILE* b = std::fopen(theirs.c_str(), "w");
    std::fputs("scale=40\n", b);
    for (int i = 0; i < 2000; ++i) {
      const double x = 0.1 + 0.9 * std::fmod(i * 0.6180339887, 1.0);
      std::fprintf(a, "sin(%.5f) + ln(%.5f) * atan(%.5f) - exp(%.5f/3)\n", x, x, x, x);
      std::fprintf(b, "s(%.5f) + l(%.5f) * a(%.5f) - e(%.5f/3)\n", x, x, x, x);
    }
    std::fclose(a);
    std::fclose(b);
  }
};

const Lines& lines() {
  static const Lines files;
  return files;
}

void oursLines(benchmark::State& state) {
  const std::string out = outputFile();
  for (auto _ : state)
    if (!run(NUMBRIX_CLI, {}, lines().ours, out)) state.SkipWithError("numbrix-cli failed");
  std::remove(out.c_str());
}

void peerLines(benchmark::State& state) {
  const std::string out = outputFile();
  for (auto _ : state)
    if (!run("bc", {"-l"}, lines().theirs, out)) state.SkipWithError("bc failed (is it installed?)");
  std::remove(out.c_str());
}

void configure(benchmark::internal::Benchmark* b) { b->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1); }

const std::string kD = std::to_string(kDigits);

}  // namespace

BENCHMARK_CAPTURE(ours, pi, {"-d", kD, "-e", "PI"})->Name("ours/pi")->Apply(configure);
BENCHMARK(peerPi)->Name("peer/pi")->Apply(configure);
BENCHMARK_CAPTURE(ours, sqrt2, {"-d", kD, "-e", "sqrt(2)"})->Name("ours/sqrt2")->Apply(configure);
BENCHMARK(peerSqrt2)->Name("peer/sqrt2")->Apply(configure);
BENCHMARK_CAPTURE(ours, exp1, {"-d", kD, "-e", "exp(1)"})->Name("ours/exp1")->Apply(configure);
BENCHMARK(peerExp1)->Name("peer/exp1")->Apply(configure);
BENCHMARK_CAPTURE(ours, ln2, {"-d", kD, "-e", "ln(2)"})->Name("ours/ln2")->Apply(configure);
BENCHMARK(peerLn2)->Name("peer/ln2")->Apply(configure);
BENCHMARK_CAPTURE(ours, factorial, {"--no-limit", "-e", "1000000!"})->Name("ours/factorial")->Apply(configure);
BENCHMARK(peerFactorial)->Name("peer/factorial")->Apply(configure);
BENCHMARK_CAPTURE(ours, power, {"--no-limit", "-e", "3^2000000"})->Name("ours/power")->Apply(configure);
BENCHMARK(peerPower)->Name("peer/power")->Apply(configure);
BENCHMARK_CAPTURE(ours, xor,
                  {
                      "--no-limit", "-e", "2^(2^20) $ 3^600000"})
    ->Name("ours/xor")
    ->Apply(configure);
BENCHMARK(peerXor)->Name("peer/xor")->Apply(configure);
BENCHMARK(oursLines)->Name("ours/lines")->Apply(configure);
BENCHMARK(peerLines)->Name("peer/lines")->Apply(configure);

int main(int argc, char** argv) { return numbrix_bench::runComparison(argc, argv); }
