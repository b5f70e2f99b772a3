// Every digit an answer shows must be right, and exact values stay exact:
// answers checked against GMP for integers and against MPFR for the rest,
// on fixed cases and on random expressions scaled to 31-33 integer digits,
// where a result's leading word of one digit leaves the fewest to spare.
#include <gmpxx.h>
#include <mpfr.h>

#include <cmath>
#include <functional>
#include <random>
#include <string_view>
#include <tuple>
#include <utility>

#include "EvaluatorFixture.h"
#include "expr/Arithmetic.h"
#include "support/MpfrReference.h"

namespace {

using bignum::bigfloat;

constexpr mpfr_prec_t kBits = 4200;  // answers of up to 1000 decimals, and their guard digits

// An MPFR number that can be copied.
class Real {
 public:
  Real() { mpfr_init2(v_, kBits); }
  explicit Real(const char* text) : Real() { mpfr_set_str(v_, text, 10, MPFR_RNDN); }
  Real(const Real& other) : Real() { mpfr_set(v_, other.v_, MPFR_RNDN); }
  Real& operator=(const Real& other) {
    mpfr_set(v_, other.v_, MPFR_RNDN);
    return *this;
  }
  ~Real() { mpfr_clear(v_); }
  mpfr_ptr get() { return v_; }
  mpfr_srcptr get() const { return v_; }
  double approx() const { return mpfr_get_d(v_, MPFR_RNDN); }

 private:
  mpfr_t v_;
};

// An expression's text and its value to kBits bits.
struct Expr {
  std::string text;
  Real value;
};

// A literal and its value.
Expr lit(const std::string& text) { return {text, Real(text.c_str())}; }
std::string grouped(const Expr& e) {
  return e.text.find_first_of(" (-") == std::string::npos ? e.text : "(" + e.text + ")";
}
Expr binary(const Expr& a, char op, const Expr& b) {
  Expr r{grouped(a) + " " + op + " " + grouped(b), Real()};
  const decltype(&mpfr_add) oracles[] = {mpfr_add, mpfr_sub, mpfr_mul, mpfr_div, mpfr_fmod, mpfr_pow};
  oracles[std::string_view("+-*/%^").find(op)](r.value.get(), a.value.get(), b.value.get(), MPFR_RNDN);
  return r;
}
Expr call(const char* name, Oracle oracle, const Expr& x) {
  Expr r{std::string(name) + "(" + x.text + ")", Real()};
  oracle(r.value.get(), x.value.get(), MPFR_RNDN);
  return r;
}
// PI and E, as acos(-1) and exp(1) under the names the language gives them.
Expr pi() { return {"PI", call("acos", mpfr_acos, lit("-1")).value}; }
Expr euler() { return {"E", call("exp", mpfr_exp, lit("1")).value}; }

// `e` times 10^power, in factors of at most 1e30 (larger literals are refused).
Expr scaled(Expr e, int power) {
  for (; power > 0; power -= 30) e = binary(e, '*', lit("1e" + std::to_string(std::min(power, 30))));
  return e;
}

// Whether `answer` is `exact` rounded to `wanted` decimals: within half a unit
// of the last (and a hair, for exact values next to a half). Where `mayStop`,
// an answer may stop short of it (what is left when the operands' own errors
// reach the digits), cut from a value within a unit of its last digit.
bool roundedRight(const std::string& answer, const Real& exact, bool mayStop = false, long wanted = 40) {
  const std::size_t point = answer.find('.');
  const auto decimals = static_cast<long>(point == std::string::npos ? 0 : answer.size() - point - 1);
  const std::string limit = mayStop && decimals < wanted ? "1.000001e-" + std::to_string(decimals)
                                                         : "5.000001e-" + std::to_string(wanted + 1);
  Real ours, bound(limit.c_str());
  if (mpfr_set_str(ours.get(), answer.c_str(), 10, MPFR_RNDN) != 0) return false;
  mpfr_sub(ours.get(), ours.get(), exact.get(), MPFR_RNDN);
  return mpfr_cmpabs(ours.get(), bound.get()) <= 0;
}

}  // namespace

