// The dry run behind live answers and the names offered for completion.
#include "expr/Completion.h"

#include <gtest/gtest.h>

#include "tests/expr/EvaluatorFixture.h"

using Preview = Evaluator;

TEST_F(Preview, AnswersAsTheLogWouldAndAssignsNothing) {
  parser->parse("x = 2\n");
  listeners.calls.clear();
  EXPECT_EQ(parser->preview("x ^ 10\n"), "1024");
  EXPECT_EQ(parser->preview("y = x + 1\ny * 3\n"), "9");
  EXPECT_EQ(parser->preview("x = 7\n"), "7");
  EXPECT_TRUE(listeners.calls.empty());
  EXPECT_EQ(parser->variableNames(), (std::vector<std::string>{"x"}));
  bignum::bigfloat x;
  ASSERT_TRUE(parser->getVariable("x", x));
  EXPECT_EQ(formatValue(x, 40), "2");
  // The next real evaluation sees none of the dry run's assignments.
  EXPECT_EQ(answerOf("ans"), "error: Undefined variable: ans @1:1-1:3");
}

TEST_F(Preview, ThrowsAsParseDoes) {
  EXPECT_THROW(parser->preview("1 / 0\n"), ExprParserException);
  EXPECT_THROW(parser->preview("sin(\n"), ExprParserException);
  EXPECT_TRUE(parser->variableNames().empty());
}

TEST_F(Preview, CompletionOffersFunctionsConstantsAndVariables) {
  parser->parse("sqrtTwo = 2\nlogs = 1\nsin = 3\n");
  ASSERT_TRUE(parser->setConstants({{"speed", "299792458"}}));
  const auto shown = [&](const std::string& prefix) {
    std::string all;
    for (const CompletionName& name : completionNames(*parser, prefix)) all += name.shown + ";";
    return all;
  };
  EXPECT_EQ(shown("sq"), "sqrt(x);sqrtTwo;");
  EXPECT_EQ(shown("lo"), "log(a, b);logs;");
  EXPECT_EQ(shown("si"), "sin(x);sinh(x);");  // the variable sin does not hide the function
  EXPECT_EQ(shown("sp"), "speed;");
  EXPECT_EQ(shown("P"), "PI;");
  EXPECT_EQ(shown("zz"), "");
  const std::vector<CompletionName> all = completionNames(*parser);
  EXPECT_EQ(all.size(), 23u + 2u + 1u + 2u);  // functions, PI and E, the constant, sqrtTwo and logs
  EXPECT_EQ(completionNames(*parser, "sqrt").front().insertion(), "sqrt(");
  EXPECT_EQ(completionNames(*parser, "spe").front().insertion(), "speed");
}

TEST(CompletionNameStart, FindsTheNameBeforeTheCursor) {
  struct Case {
    const char* text;
    std::size_t cursor;
    std::size_t start;
  };
  for (const Case& c : {Case{"sq", 2, 0}, Case{"1 + sq", 6, 4}, Case{"x*log_2", 7, 2}, Case{"12ab", 4, 2},
                        Case{"123", 3, 3}, Case{"a + ", 4, 4}, Case{"sin(x)", 3, 0}, Case{"ab", 9, 0}})
    EXPECT_EQ(nameStart(c.text, c.cursor), c.start) << c.text << " at " << c.cursor;
}
