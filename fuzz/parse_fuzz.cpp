// Arbitrary bytes as statements: the lines of each input go one by one to a
// fresh evaluator whose listeners format every value they are told. The only
// way out of parse() that is allowed is ExprParserException; anything else
// escaping ends the run as a crash. So does a statement that takes more
// processor time than fuzz_statements::kStatementSeconds (a second, scaled for
// the sanitizers this target is built with): libFuzzer's own limit times
// whole inputs by the clock, and the replay of the corpus allows ten seconds
// an input for slow machines, while processor time stays the same on a busy one.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/statements.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fuzz_statements;
  IExprParser::resetInstance();
  IExprParser* parser = IExprParser::instance();
  Listeners listeners;
  parser->setDisplayer(&listeners);
  parser->setLog(&listeners);
  for (const std::string& statement : statementsOf(std::string(reinterpret_cast<const char*>(data), size))) {
    const double start = processorSeconds();
    try {
      parser->parse(statement + "\n");
    } catch (const ExprParserException&) {
      // A refusal with its message is the expected answer to bad input.
    }
    const double seconds = processorSeconds() - start;
    if (seconds > kStatementSeconds) {
      std::fprintf(stderr, "parse_fuzz: a statement took %.2f s of processor time (at most %.2f s allowed): %.200s\n",
                   seconds, kStatementSeconds, statement.c_str());
      std::abort();
    }
  }
  parser->setDisplayer(nullptr);
  parser->setLog(nullptr);
  return 0;
}