TEST_F(Evaluator, IntegerResultsAreExact) {
  const std::pair<const char*, const char*> cases[] = {
      {"floor(10^2)", "100"},     {"fix(10^3)", "1000"},   {"2^8 % 2", "0"},
      {"2^10 | 1", "1025"},       {"(2^3)!", "40320"},     {"2^100 >> 99", "2"},
      {"~2^5", "4294967263"},     {"ceil(0.1 * 3)", "1"},  {"floor(0.7 + 0.1 + 0.2)", "1"},
      {"(1e30 + 1 - 1e30)", "1"}, {"0x10 / 0x4", "4"},     {"(10 / 4) * 4 | 0", "10"},
      {"2^(-3) * 2^3 & 1", "1"},  {"(-2)^63 + 2^63", "0"}, {"7 >> 1", "4"},
  };
  for (const auto& [input, answer] : cases) EXPECT_EQ(answerOf(input), answer) << input;
  // Every power of a base from 2 to 40 below the value limit, against GMP.
  std::mt19937 random(32);
  int checked = 0;
  for (unsigned long base = 2; base <= 40; ++base) {
    for (unsigned long exponent = 1; exponent <= 110; ++exponent) {
      mpz_class power;
      mpz_ui_pow_ui(power.get_mpz_t(), base, exponent);
      const std::string exact = power.get_str();
      if (exact.size() > 33) break;  // beyond the value limit
      if (exact.size() < 20 && random() % 4 != 0) continue;
      const std::string input = std::to_string(base) + "^" + std::to_string(exponent);
      EXPECT_EQ(answerOf(input), exact) << input;
      ++checked;
    }
  }
  EXPECT_GT(checked, 300);
}

// Which values are exact, and how results too long for 81 digits are cut:
// as the literal of the exact result's text would be.
TEST_F(Evaluator, ExactValuesAndTheirCuts) {
  // Inputs whose exact result has too many digits, and that result's text.
  const std::pair<const char*, std::string> cuts[] = {
      {"12345678901234567890123456789.01234567890123456789012345678901234567890123456789012345",
       "12345678901234567890123456789.01234567890123456789012345678901234567890123456789012345"},
      {"1e30 - 1e-999999", "999999999999999999999999999999." + std::string(999999, '9')},
      {"1e-999999 - 1e30", "-999999999999999999999999999999." + std::string(999999, '9')},
      {"0.999999999 + 1e-999999", "0.999999999" + std::string(999989, '0') + "1"},
      {"(1 + 1e-50) * (1 + 1e-40)",
       "1." + std::string(39, '0') + "1" + std::string(9, '0') + "1" + std::string(39, '0') + "1"},
  };
  const auto valueOf = [&](const std::string& input) {
    bigfloat v;
    EXPECT_EQ(errorOf("v = " + input), "") << input;
    EXPECT_TRUE(parser->getVariable("v", v)) << input;
    return v;
  };
  for (const auto& [input, cutText] : cuts) {
    const bigfloat v = valueOf(input);
    EXPECT_EQ(v.prec(), 81) << input;
    EXPECT_EQ(v, bigfloat(cutText.c_str(), 81)) << input;
  }
  // Results that end within the value range are exact; those that do not end
  // carry 90 digits; cancellation between numbers with digits keeps its lower precision.
  for (const char* input : {"12345678901234567890123456789.0123456789012345678901234567890123456789012345678901",
                            "7 / 8", "2^(-20)", "1e-999999 * 1e-999999", "3 * 0.5", "10^32 + 0.25"})
    EXPECT_EQ(valueOf(input).prec(), bignum::INFINITE) << input;
  for (const char* input : {"1 / 3", "sqrt(2)", "sin(1)", "2 ^ 0.5", "PI", "E", "deg(1)", "3 ^ (-2)", "2 ^ (-300)"})
    EXPECT_EQ(valueOf(input).prec(), 90) << input;
  EXPECT_LT(valueOf("PI - 3.14159").prec(), 90);
}

