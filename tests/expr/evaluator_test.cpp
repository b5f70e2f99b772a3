// The language through the evaluator: answers, normalised texts, messages and
// their spans, the order of listener calls, variables and constants.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "EvaluatorFixture.h"
#include "support/TempDir.h"

namespace {

TEST_F(Evaluator, AnswersAndNormalisedTexts) {
  const struct {
    const char* input;
    const char* logged;
  } cases[] = {
      {"1+2", "log 1 + 2 => 3"},
      {"x=5", "log x = 5 => 5"},
      {"2^100 + sin(PI/6)", "log 2 ^ 100 + sin(PI / 6) => 1267650600228229401496703205376.5"},
      {"( 1+2 ) * [3]", "log (1 + 2) * [3] => 9"},
      {"{2}-x", "log {2} - x => -3"},
      {"-x", "log -x => -5"},
      {"~ 5", "log ~5 => 4294967290"},
      {"log(2,8)", "log log(2, 8) => 3"},
      {"2^3^2", "log 2 ^ 3 ^ 2 => 64"},
      {"-2^2", "log -2 ^ 2 => -4"},
      {"(-2)^3", "log (-2) ^ 3 => -8"},
      {"0^0", "log 0 ^ 0 => 1"},
      {"2^(-1)", "log 2 ^ (-1) => 0.5"},
      {"-7%3", "log -7 % 3 => -1"},
      {"7 % -3", "log 7 % -3 => 1"},
      {"30!", "log 30! => 265252859812191058636308480000000"},
      {"0!", "log 0! => 1"},
      {"1e33", "log 1e33 => 1000000000000000000000000000000000"},
      {"12|3 $ 10 & 7", "log 12 | 3 $ 10 & 7 => 13"},
      {"1<<10>>2", "log 1 << 10 >> 2 => 256"},
      {"0b1111+017+0xff", "log 0b1111 + 017 + 0xff => 285"},
      {"0x10/0x3", "log 0x10 / 0x3 => 5.3333333333333333333333333333333333333333"},
      {"0x2^0x3", "log 0x2 ^ 0x3 => 8"},
      {"(1/3*3)|1", "log (1 / 3 * 3) | 1 => 1"},
      {"1/3*3-1", "log 1 / 3 * 3 - 1 => 0"},
      {"2/3", "log 2 / 3 => 0.6666666666666666666666666666666666666667"},
      {"10^(-1e30)", "log 10 ^ (-1e30) => 0"},
      {"E", "log E => 2.7182818284590452353602874713526624977572"},
      {"1.e5 + .5", "log 1.e5 + .5 => 100000.5"},
  };
  ASSERT_EQ(errorOf("x=5"), "");
  for (const auto& c : cases) {
    listeners.calls.clear();
    EXPECT_EQ(errorOf(c.input), "") << c.input;
    ASSERT_FALSE(listeners.calls.empty()) << c.input;
    EXPECT_EQ(listeners.calls.front(), c.logged) << c.input;
  }
}

TEST_F(Evaluator, MessagesAndSpans) {
  const struct {
    const char* input;
    const char* error;
  } cases[] = {
      {"1/0", "In the expression 'x / y', y MUST NOT be zero ! @1:2-1:2"},
      {"5 % 0", "In the expression 'x % y', y MUST NOT be zero ! @1:3-1:3"},
      {"1+", "unexpected token: \n @1:3--1:-1"},
      {"1 # 2", "unexpected char: '#' @1:3--1:-1"},
      {"1\t+ #", "unexpected char: '#' @1:11--1:-1"},
      {"2^-1", "unexpected token: - @1:3--1:-1"},
      {"--2", "unexpected token: - @1:2--1:-1"},
      {"+2", "unexpected token: + @1:1--1:-1"},
      {"3!!", "unexpected token: ! @1:3--1:-1"},
      {"(-8)^(1/3)", "In the expression 'x ^ y', y MUST be an integer when x is a negative value ! @1:5--1:-1"},
      {"0^(-1)", "In the expression 'x ^ y', y MUST be a non-negative value when x equals zero ! @1:2-1:2"},
      {"31!", "The result or temporary value is too big ! @1:3-1:3"},
      {"1e20!", "The result or temporary value is too big ! @1:5-1:5"},
      {"2.5!", "In the expression 'x!', x MUST be a non-negative integer ! @1:4--1:-1"},
      {"(-1)!", "In the expression 'x!', x MUST be a non-negative integer ! @1:5--1:-1"},
      {"1.0000000000000000000000000000000001e33", "The result or temporary value is too big ! @1:1-1:39"},
      {"1 + 1e99999999999", "The result or temporary value is too big ! @1:5-1:17"},
      {"1e32 * 100", "The result or temporary value is too big ! @1:6-1:6"},
      {"1e33 + 1", "The result or temporary value is too big ! @1:6-1:6"},
      {"foo(1)", "Undefined function: foo @1:1-1:6"},
      {"f( 2 ,3 )", "Undefined function: f @1:1-1:9"},
      {"pi", "Undefined variable: pi @1:1-1:2"},
      {"1 + undefinedName", "Undefined variable: undefinedName @1:5-1:17"},
      {"sin(1,2,3)", "unexpected token: sin @1:1--1:-1"},
      {"sin()", "unexpected token: sin @1:1--1:-1"},
      {"log(8)", "Expect two parameters for 'log(a, b)' function ! @1:1-1:6"},
      {"sqrt( 2 ,3 )", "Expect one parameter for 'sqrt(x)' function ! @1:1-1:12"},
      {"1 + sin(1, 2)", "Expect one parameter for 'sin(x)' function ! @1:5-1:13"},
      {"2*tan(PI/2)", "Undefined tangent value ! @1:3-1:11"},
      {"2.5 | 1", "In the expression 'x | y', x and y MUST be non-negative integers ! @1:5-1:5"},
      {"1 $ -1", "In the expression 'x $ y', x and y MUST be non-negative integers ! @1:3-1:3"},
      {"1 & 0.5", "In the expression 'x && y', x and y MUST be non-negative integers ! @1:3-1:3"},
      {"1 << 0.5", "In the expression 'x << y', x and y MUST be non-negative integers ! @1:3-1:3"},
      {"1 >> (0-1)", "In the expression 'x >> y', x and y MUST be non-negative integers and y >= 0 ! @1:3-1:3"},
      {"~(0-1)", "In the expression '~x', x MUST be a non-negative integer ! @1:1-1:1"},
      {"1 << 200", "The result or temporary value is too big ! @1:3-1:3"},
      {"1 << 1e30", "The result or temporary value is too big ! @1:3-1:3"},
      {"10 ^ 1e30", "The result or temporary value is too big ! @1:4-1:4"},
      {"2 ^ (2 ^ 100)", "The result or temporary value is too big ! @1:3-1:3"},
      {"08", "unexpected token: 8 @1:2--1:-1"},
      {"0x", "unexpected char: 0x0A @1:3--1:-1"},
      {"0xG", "unexpected char: 'G' @1:3--1:-1"},
      {"1e", "unexpected char: 0x0A @1:3--1:-1"},
      {"1e+", "unexpected char: 0x0A @1:4--1:-1"},
      {"1 \xe9", "unexpected char: 0xE9 @1:3--1:-1"},
      {"1 < 2", "expecting ''<'', found '' '' @1:4--1:-1"},
      {"1 && 2", "unexpected token: & @1:4--1:-1"},
      {"x = = 1", "unexpected token: = @1:5--1:-1"},
  };
  for (const auto& c : cases) EXPECT_EQ(errorOf(c.input), c.error) << c.input;
  // Only a line break, and a statement without one: the end of the input comes too early.
  std::string message;
  try {
    parser->parse("1+2");
  } catch (const ExprParserException& e) {
    message = e.what();
  }
  EXPECT_EQ(message, "unexpected end of file");
  EXPECT_EQ(errorOf(""), "unexpected end of file @1:2--1:-1");
}

TEST_F(Evaluator, ListenersHearStatementsThenCommittedVariablesInNameOrder) {
  ASSERT_EQ(errorOf("b=3\na=1\n\n7"), "");
  EXPECT_EQ(listeners.calls, (std::vector<std::string>{"log b = 3 => 3", "log a = 1 => 1", "log 7 => 7",
                                                        "display a 1", "display ans 7", "display b 3"}));
  listeners.calls.clear();
  // A later statement sees an earlier one's pending value; x=5 commits no ans.
  ASSERT_EQ(errorOf("a=2\nb=a*3"), "");
  EXPECT_EQ(listeners.calls,
            (std::vector<std::string>{"log a = 2 => 2", "log b = a * 3 => 6", "display a 2", "display b 6"}));
  bignum::bigfloat value;
  ASSERT_TRUE(parser->getVariable("ans", value));
  EXPECT_EQ(formatValue(value, 40), "7") << "ans of the earlier input";
}

TEST_F(Evaluator, AFailedInputCommitsNothingButKeepsItsLog) {
  ASSERT_EQ(errorOf("a=1"), "");
  listeners.calls.clear();
  EXPECT_EQ(errorOf("a=2\n1/0"), "In the expression 'x / y', y MUST NOT be zero ! @1:6-1:6");
  EXPECT_EQ(listeners.calls, (std::vector<std::string>{"log a = 2 => 2"}));
  bignum::bigfloat a;
  ASSERT_TRUE(parser->getVariable("a", a));
  EXPECT_EQ(formatValue(a, 40), "1");
}

TEST_F(Evaluator, ParsingStopsAtALineThatCannotStartAStatement) {
  ASSERT_EQ(errorOf("\r\n\r\n1+1\r\n)\n2+2"), "");
  EXPECT_EQ(listeners.calls, (std::vector<std::string>{"log 1 + 1 => 2", "display ans 2"}));
}

TEST_F(Evaluator, NamesResolveToPendingThenVariablesThenConstantsThenPiAndE) {
  EXPECT_EQ(answerOf("PI"), "3.1415926535897932384626433832795028841972");
  parser->constants()["PI"] = bignum::bigfloat("3", 81);
  parser->constants()["k"] = bignum::bigfloat("10", 81);
  EXPECT_EQ(answerOf("PI"), "3");
  parser->setVariable("PI", bignum::bigfloat("4", 81));
  EXPECT_EQ(answerOf("PI + k"), "14");
  EXPECT_EQ(answerOf("PI = 5\nPI"), "5");
  EXPECT_EQ(answerOf("k = 1\nk"), "1") << "a variable hides a constant";
}

TEST_F(Evaluator, VariablesTable) {
  bignum::bigfloat out("42", 81);
  EXPECT_FALSE(parser->getVariable("x", out));
  EXPECT_EQ(formatValue(out, 40), "42") << "left unchanged";
  parser->setVariable("x", bignum::bigfloat("2", 81));
  ASSERT_TRUE(parser->getVariable("x", out));
  EXPECT_EQ(formatValue(out, 40), "2");
  parser->removeVariable("x");
  parser->removeVariable("nothing");
  parser->clearVariables();
  EXPECT_EQ(listeners.calls, (std::vector<std::string>{"display x 2", "remove x", "remove nothing", "clear"}));
  EXPECT_FALSE(parser->getVariable("x", out));
  parser->setDisplayer(nullptr);
  parser->setLog(nullptr);
  EXPECT_EQ(errorOf("y = 1"), "") << "no listeners: nothing to tell";
  EXPECT_TRUE(parser->getVariable("y", out));
}

TEST_F(Evaluator, NameAndNumberChecks) {
  for (const char* name : {"x1", "_a", "PI", "abc_DEF_9"}) EXPECT_TRUE(parser->isValidName(name)) << name;
  for (const char* name : {"1x", "a b", "a+b", "", "#", "x\ny"}) EXPECT_FALSE(parser->isValidName(name)) << name;
  for (const char* number : {"12.5", "1e9", "0", ".5", "1.", "6.02E+23"})
    EXPECT_TRUE(parser->isValidNumber(number)) << number;
  for (const char* number : {"0x10", "017", "-1", "", "1e", "x", "1 2"})
    EXPECT_FALSE(parser->isValidNumber(number)) << number;
  EXPECT_TRUE(listeners.calls.empty());
}

TEST_F(Evaluator, ConstantsFileRoundTrip) {
  TempDir dir;
  const std::string path = (dir.path() / "Constant").string();
  {
    std::ofstream out(path);
    out << "Constant\n{\n    pi = 3;\n    g = 9.80665;\n    g = 9.81;\n}\n";
  }
  parser->loadConstants(path);
  EXPECT_EQ(answerOf("pi"), "3");
  EXPECT_EQ(answerOf("g"), "9.81") << "a later leaf of the same name wins";
  EXPECT_EQ(answerOf("PI"), "3.1415926535897932384626433832795028841972");
  parser->constants()["third"] = bignum::bigfloat("1", 81) / bignum::bigfloat("3", 81);
  parser->saveConstants(path);
  std::ifstream in(path);
  const std::string saved((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(saved, "Constant\n{\n\tg = 9.810000000;\n\tpi = 3;\n\tthird = 0." + std::string(81, '3') + ";\n}\n");
  parser->constants().clear();
  parser->loadConstants(path);
  EXPECT_EQ(parser->constants().size(), 3u);
  EXPECT_EQ(answerOf("third * 3"), "1");
  parser->loadConstants((dir.path() / "missing").string());
  EXPECT_TRUE(parser->constants().empty());
}

// Deep nesting is refused, not a crash, and nested calls take linear trial work.
TEST_F(Evaluator, DeepNestingIsRefused) {
  const std::string deep = std::string(100000, '(') + "1" + std::string(100000, ')');
  EXPECT_EQ(errorOf(deep), "The expression is too deeply nested ! @1:1001-1:1001");
  const std::string fine = std::string(1000, '[') + "1" + std::string(1000, ']');
  EXPECT_EQ(errorOf(fine), "");
  std::string calls;
  for (int i = 0; i < 2000; ++i) calls += "abs(";
  calls += "1" + std::string(2000, ')');
  EXPECT_EQ(errorOf(calls), "The expression is too deeply nested ! @1:4001-1:4001");
  std::string nested = "1";
  for (int i = 0; i < 60; ++i) nested = "abs(" + nested + ")";
  EXPECT_EQ(answerOf(nested), "1");
  // The innermost call, tried and then evaluated first, is refused.
  std::string pairs = "1";
  for (int i = 0; i < 60; ++i) pairs = "sin(" + pairs + ", 2)";
  EXPECT_EQ(answerOf("round(" + pairs + ")"), "error: Expect one parameter for 'sin(x)' function ! @1:243-1:251");
}

TEST_F(Evaluator, LongInputsAreEvaluated) {
  const std::string digits = "0." + std::string(1 << 20, '3');
  EXPECT_EQ(answerOf(digits), "0.3333333333333333333333333333333333333333");
  std::string statements;
  for (int i = 0; i < 10000; ++i) statements += "v" + std::to_string(i) + " = " + std::to_string(i) + "\n";
  listeners.calls.clear();
  EXPECT_EQ(errorOf(statements + "v9999 + v1"), "");
  EXPECT_EQ(listeners.calls.size(), 2u * 10001) << "10001 logs; 10000 variables and ans displayed";
}

}  // namespace
