// The statements of a parse fuzz input and the processor time each takes,
// shared by the parse fuzz target and the test that replays its corpus.
// Every line end ('\r' or '\n', as in the language) ends a statement; each
// non-empty line goes, with a line feed, to the evaluator in turn, so that a
// slow input is pinned to the one statement that is slow.
#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "expr/FormatValue.h"
#include "expr/IExprParser.h"

namespace fuzz_statements {

// How much longer the same statement may take in a build with the sanitizers
// (the fuzz targets, scripts/test --sanitize) than in the plain one: they slow
// arithmetic about five times and the bitwise operators, with their many
// small allocations, up to fifty; the corpus's slowest statement takes 0.6 s
// in the fuzz build and 0.04 s in the plain one.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr double kInstrumentedSlowdown = 5;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr double kInstrumentedSlowdown = 5;
#else
inline constexpr double kInstrumentedSlowdown = 1;
#endif
#else
inline constexpr double kInstrumentedSlowdown = 1;
#endif

// The longest processor time a statement may take, in seconds: one in the
// plain build.
inline constexpr double kStatementSeconds = 1.0 * kInstrumentedSlowdown;

// Listeners that format every value they are told, as the programs do.
class Listeners : public IExprParserDisplayer, public IExprParserLog {
 public:
  void display(const std::string& name, bignum::bigfloat value) override { seen += name + formatValue(value, 40); }
  void remove(const std::string& name) override { seen += name; }
  void clear() override { seen.clear(); }
  void log(const std::string& expression, const std::string& answer) override { seen += expression + answer; }
  std::string seen;
};

// The non-empty lines of `input`, without their line ends.
inline std::vector<std::string> statementsOf(const std::string& input) {
  std::vector<std::string> lines;
  std::string line;
  for (const char c : input) {
    if (c != '\r' && c != '\n') {
      line += c;
    } else if (!line.empty()) {
      lines.push_back(line);
      line.clear();
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

// The processor time of the whole process so far, in seconds.
inline double processorSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

}  // namespace fuzz_statements
