// Inputs that once hung the evaluator or blew up its memory, and the other
// shapes of dangerous input: each gets its answer or its refusal at once.
// (The suite's own time limit catches a return of the old behaviour; these
// took from seconds to many minutes and up to gigabytes before.)
#include "EvaluatorFixture.h"

TEST_F(Evaluator, InputsThatUsedToHangAnswerAtOnce) {
  const struct {
    const char* input;
    const char* answer;
  } cases[] = {
      // Results this small round to 0 or lie next to 1 or pi/2 at 40 decimals.
      {"sin(1e-99999999)", "0"},     {"cos(1e-99999999)", "1"},    {"tan(-1e-99999999)", "0"},
      {"asin(1e-99999999)", "0"},    {"acos(1e-999999999)", "1.5707963267948966192313216916397514420986"},
      {"atan(1e-999999999)", "0"},   {"sinh(1e-99999999)", "0"},   {"tanh(1e-99999999)", "0"},
      {"asinh(-1e-99999999)", "0"},  {"atanh(1e-99999999)", "0"},  {"exp(1e-999999999)", "1"},
      {"cosh(-1e-999999999)", "1"},  {"2 ^ 1e-999999999", "1"},    {"1e-999999999 ^ 1e-999999999", "1"},
      // Powers whose value lies far below 1.
      {"1e-57100 ^ 711 ^ 7100", "0"}, {"1e-99999 ^ 99999", "0"},   {"0.5 ^ 1e30", "0"},
      // A function value next to 1 by a billion digits.
      {"tanh(1111111112)", "1"},     {"tanh(-1e30)", "-1"},
      // Powers whose exponent of e has more digits than a double holds.
      {"0.5 ^ 1e12", "0"},           {"exp(-98765432.1)", "0"},
      {"0.000002777777777777777775e3 ^ 77777777777775e3", "0"},
      // An exact integer meeting a tiny number.
      {"0x1 + 1e-999999999", "1"},   {"floor(2.5) - 1e-999999999", "2"}, {"5! - 1e-999999999", "120"},
  };
  for (const auto& c : cases) EXPECT_EQ(answerOf(c.input), c.answer) << c.input;
}

TEST_F(Evaluator, HugePowersAreRefused) {
  // Found by fuzzing: the exponential's start value went below zero.
  for (const char* input : {"0xFF7777777777777771777 ^ 777977777777777", "exp(123456789.123)", "2 ^ 1e12", "exp(1e17)",
                            "1 / 0.000002777777777777777775e3 ^ 77777777777775e3"})
    EXPECT_EQ(errorOf(input).substr(0, 42), "The result or temporary value is too big !") << input;
}

TEST_F(Evaluator, HugeInputsGetAnAnswerOrARefusal) {
  // A megabyte of digits is one literal: far beyond the value limit.
  EXPECT_EQ(errorOf(std::string(1 << 20, '7')).substr(0, 42), "The result or temporary value is too big !");
  // A megabyte of digits after the point is an ordinary number.
  EXPECT_EQ(answerOf("0." + std::string(1 << 20, '5')), "0.5555555555555555555555555555555555555556");
  // Ten-digit exponents, both ways.
  EXPECT_EQ(errorOf("1e9999999999").substr(0, 42), "The result or temporary value is too big !");
  EXPECT_EQ(answerOf("1e-9999999999"), "0");
  EXPECT_EQ(answerOf("1e-9999999999 * 1e-9999999999 + 1"), "1");
  // A hundred thousand nested brackets of each kind.
  for (const char* brackets : {"()", "[]", "{}"}) {
    const std::string deep = std::string(100000, brackets[0]) + "1" + std::string(100000, brackets[1]);
    EXPECT_EQ(errorOf(deep).substr(0, 37), "The expression is too deeply nested !");
  }
}
