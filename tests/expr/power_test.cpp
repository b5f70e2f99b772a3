// Answers of powers: every digit an answer shows must be right. Checked
// against GMP for integer powers and against MPFR for the others.
#include <gmp.h>
#include <mpfr.h>

#include <random>

#include "EvaluatorFixture.h"

namespace {

// `base`^`exponent` exactly, as text.
std::string exactPower(unsigned long base, unsigned long exponent) {
  mpz_t z;
  mpz_init(z);
  mpz_ui_pow_ui(z, base, exponent);
  char* digits = mpz_get_str(nullptr, 10, z);
  std::string text(digits);
  free(digits);
  mpz_clear(z);
  return text;
}

// Whether `answer` lies within one unit of its 40th decimal of x^y (x, y decimal texts).
bool closeToPower(const std::string& answer, const std::string& x, const std::string& y) {
  mpfr_t base, exponent, exact, ours;
  mpfr_inits2(600, base, exponent, exact, ours, nullptr);
  mpfr_set_str(base, x.c_str(), 10, MPFR_RNDN);
  mpfr_set_str(exponent, y.c_str(), 10, MPFR_RNDN);
  mpfr_pow(exact, base, exponent, MPFR_RNDN);
  const bool readable = mpfr_set_str(ours, answer.c_str(), 10, MPFR_RNDN) == 0;
  mpfr_sub(ours, ours, exact, MPFR_RNDN);
  mpfr_abs(ours, ours, MPFR_RNDN);
  const bool close = readable && mpfr_cmp_d(ours, 1e-40) <= 0;
  mpfr_clears(base, exponent, exact, ours, nullptr);
  return close;
}

}  // namespace

TEST_F(Evaluator, IntegerPowersShowTheExactInteger) {
  std::mt19937 random(32);
  int checked = 0;
  for (unsigned long base = 2; base <= 40; ++base) {
    for (unsigned long exponent = 1; exponent <= 110; ++exponent) {
      const std::string exact = exactPower(base, exponent);
      if (exact.size() > 33) break;  // beyond the value limit
      if (exact.size() < 20 && random() % 4 != 0) continue;
      const std::string input = std::to_string(base) + "^" + std::to_string(exponent);
      EXPECT_EQ(answerOf(input), exact) << input;
      ++checked;
    }
  }
  EXPECT_GT(checked, 300);
}

TEST_F(Evaluator, PowersAgreeWithMpfrInEveryDecimalShown) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"10", "-32"},         {"2", "-100"},          {"1.5", "180"},       {"7.25", "37.5"},
      {"0.5", "0.5"},        {"123456.789", "5.5"},  {"2", "0.1"},         {"99.99", "16.5"},
      {"1.0000001", "1e8"},  {"3.3", "-60"},         {"1e-20", "-1.6"},    {"31.4159", "21.9"}};
  for (const auto& [x, y] : cases) {
    const std::string answer = answerOf(x + "^(" + y + ")");
    EXPECT_TRUE(closeToPower(answer, x, y)) << x << "^" << y << " => " << answer;
  }
}