TEST_F(Evaluator, AnswersAgreeWithMpfrInEveryDecimalShown) {
  std::vector<Expr> cases = {
      binary(binary(binary(binary(lit("1e30"), '+', lit("1")), '-', lit("1e30")), '*', pi()), '*', lit("1e10")),
      binary(binary(binary(pi(), '*', lit("5.102923476035750844393081592008573892013959692E1")), '^', lit("4")), '*',
             lit("1e23")),
      binary(binary(lit("0"), '-', call("lg", mpfr_log10, binary(lit("60000000"), '/', euler()))), '*', lit("1e31")),
      call("deg", mpfrDegrees, binary(lit("1e10"), '/', binary(binary(lit("1e31"), '+', lit("3")), '-', lit("1e31")))),
      binary(binary(lit("843294281456892932e12"), '%', lit("0.4882")), '*', pi()),
      call("atanh", mpfr_atanh, lit("0." + std::string(79, '9'))),
      binary(binary(lit("1"), '+', lit("1e-40")), '^', lit("1e33")),
      binary(binary(pi(), '^', lit("61")), '/', lit("1e0")),
      binary(binary(lit("1"), '/', lit("7")), '^', lit("-38")),
  };
  // Powers, some with large exponents, where exp magnifies every digit that y ln x misses.
  const char* powers[][2] = {{"10", "-32"},           {"2", "-100"},     {"1.5", "180"},          {"0.5", "0.5"},
                             {"123456.789", "5.5"},   {"2", "0.1"},      {"99.99", "16.5"},       {"1.0000001", "1e8"},
                             {"3.3", "-60"},          {"1e-20", "-1.6"}, {"31.4159", "21.9"},     {"2", "0.5"},
                             {"1.000001", "1000000"}, {"7.25", "37.5"},  {"0.999999", "-9876543"}};
  for (const auto& [x, y] : powers) cases.push_back(binary(lit(x), '^', lit(y)));
  for (const Expr& c : cases) {
    const std::string answer = answerOf(c.text);
    EXPECT_TRUE(roundedRight(answer, c.value)) << c.text << " => " << answer;
  }
}

// Functions that magnify their argument's error (near 1, near their poles,
// of large arguments) and remainders of large quotients, of computed values:
// what the magnified error reaches is not shown, and the rest is right.
TEST_F(Evaluator, IllConditionedResultsShowOnlyRightDigits) {
  const std::pair<Expr, int> cases[] = {
      // and a power of ten to scale it by
      {call("ln", mpfr_log, call("cosh", mpfr_cosh, lit("2.2867e-7"))), 44},
      {call("sin", mpfr_sin, binary(pi(), '*', lit("1e20"))), 30},
      {call("sin", mpfr_sin, binary(euler(), '*', lit("1e25"))), 32},
      {call("ln", mpfr_log, call("exp", mpfr_exp, lit("1e-20"))), 52},
      {call("atanh", mpfr_atanh, call("tanh", mpfr_tanh, lit("20"))), 31},
      {call("lg", mpfr_log10, call("sqrt", mpfr_sqrt, binary(lit("1"), '+', lit("1e-30")))), 61},
      {call("acosh", mpfr_acosh, call("cosh", mpfr_cosh, lit("1e-10"))), 42},
      {call("asin", mpfr_asin, call("sin", mpfr_sin, lit("1.5707963"))), 32},
      {call("acos", mpfr_acos, call("cos", mpfr_cos, lit("1e-20"))), 52},
      {call("tan", mpfr_tan, binary(pi(), '/', lit("2.0000000001"))), 22},
      {binary(binary(euler(), '*', lit("1e20")), '%', lit("7")), 31},
      {binary(binary(pi(), '*', lit("1e30")), '%', lit("1")), 32},
      {binary(lit("61401123364397304.453"), '%', call("ln", mpfr_log, pi())), 33},
      {call("ln", mpfr_log, binary(call("atan", mpfr_atan, euler()), '%', lit("1"))), 32},
      {binary(euler(), '-', lit("2.718281828459")), 45},
  };
  for (const auto& [expression, scale] : cases) {
    const Expr e = scaled(expression, scale);
    const std::string answer = answerOf(e.text);
    EXPECT_TRUE(roundedRight(answer, e.value, true)) << e.text << " => " << answer;
  }
}

