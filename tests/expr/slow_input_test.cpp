// Every input of the parse fuzz corpus (fuzz/corpus/parse), statement by
// statement through a fresh evaluator as the fuzz target runs it: no statement
// may take more than a second of processor time (five under the sanitizers,
// see fuzz/statements.h). A statement that never ends is caught by the
// watchdog, which names it; a slow one fails the test with the input's name.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "fuzz/statements.h"
#include "support/TempDir.h"
#include "support/Watchdog.h"

TEST(ParseCorpus, EveryStatementAnswersWithinASecond) {
  using namespace fuzz_statements;
  std::vector<std::filesystem::path> inputs;
  for (const auto& entry : std::filesystem::directory_iterator(NUMBRIX_PARSE_CORPUS)) inputs.push_back(entry.path());
  std::sort(inputs.begin(), inputs.end());
  ASSERT_GT(inputs.size(), 100u) << "the corpus is missing: " << NUMBRIX_PARSE_CORPUS;
  Watchdog watchdog(30);
  for (const auto& input : inputs) {
    IExprParser::resetInstance();
    IExprParser* parser = IExprParser::instance();
    Listeners listeners;
    parser->setDisplayer(&listeners);
    parser->setLog(&listeners);
    for (const std::string& statement : statementsOf(readBytes(input.string()))) {
      watchdog.step(input.filename().string() + ": " + statement.substr(0, 160));
      const double start = processorSeconds();
      try {
        parser->parse(statement + "\n");
      } catch (const ExprParserException&) {
        // A refusal is an answer.
      }
      EXPECT_LE(processorSeconds() - start, kStatementSeconds) << input.filename() << ": " << statement.substr(0, 160);
    }
    parser->setDisplayer(nullptr);
    parser->setLog(nullptr);
  }
  IExprParser::resetInstance();
}
