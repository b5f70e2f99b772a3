// Answers under other settings: many decimals against MPFR, the notations,
// and with the value limit off, exact integers against GMP and the size guard.
#include <gmpxx.h>
#include <mpfr.h>

#include <optional>
#include <tuple>

#include "EvaluatorFixture.h"
#include "support/MpfrReference.h"

namespace {

EvaluationSettings settingsOf(long decimals, std::optional<std::int64_t> limit = 33,
                              EvaluationSettings::Notation notation = EvaluationSettings::Notation::Fixed) {
  EvaluationSettings s;
  s.decimals = decimals;
  s.limitExponent = limit;
  s.notation = notation;
  return s;
}

// Whether the decimal `answer` lies within `units` units of its last shown
// digit's `place` (10^-place) of `exact`.
bool within(const std::string& answer, mpfr_srcptr exact, long place, const char* units = "0.5000001") {
  MpfrReference ours(place + 50), bound(place + 50);
  mpfr_set_str(ours.get(), answer.c_str(), 10, MPFR_RNDN);
  mpfr_sub(ours.get(), ours.get(), exact, MPFR_RNDN);
  mpfr_set_str(bound.get(), (std::string(units) + "e-" + std::to_string(place)).c_str(), 10, MPFR_RNDN);
  return mpfr_cmpabs(ours.get(), bound.get()) <= 0;
}

}  // namespace

TEST_F(Evaluator, ManyDecimalsAgreeWithMpfr) {
  // An input, and its value as an MPFR function of an argument.
  const std::tuple<const char*, Oracle, const char*> cases[] = {
      {"PI", mpfr_acos, "-1"},     {"sqrt(2)", mpfr_sqrt, "2"},  {"exp(1)", mpfr_exp, "1"},
      {"E", mpfr_exp, "1"},        {"ln(10)", mpfr_log, "10"},   {"sin(1)", mpfr_sin, "1"},
      {"atan(1)", mpfr_atan, "1"}, {"1/7", mpfr_rec_sqrt, "49"},
  };
  for (const long decimals : {1000L, 10000L}) {
    ASSERT_TRUE(parser->setSettings(settingsOf(decimals)));
    for (const auto& [input, oracle, argument] : cases) {
      MpfrReference exact(decimals);
      mpfr_set_str(exact.get(), argument, 10, MPFR_RNDN);
      oracle(exact.get(), exact.get(), MPFR_RNDN);
      const std::string answer = answerOf(input);
      EXPECT_TRUE(within(answer, exact.get(), decimals)) << input << " at " << decimals << ": " << answer.substr(0, 60);
    }
  }
}

// Settings, an input and its answer (or its error) as the notations and the
// limit define them.
TEST_F(Evaluator, NotationsLimitsAndTheSizeGuard) {
  const auto automatic = EvaluationSettings::Notation::Auto;
  const std::tuple<EvaluationSettings, const char*, const char*> cases[] = {
      {settingsOf(40, 33, automatic), "3e-50", "3e-50"},
      {settingsOf(40, 33, automatic), "1/3*3-1", "0"},
      {settingsOf(40, 33, automatic), "2^(-100)", "7.888609052210118054117285652827862296732e-31"},
      {settingsOf(40, 33, automatic), "1e-73", "0"},
      {settingsOf(40), "3e-50", "0"},
      {settingsOf(40), "2^(-100)", "0.0000000000000000000000000000007888609052"},
      {settingsOf(0), "2/3", "1"},
      {settingsOf(40, 5), "10^5", "100000"},
      {settingsOf(40, 5), "10^5 + 1", "error: The result or temporary value is too big ! @1:6-1:6"},
      {settingsOf(40, std::nullopt), "100!/98!", "9900"},
      {settingsOf(40, std::nullopt), "exp(100)",
       "2.688117141816135448412625551580013587361111877374192241519160861528028703e+43"},
      {settingsOf(40, std::nullopt), "2^(2^60)",
       "error: The result would have 3.47e+17 digits, more than the 1000000000 digits allowed ! @1:2-1:2"},
      {settingsOf(40, std::nullopt), "10^(10^9)",
       "error: The result would have 1000000001 digits, more than the 1000000000 digits allowed ! @1:3-1:3"},
      {settingsOf(40, std::nullopt), "(10^9)!!",
       "error: The result would have 8565705523 digits, more than the 1000000000 digits allowed ! @1:7-1:7"},
      {settingsOf(40, std::nullopt), "exp(1e30)", "error: The result or temporary value is too big ! @1:1-1:9"},
  };
  for (const auto& [settings, input, answer] : cases) {
    EvaluationSettings s = settings;
    s.sizeGuardDigits = 1'000'000'000;
    ASSERT_TRUE(parser->setSettings(s));
    EXPECT_EQ(answerOf(input), answer) << input;
  }
}

// With the limit off, integer results are exact at any size and other values
// are answers in scientific notation with 73 significant digits.
TEST_F(Evaluator, WithoutTheLimitIntegersAreExact) {
  ASSERT_TRUE(parser->setSettings(settingsOf(40, std::nullopt)));
  mpz_class power, factorial, big("12345678901234567890");
  mpz_ui_pow_ui(power.get_mpz_t(), 2, 10000);
  mpz_fac_ui(factorial.get_mpz_t(), 1000);
  mpz_pow_ui(big.get_mpz_t(), big.get_mpz_t(), 50);
  EXPECT_EQ(answerOf("2^10000"), power.get_str());
  EXPECT_EQ(answerOf("1000!"), factorial.get_str());
  EXPECT_EQ(answerOf("12345678901234567890^50"), big.get_str());
  EXPECT_EQ(answerOf("2^10000 / 2^9998 - 4 + 1000! % 7"), "0");
  // The integer operators on operands of up to 200,000 bits, written in hexadecimal.
  gmp_randclass random(gmp_randinit_default);
  random.seed(17);
  for (const unsigned long bits : {40UL, 3000UL, 70000UL, 200000UL}) {
    const mpz_class a = random.get_z_bits(bits), b = random.get_z_bits(bits / 3), shift = bits / 7 + 1;
    const std::string x = "0x" + a.get_str(16), y = "0x" + b.get_str(16), n = shift.get_str();
    const mpz_class width = mpz_class(1) << static_cast<mp_bitcnt_t>((mpz_sizeinbase(a.get_mpz_t(), 2) + 31) / 32 * 32);
    const mpz_class rounded = (a + (mpz_class(1) << static_cast<mp_bitcnt_t>(shift.get_ui() - 1))) >> shift.get_ui();
    const std::tuple<const char*, const std::string&, mpz_class> cases[] = {{" | ", y, a | b},
                                                                            {" $ ", y, a ^ b},
                                                                            {" & ", y, a & b},
                                                                            {" << ", n, a << shift.get_ui()},
                                                                            {" >> ", n, rounded}};
    for (const auto& [op, right, expected] : cases)
      EXPECT_EQ(answerOf((x + op).append(right)), expected.get_str()) << op << bits;
    EXPECT_EQ(answerOf("~" + x), mpz_class(width - 1 - a).get_str()) << bits;
  }
  // 10^1000.5 as d.ddd...e+1000 with 73 digits: its mantissa against 10^0.5.
  const std::string answer = answerOf("10^1000.5");
  ASSERT_EQ(answer.substr(answer.size() - 6), "e+1000");
  MpfrReference root(100);
  mpfr_sqrt_ui(root.get(), 10, MPFR_RNDN);
  EXPECT_TRUE(within(answer.substr(0, answer.size() - 6), root.get(), 72)) << answer;
}
