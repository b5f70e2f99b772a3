// A computation that runs out of disk space or memory is an error message of
// the evaluator, and the next statement is evaluated as usual.
#include "EvaluatorFixture.h"
#include "bignum/init.h"
#include "support/FileSizeLimit.h"
#include "support/TempDir.h"

using ResourceErrors = Evaluator;

TEST_F(ResourceErrors, AreAMessageAndTheNextStatementWorks) {
  // Numbers longer than one word go to disk, where nothing can be written.
  TempDir settings;
  writeBytes(settings.file("bignum.ini"), "memorythreshold = 1\n");
  ASSERT_TRUE(bignum::setSettingsFolder(settings.path().string()));
  const std::string root = answerOf("sqrt(2)");
  ASSERT_EQ(root.substr(0, 6), "1.4142");
  {
    FileSizeLimit full(0);
    EXPECT_EQ(answerOf("sqrt(2)"), "error: Not enough memory or disk space for this computation ! @-1:-1--1:-1");
    EXPECT_EQ(lastKind, ExprParserException::Kind::Resources);
    EXPECT_EQ(answerOf("1 + 2"), "3");
  }
  EXPECT_EQ(answerOf("sqrt(2)"), root);
}
