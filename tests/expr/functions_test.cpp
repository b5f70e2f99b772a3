// The built-in functions: values against MPFR at 81 digits, the hyperbolic
// ones against the exponential at random precisions, domain checks with their
// exact messages and order.
#include "bignum/functions.h"

#include <gtest/gtest.h>
#include <mpfr.h>

#include <functional>
#include <memory>
#include <random>
#include <string>
#include <tuple>
#include <utility>

#include "expr/Constants.h"
#include "expr/FormatValue.h"
#include "expr/Function.h"
#include "support/MpfrReference.h"

namespace {

using bignum::bigfloat;

bigfloat d81(const char* text) { return bigfloat(text, 81); }

// Calls a function by name as the grammar does, with one argument or two.
template <typename... Arguments>
bigfloat call(const std::string& name, const Arguments&... arguments) {
  const std::unique_ptr<Function> f = Reflectable<Function>::create(name);
  if (!f) throw std::runtime_error("no function " + name);
  return f->evaluate(arguments...);
}

// The message a call is refused with, or "" when it is not.
std::string refusal(const std::function<bigfloat()>& computation) {
  try {
    computation();
  } catch (const std::string& message) {
    return message;
  }
  return "";
}

// |ours - exact| below 10^-72 relative (the last word of 81 digits), or absolute when exact is 0.
bool close(const bigfloat& ours, mpfr_ptr exact) {
  MpfrReference difference(81, ours), bound(81);
  mpfr_sub(difference.get(), difference.get(), exact, MPFR_RNDN);
  mpfr_abs(difference.get(), difference.get(), MPFR_RNDN);
  mpfr_set_str(bound.get(), "1e-72", 10, MPFR_RNDN);
  if (mpfr_zero_p(exact) == 0) mpfr_mul(bound.get(), bound.get(), exact, MPFR_RNDN);
  mpfr_abs(bound.get(), bound.get(), MPFR_RNDN);
  return mpfr_cmp(difference.get(), bound.get()) <= 0;
}

// Every argument of a shared list that lies in a function's domain (with tiny
// ones, points next to poles and edges, large ones). PI and E are checked to
// as many digits in answers_test, scaled to 33 integer digits with 40 decimals.
TEST(Functions, AgreeWithMpfrAt81Digits) {
  const double all = 1e99;
  // Each function with the lowest and highest arguments it is given.
  const std::tuple<const char*, Oracle, double, double> functions[] = {
      {"deg", mpfrDegrees, -all, all},
      {"sin", mpfr_sin, -200, 200},
      {"cos", mpfr_cos, -200, 200},
      {"tan", mpfr_tan, -200, 200},
      {"asin", mpfr_asin, -1, 1},
      {"acos", mpfr_acos, -1, 1},
      {"atan", mpfr_atan, -all, all},
      {"sinh", mpfr_sinh, -200, 200},
      {"cosh", mpfr_cosh, -200, 200},
      {"tanh", mpfr_tanh, -all, all},
      {"asinh", mpfr_asinh, -all, all},
      {"acosh", mpfr_acosh, 1, all},
      {"exp", mpfr_exp, -200, 200},
      {"ln", mpfr_log, 1e-16, all},
      {"lg", mpfr_log10, 1e-16, all},
      {"sqrt", mpfr_sqrt, 0, all},
      {"atanh", mpfr_atanh, -0.999999999, 0.999999999},
  };
  for (const char* argument :
       {"0",      "0.5",       "-0.5",   "1",       "-1",       "2",          "-2",          "3",
        "7",      "30",        "-45.5",  "70",      "100",      "180",        "200",         "1000",
        "-1e6",   "1e10",      "1e30",   "-1e30",   "1e50",     "-1e50",      "1e-16",       "1e-20",
        "-1e-20", "3e-36",     "-3e-36", "1e-9000", "-1e-9000", "0.99999999", "-0.99999999", "1.0000000000000000000001",
        "1.5",    "-1.5707963"}) {
    const bigfloat x = d81(argument);
    MpfrReference in(81, x);
    for (const auto& [name, oracle, low, high] : functions) {
      if (mpfr_cmp_d(in.get(), low) < 0 || mpfr_cmp_d(in.get(), high) > 0) continue;
      MpfrReference exact(81);
      oracle(exact.get(), in.get(), MPFR_RNDN);
      const bigfloat ours = call(name, x);
      EXPECT_TRUE(close(ours, exact.get())) << name << "(" << argument << ") = " << formatValue(ours, 80);
    }
  }
}

// sinh, cosh and tanh against (e^x -+ e^-x) / 2 at random precisions from 20
// to 3000 digits, away from 0 where the difference cancels.
TEST(Functions, HyperbolicAgreeWithTheExponential) {
  std::mt19937_64 rng(20261207);
  for (int round = 0; round < 40; ++round) {
    const long p = 20 + static_cast<long>(rng() % 2981);
    const double magnitude = 0.5 + static_cast<double>(rng() % 19500) / 1000;
    const bigfloat x(round % 2 ? magnitude : -magnitude, p);
    bigfloat wide = x;
    wide.prec(p + 18);
    const bigfloat e = bignum::exp(wide), inverse = bigfloat(1) / e;
    const bigfloat sinh = (e - inverse) / bigfloat(2), cosh = (e + inverse) / bigfloat(2);
    const bigfloat tolerance(("1e-" + std::to_string(p - 18)).c_str(), p);
    for (const auto& [name, expected] : {std::pair{"sinh", sinh}, {"cosh", cosh}, {"tanh", sinh / cosh}})
      EXPECT_TRUE(abs(call(name, x) - expected) <= abs(expected) * tolerance)
          << name << "(" << magnitude << ") at " << p;
  }
}

// Exact arguments, exact results, and the rounding functions.
TEST(Functions, ExactArgumentsAndResults) {
  // Integers from the integer operators and the rounding functions are exact.
  for (const char* name : {"deg", "sin", "exp", "ln", "sqrt", "asinh", "acosh", "tan", "lg"})
    EXPECT_EQ(call(name, bigfloat(2)), call(name, d81("2"))) << name;
  // Exact results where the arguments allow them; rounding takes halves away from zero.
  const std::pair<bigfloat, const char*> exact[] = {
      {call("log", bigfloat(2), bigfloat(8)), "3"},
      {call("log", d81("10"), d81("1000")), "3"},
      {call("lg", d81("1000")), "3"},
      {call("tan", PI.get() / 4), "1"},
      {call("sin", call("deg", d81("30"))), "0.5"},
  };
  for (const auto& [value, text] : exact) EXPECT_EQ(formatValue(value, 40), text) << formatValue(value, 90);
  std::string rounded;
  for (const char* name : {"fix", "floor", "ceil", "round", "abs"})
    for (const char* x : {"-2.7", "-2.5", "-2.4", "0.49", "2.5"}) rounded += formatValue(call(name, d81(x)), 40) + " ";
  EXPECT_EQ(rounded, "-2 -2 -2 0 2 -3 -3 -3 0 2 -2 -2 -2 1 3 -3 -3 -2 0 3 2.7 2.5 2.4 0.49 2.5 ");
  EXPECT_EQ(call("deg", d81("180")), PI.get());
  EXPECT_EQ(call("floor", d81("2.7")).prec(), bignum::INFINITE);
  // Zeros exactly, not a hair off.
  EXPECT_EQ(call("acosh", d81("1")).sign() | call("atanh", d81("0")).sign() | call("sqrt", d81("0")).sign(), 0);
}

// Each check refuses with its message (log's two arguments once each); values
// just inside the domains are computed.
TEST(Functions, DomainChecks) {
  const char* tangent = "Undefined tangent value !";
  const char* logarithm = "Undefined logarithm value !";
  const bigfloat halfPi = PI.get() / 2;
  const std::tuple<const char*, bigfloat, const char*> cases[] = {
      // a call and its refusal ("" when computed)
      {"tan", halfPi, tangent},
      {"tan", -7 * PI.get() / 2, tangent},
      {"tan", call("deg", d81("270")), tangent},
      {"ln", d81("0"), logarithm},
      {"ln", d81("-1"), logarithm},
      {"ln", d81("1e-17"), logarithm},
      {"lg", d81("0"), logarithm},
      {"sqrt", d81("-1"), "Undefined square root value !"},
      {"asin", d81("1.0000001"), "Undefined arcsine value !"},
      {"acos", d81("-1.5"), "Undefined arccos value !"},
      {"acosh", d81("0.5"), "Undefined  arccos hyperbolic value !"},
      {"atanh", d81("1"), "Undefined arctangent hyperbolic value !"},
      {"atanh", d81("-1"), "Undefined arctangent hyperbolic value !"},
      {"ln", d81("1e-16"), ""},
      {"asin", d81("1"), ""},
      {"acos", d81("-1"), ""},
      {"tan", PI.get() / 4, ""},
      {"tan", d81("1.5707963"), ""},
  };
  for (const auto& [name, x, message] : cases)
    EXPECT_EQ(refusal([&f = name, &v = x] { return call(f, v); }), message) << name << "(" << formatValue(x, 20) << ")";
  const char* logs[][2] = {{"1", "8"}, {"0", "8"}, {"2", "0"}};
  for (const auto& log : logs)
    EXPECT_EQ(refusal([&] { return call("log", d81(log[0]), d81(log[1])); }), logarithm) << log[0] << ", " << log[1];
}

// Every function at the edges of what reaches it: a result or a refusal, at once.
TEST(Functions, ExtremeArgumentsGiveAResultOrARefusal) {
  for (const auto& entry : Reflectable<Function>::creators()) {
    const std::string& name = entry.first;
    if (name == "log") continue;  // takes two arguments
    for (const char* argument : {"1e33", "-1e33", "1e-300", "-1e-300", "0", "-0.99999999999999999999"}) {
      bigfloat result;
      const std::string message = refusal([&] { return result = call(name, d81(argument)); });
      if (!message.empty()) continue;
      // Too large for the language (refused by its size check) or a plain answer.
      const std::string text = formatValue(result, 40);
      EXPECT_TRUE(abs(result) > VALUE_LIMIT || text.size() < 100) << name << "(" << argument << ") = " << text;
    }
  }
  EXPECT_EQ(formatValue(call("sinh", d81("-1e33")), 40).substr(0, 3), "-0.") << "the exponent notation";
}

}  // namespace
