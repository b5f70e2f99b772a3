// Inputs that once hung the evaluator or blew up its memory, and the other
// shapes of dangerous input: each gets its answer or its refusal at once.
// (The suite's own time limit catches a return of the old behaviour; these
// took from seconds to many minutes and up to gigabytes before.)
#include <ctime>
#include <utility>

#include "EvaluatorFixture.h"

TEST_F(Evaluator, InputsThatUsedToHangAnswerAtOnce) {
  const std::pair<const char*, const char*> cases[] = {
      // Results this small round to 0 or lie next to 1 or pi/2 at 40 decimals.
      {"sin(1e-99999999)", "0"},
      {"cos(1e-99999999)", "1"},
      {"tan(-1e-99999999)", "0"},
      {"asin(1e-99999999)", "0"},
      {"acos(1e-999999999)", "1.5707963267948966192313216916397514420986"},
      {"atan(1e-999999999)", "0"},
      {"sinh(1e-99999999)", "0"},
      {"tanh(1e-99999999)", "0"},
      {"asinh(-1e-99999999)", "0"},
      {"atanh(1e-99999999)", "0"},
      {"exp(1e-999999999)", "1"},
      {"cosh(-1e-999999999)", "1"},
      {"2 ^ 1e-999999999", "1"},
      {"1e-999999999 ^ 1e-999999999", "1"},
      // Powers whose value lies far below 1.
      {"1e-57100 ^ 711 ^ 7100", "0"},
      {"1e-99999 ^ 99999", "0"},
      {"0.5 ^ 1e30", "0"},
      // A function value next to 1 by a billion digits.
      {"tanh(1111111112)", "1"},
      {"tanh(-1e30)", "-1"},
      // Powers whose exponent of e has more digits than a double holds.
      {"0.5 ^ 1e12", "0"},
      {"exp(-98765432.1)", "0"},
      {"0.000002777777777777777775e3 ^ 77777777777775e3", "0"},
      // An exact integer meeting a tiny number.
      {"0x1 + 1e-999999999", "1"},
      {"floor(2.5) - 1e-999999999", "2"},
      {"5! - 1e-999999999", "120"},
  };
  for (const auto& [input, answer] : cases) EXPECT_EQ(answerOf(input), answer) << input;
}

TEST_F(Evaluator, HugeInputsGetAnAnswerOrARefusal) {
  // Huge powers (found by fuzzing: the exponential's start value went below
  // zero), a megabyte of digits in one literal, a ten-digit exponent.
  for (const std::string& input : std::initializer_list<std::string>{
           "0xFF7777777777777771777 ^ 777977777777777", "exp(123456789.123)", "2 ^ 1e12", "exp(1e17)",
           "1 / 0.000002777777777777777775e3 ^ 77777777777775e3", std::string(1 << 20, '7'), "1e9999999999"})
    EXPECT_EQ(errorOf(input).substr(0, 42), "The result or temporary value is too big !") << input.substr(0, 60);
  // A megabyte of digits after the point is an ordinary number; so are tiny ones.
  EXPECT_EQ(answerOf("0." + std::string(1 << 20, '5')), "0.5555555555555555555555555555555555555556");
  EXPECT_EQ(answerOf("1e-9999999999 * 1e-9999999999 + 1"), "1");
  // A thousand nested brackets of each kind are fine; a hundred thousand are
  // refused where the thousand-and-first opens.
  for (const char* brackets : {"()", "[]", "{}"}) {
    EXPECT_EQ(errorOf(std::string(1000, brackets[0]) + "1" + std::string(1000, brackets[1])), "") << brackets;
    const std::string deep = std::string(100000, brackets[0]) + "1" + std::string(100000, brackets[1]);
    EXPECT_EQ(errorOf(deep), "The expression is too deeply nested ! @1:1001-1:1001") << brackets;
  }
}

// Radix literals are refused by their count of significant digits before any
// conversion, which took minutes for a million digits (now a tenth of a
// second, a few under the sanitizers); leading zeros cost nothing; next to
// the limit the value decides (1e33 itself is allowed).
TEST_F(Evaluator, LongRadixLiteralsAreRefusedAtOnce) {
  const std::size_t million = 1000000;
  const std::string zeros(million, '0');
  const std::string binaryLimit =  // 1e33
      "1100010100110111000110010001001000110110010011001110001"
      "1000001010110110000101000000000000000000000000000000000";
  const auto tooBig = [](std::size_t length) {
    return "error: The result or temporary value is too big ! @1:1-1:" + std::to_string(length);
  };
  const std::pair<std::string, std::string> cases[] = {
      {"0x" + std::string(million, 'f'), tooBig(million + 2)},
      {"0b" + std::string(million, '1'), tooBig(million + 2)},
      {"0" + std::string(million, '7'), tooBig(million + 1)},
      {"0x" + zeros + "ff", "255"},
      {"0" + zeros + "17", "15"},
      {"0x" + zeros + "1" + zeros, tooBig(2 * million + 3)},
      {"0x314DC6448D9338C15B0A00000000", "1000000000000000000000000000000000"},
      {"0x314dc6448d9338c15b0a00000001", tooBig(30)},
      {"0b" + zeros + binaryLimit, "1000000000000000000000000000000000"},
      {"0b" + binaryLimit.substr(0, binaryLimit.size() - 1) + "1", tooBig(binaryLimit.size() + 2)},
      {"03051561442215446343012660500000000000", "1000000000000000000000000000000000"},
      {"03051561442215446343012660500000000001", tooBig(38)},
  };
  for (const auto& [input, answer] : cases) {
    const std::clock_t start = std::clock();
    EXPECT_EQ(answerOf(input), answer) << input.substr(0, 40);
    EXPECT_LT(static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC, 5.0) << input.substr(0, 40);
  }
}
