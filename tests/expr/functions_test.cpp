// The built-in functions: values against MPFR at 81 digits, domain checks
// with their exact messages and order, the registry.
#include <gtest/gtest.h>

#include <string>
#include <vector>
#include <mpfr.h>

#include <functional>
#include <memory>
#include <sstream>

#include "expr/Constants.h"
#include "expr/FormatValue.h"
#include "expr/Function.h"
#include "support/MpfrReference.h"

namespace {

using bignum::bigfloat;

bigfloat d81(const char* text) { return bigfloat(text, 81); }

// Calls a function by name as the grammar does.
bigfloat call(const std::string& name, const bigfloat& x) {
  const std::unique_ptr<Function> f = Reflectable<Function>::create(name);
  if (!f) throw std::runtime_error("no function " + name);
  return f->evaluate(x);
}
bigfloat call(const std::string& name, const bigfloat& a, const bigfloat& b) {
  const std::unique_ptr<Function> f = Reflectable<Function>::create(name);
  if (!f) throw std::runtime_error("no function " + name);
  return f->evaluate(a, b);
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

// MPFR numbers wide enough for 81-digit arguments and results.
class Mpfr : public MpfrReference {
 public:
  Mpfr() : MpfrReference(81) {}
};

// |ours - exact| below 10^-72 relative (the last word of 81 digits), or absolute when exact is 0.
bool close(const bigfloat& ours, mpfr_ptr exact) {
  Mpfr difference, bound;
  difference.set(ours);
  mpfr_sub(difference.get(), difference.get(), exact, MPFR_RNDN);
  mpfr_abs(difference.get(), difference.get(), MPFR_RNDN);
  mpfr_set_str(bound.get(), "1e-72", 10, MPFR_RNDN);
  if (mpfr_zero_p(exact) == 0) mpfr_mul(bound.get(), bound.get(), exact, MPFR_RNDN);
  mpfr_abs(bound.get(), bound.get(), MPFR_RNDN);
  return mpfr_cmp(difference.get(), bound.get()) <= 0;
}

using Oracle = std::function<void(mpfr_ptr, mpfr_ptr)>;  // result, argument

Oracle of(int (*f)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t)) {
  return [f](mpfr_ptr r, mpfr_ptr x) { f(r, x, MPFR_RNDN); };
}

TEST(Functions, AgreeWithMpfrAt81Digits) {
  const struct {
    const char* name;
    Oracle oracle;
    std::vector<const char*> arguments;
  } cases[] = {
      {"deg",
       [](mpfr_ptr r, mpfr_ptr x) {
         mpfr_const_pi(r, MPFR_RNDN);
         mpfr_mul(r, r, x, MPFR_RNDN);
         mpfr_div_ui(r, r, 180, MPFR_RNDN);
       },
       {"0", "30", "180", "-45.5", "1e10"}},
      {"sin", of(mpfr_sin), {"0", "0.5", "-2", "1e-20", "100"}},
      {"cos", of(mpfr_cos), {"0", "0.5", "-2", "1e-20", "100"}},
      {"tan", of(mpfr_tan), {"0", "0.5", "-2", "1e-20", "1.5", "-1.5707963"}},
      {"asin", of(mpfr_asin), {"0", "0.5", "-1", "1", "1e-20"}},
      {"acos", of(mpfr_acos), {"0", "0.5", "-1", "1", "1e-20"}},
      {"atan", of(mpfr_atan), {"0", "0.5", "-1e30", "1e-20", "3"}},
      {"sinh", of(mpfr_sinh), {"0", "0.5", "-2", "1e-20", "-1e-20", "200", "3e-36", "-1e-9000"}},
      {"cosh", of(mpfr_cosh), {"0", "0.5", "-2", "1e-20", "200"}},
      {"tanh", of(mpfr_tanh), {"0", "0.5", "-2", "1e-20", "-1e-20", "200", "-1e6", "-3e-36", "1e-9000"}},
      {"asinh", of(mpfr_asinh), {"0", "0.5", "-2", "1e-20", "-1e-20", "1e50", "-1e50", "3e-36", "-1e-9000"}},
      {"acosh", of(mpfr_acosh), {"1", "1.0000000000000000000001", "2", "1e50"}},
      {"atanh", of(mpfr_atanh), {"0", "0.5", "-0.5", "1e-20", "0.99999999", "-0.99999999", "-3e-36", "1e-9000"}},
      {"exp", of(mpfr_exp), {"0", "0.5", "-2", "1e-20", "70"}},
      {"ln", of(mpfr_log), {"0.5", "2", "1e-16", "1e30"}},
      {"lg", of(mpfr_log10), {"0.5", "1000", "1e-16", "7"}},
      {"sqrt", of(mpfr_sqrt), {"0", "2", "1e-20", "1e30"}},
  };
  for (const auto& c : cases) {
    for (const char* argument : c.arguments) {
      const bigfloat x = d81(argument);
      Mpfr in, exact;
      in.set(x);
      c.oracle(exact.get(), in.get());
      const bigfloat ours = call(c.name, x);
      EXPECT_TRUE(close(ours, exact.get())) << c.name << "(" << argument << ") = " << formatValue(ours, 80);
    }
  }
}

TEST(Functions, ExactArgumentsGetTheDigitsOfALiteral) {
  // Integers from the integer operators and the rounding functions are exact.
  for (const char* name : {"deg", "sin", "exp", "ln", "sqrt", "atanh", "asinh", "acosh", "tan", "lg"}) {
    const bigfloat x = std::string(name) == "atanh" ? bigfloat(0) : bigfloat(2);
    EXPECT_EQ(call(name, x), call(name, d81(x == 0 ? "0" : "2"))) << name;
  }
  EXPECT_EQ(call("log", bigfloat(2), bigfloat(8)), call("log", d81("2"), d81("8")));
  EXPECT_EQ(formatValue(call("log", bigfloat(2), bigfloat(8)), 40), "3");
  EXPECT_EQ(formatValue(call("log", d81("10"), d81("1000")), 40), "3");
  EXPECT_EQ(formatValue(call("lg", d81("1000")), 40), "3");
  EXPECT_EQ(formatValue(call("tan", PI.get() / 4), 40), "1");
  EXPECT_EQ(formatValue(call("sin", call("deg", d81("30"))), 40), "0.5");
  EXPECT_EQ(call("deg", d81("180")), PI.get());
  EXPECT_EQ(call("acosh", d81("1")).sign(), 0);
  EXPECT_EQ(call("atanh", d81("0")).sign(), 0);
  EXPECT_EQ(call("sqrt", d81("0")).sign(), 0);
}

TEST(Functions, Rounding) {
  const struct {
    const char* name;
    const char* argument;
    const char* expected;
  } cases[] = {
      {"round", "2.5", "3"},   {"round", "-2.5", "-3"}, {"round", "-2.4", "-2"}, {"round", "0.49", "0"},
      {"fix", "-2.7", "-2"},   {"fix", "2.7", "2"},     {"floor", "-2.7", "-3"}, {"floor", "2.7", "2"},
      {"ceil", "-2.2", "-2"},  {"ceil", "2.2", "3"},    {"abs", "-2.5", "2.5"},  {"abs", "7", "7"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(formatValue(call(c.name, d81(c.argument)), 40), c.expected) << c.name << "(" << c.argument << ")";
  EXPECT_EQ(call("floor", d81("2.7")).prec(), bignum::INFINITE) << "integer results are exact";
}

TEST(Functions, DomainChecksRefuseWithTheirMessages) {
  const std::string tangent = "Undefined tangent value !", logarithm = "Undefined logarithm value !";
  const bigfloat halfPi = PI.get() / 2;
  const struct {
    std::function<bigfloat()> computation;
    std::string message;
  } cases[] = {
      {[&] { return call("tan", halfPi); }, tangent},
      {[&] { return call("tan", call("deg", d81("90"))); }, tangent},
      {[&] { return call("tan", call("deg", d81("270"))); }, tangent},
      {[&] { return call("tan", 5 * PI.get() / 2); }, tangent},
      {[&] { return call("tan", -halfPi); }, tangent},
      {[&] { return call("tan", call("deg", d81("-270"))); }, tangent},
      {[&] { return call("tan", -7 * PI.get() / 2); }, tangent},
      {[&] { return call("ln", d81("0")); }, logarithm},
      {[&] { return call("ln", d81("-1")); }, logarithm},
      {[&] { return call("ln", d81("1e-17")); }, logarithm},
      {[&] { return call("lg", d81("0")); }, logarithm},
      {[&] { return call("log", d81("1"), d81("8")); }, logarithm},
      {[&] { return call("log", d81("0"), d81("8")); }, logarithm},
      {[&] { return call("log", d81("2"), d81("0")); }, logarithm},
      {[&] { return call("log", d81("8")); }, "Expect two parameters for 'log(a, b)' function !"},
      {[&] { return call("sqrt", d81("-1")); }, "Undefined square root value !"},
      {[&] { return call("asin", d81("1.0000001")); }, "Undefined arcsine value !"},
      {[&] { return call("acos", d81("-1.5")); }, "Undefined arccos value !"},
      {[&] { return call("acosh", d81("0.5")); }, "Undefined  arccos hyperbolic value !"},
      {[&] { return call("atanh", d81("1")); }, "Undefined arctangent hyperbolic value !"},
      {[&] { return call("atanh", d81("-1")); }, "Undefined arctangent hyperbolic value !"},
  };
  for (const auto& c : cases) EXPECT_EQ(refusal(c.computation), c.message);
  // Just inside the domains: computed.
  for (const auto& computation : std::vector<std::function<bigfloat()>>{
           [] { return call("ln", d81("1e-16")); }, [] { return call("asin", d81("1")); },
           [] { return call("acos", d81("-1")); }, [] { return call("tan", PI.get() / 4); },
           [] { return call("tan", d81("1.5707963")); }})
    EXPECT_EQ(refusal(computation), "");
}

// Every function at the edges of what reaches it: a result or a refusal, at once.
TEST(Functions, ExtremeArgumentsGiveAResultOrARefusal) {
  for (const auto& [name, creator] : Reflectable<Function>::creators()) {
    for (const char* argument : {"1e33", "-1e33", "1e-300", "-1e-300", "0", "-0.99999999999999999999"}) {
      bigfloat result;
      const std::string message = refusal([&] { return result = call(name, d81(argument)); });
      if (!message.empty()) continue;
      // Too large for the language (refused by its size check) or a plain answer.
      const std::string text = formatValue(result, 40);
      EXPECT_TRUE(abs(result) > VALUE_LIMIT || text.size() < 100) << name << "(" << argument << ") = " << text;
    }
  }
  EXPECT_EQ(formatValue(call("exp", d81("-1e33")), 40), "0");
  EXPECT_EQ(formatValue(call("sinh", d81("-1e33")), 40).substr(0, 3), "-0.") << "the exponent notation";
  EXPECT_EQ(formatValue(call("tanh", d81("-1e33")), 40), "-1");
}

TEST(Registry, TheNamesCaseSensitive) {
  const std::vector<std::string> names = {"deg",   "sin",   "cos", "tan", "asin", "acos", "atan",  "sinh",
                                          "cosh",  "tanh",  "asinh", "acosh", "atanh", "exp", "ln", "lg",
                                          "log",   "sqrt",  "abs", "round", "floor", "fix", "ceil"};
  EXPECT_EQ(Reflectable<Function>::creators().size(), names.size()) << "every registered name is listed here";
  for (const std::string& name : names) EXPECT_NE(Reflectable<Function>::create(name), nullptr) << name;
  for (const char* name : {"SIN", "Sin", "Log", "pi", "", "sin "}) EXPECT_EQ(Reflectable<Function>::create(name), nullptr);
}

TEST(Constants, Values) {
  EXPECT_EQ(VALUE_LIMIT.get(), d81("1e33"));
  EXPECT_EQ(TOLERANCE.get(), d81("1e-16"));
  EXPECT_EQ(formatValue(E, 40), "2.7182818284590452353602874713526624977572");
  EXPECT_EQ(E.get().prec(), 90) << "a guard word beyond a literal's 81 digits";
  Mpfr exact;
  mpfr_const_pi(exact.get(), MPFR_RNDN);
  EXPECT_TRUE(close(PI, exact.get()));
  EXPECT_EQ(PI.get().prec(), 90);
}

}  // namespace