// Random expressions of literals, PI and E, the arithmetic operators, powers
// and functions, scaled so that the answer has 31 to 33 integer digits.
TEST_F(Evaluator, RandomExpressionsShowEveryDigitRight) {
  std::mt19937_64 rng(20261207);
  const auto uniform = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  const auto number = [&] {
    std::string text = std::to_string(1 + uniform(9));
    for (int n = uniform(20); n > 0; --n) text += static_cast<char>('0' + uniform(10));
    if (uniform(2)) text.insert(1 + static_cast<std::size_t>(uniform(static_cast<int>(text.size()))), ".");
    if (text.back() == '.') text.pop_back();
    if (uniform(3) == 0) text += "e" + std::to_string(uniform(11) - 5);
    return lit(text);
  };
  // Each function with the lowest and highest arguments it is given.
  const std::tuple<const char*, Oracle, double, double> functions[] = {
      {"sin", mpfr_sin, -1e3, 1e3}, {"cos", mpfr_cos, -1e3, 1e3},         {"atan", mpfr_atan, -1e6, 1e6},
      {"exp", mpfr_exp, -50, 50},   {"ln", mpfr_log, 1e-10, 1e30},        {"lg", mpfr_log10, 1e-10, 1e30},
      {"sqrt", mpfr_sqrt, 0, 1e30}, {"sinh", mpfr_sinh, -50, 50},         {"cosh", mpfr_cosh, -50, 50},
      {"tanh", mpfr_tanh, -50, 50}, {"asinh", mpfr_asinh, -1e20, 1e20},   {"asin", mpfr_asin, -1, 1},
      {"acos", mpfr_acos, -1, 1},   {"atanh", mpfr_atanh, -0.999, 0.999},
  };
  std::function<Expr(int)> generate = [&](int depth) -> Expr {
    for (;;) {
      const int kind = depth == 0 ? uniform(8) : uniform(10);
      if (kind == 0) return pi();
      if (kind == 1) return euler();
      if (kind < 8) return number();
      const Expr a = generate(depth - 1);
      Expr r;
      if (kind == 8) {
        const auto& [name, oracle, low, high] = functions[uniform(static_cast<int>(std::size(functions)))];
        if (a.value.approx() < low || a.value.approx() > high) continue;
        r = call(name, oracle, a);
      } else {
        const Expr b = uniform(4) == 0 ? lit(std::to_string(uniform(9) + 1)) : generate(depth - 1);
        const char op = "+-*/^"[uniform(5)];
        if (op == '^' && (a.value.approx() <= 0 || std::fabs(b.value.approx() * std::log10(a.value.approx())) > 25))
          continue;
        if (op == '/' && mpfr_zero_p(b.value.get())) continue;
        r = binary(a, op, b);
        // Cancellation between numbers with digits keeps only the digits left.
        const double larger = std::max(std::fabs(a.value.approx()), std::fabs(b.value.approx()));
        if ((op == '+' || op == '-') && std::fabs(r.value.approx()) < 1e-3 * larger) continue;
      }
      const double size = std::fabs(r.value.approx());
      if (size > 1e30 || size < 1e-30) continue;
      return r;
    }
  };
  // At the default 40 decimals, and at others: every digit right at any precision.
  for (const auto& [decimals, rounds] : {std::pair{40L, 300}, {0L, 30}, {9L, 30}, {200L, 30}, {1000L, 10}}) {
    EvaluationSettings settings;
    settings.decimals = decimals;
    ASSERT_TRUE(parser->setSettings(settings));
    for (int round = 0; round < rounds; ++round) {
      const Expr e = generate(1 + uniform(3));
      const int digits = 31 + uniform(3);
      const Expr s = scaled(e, digits - 1 - static_cast<int>(std::floor(std::log10(std::fabs(e.value.approx())))));
      const std::string answer = answerOf(s.text);
      EXPECT_TRUE(roundedRight(answer, s.value, false, decimals)) << s.text << " => " << answer << " at " << decimals;
    }
  }
}
