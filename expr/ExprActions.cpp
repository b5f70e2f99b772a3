#include "expr/ExprActions.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <optional>

#include "bignum/exact.h"
#include "bignum/functions.h"
#include "expr/Arithmetic.h"
#include "expr/Constants.h"
#include "expr/EvaluationSettings.h"
#include "expr/FormatValue.h"
#include "expr/Function.h"

namespace expr_actions {

using bignum::bigfloat;

namespace {

using Kind = ExprParserException::Kind;

const char* const kTooBig = "The result or temporary value is too big !";
// log10 of the largest magnitude the number library holds (its exponent range).
constexpr double kLog10Range = 9.0 * static_cast<double>(bignum::MAXEXPONENT - 1);

// Refused with `message`, the span being the token's first character.
[[noreturn]] void refuseAt(Kind kind, const std::string& message, const Token& at) {
  throw ExprParserException(kind, message, at->getLine(), at->getColumn(), at->getLine(), at->getColumn());
}

// Refused with `message`, the span starting at the token and having no end.
[[noreturn]] void refuseFrom(Kind kind, const std::string& message, const Token& at) {
  throw ExprParserException(kind, message, at->getLine(), at->getColumn(), -1, -1);
}

// The size guard's refusal of an integer of about `digits` digits.
[[noreturn]] void refuseSize(double digits, const Token& at) {
  // Below 10^15 a double counts them exactly; beyond, three digits. Never
  // in the process locale's notation.
  char count[64];
  const auto written = digits < 1e15
                           ? std::to_chars(count, count + sizeof count, digits, std::chars_format::fixed, 0)
                           : std::to_chars(count, count + sizeof count, digits, std::chars_format::scientific, 2);
  const std::string guard = std::to_string(evaluation::settings().sizeGuardDigits);
  refuseAt(Kind::TooBig,
           "The result would have " + std::string(count, written.ptr) + " digits, more than the " + guard +
               " digits allowed !",
           at);
}

// With the limit off, whether a result of log10 magnitude `log10` that is an
// integer (`whole`) may be formed: refused at `at` when not.
void checkMagnitude(double log10, bool whole, const Token& at) {
  // An estimate a hair below a whole number (10^(10^9)) counts as that number.
  const double digits = std::floor(log10 + 1e-15 * std::max(1.0, std::fabs(log10))) + 1;
  if (whole && digits > static_cast<double>(evaluation::settings().sizeGuardDigits)) refuseSize(digits, at);
  if (log10 > kLog10Range) refuseAt(Kind::TooBig, kTooBig, at);
}

// With the limit off, the digits of an exact integer x beyond the size guard: refused at `at`.
void checkDigits(const bigfloat& x, const Token& at) {
  if (arithmetic::unlimited() && arithmetic::isExact(x) && x.sign() != 0 && x.exp() > 0)
    checkMagnitude(bignum::log10Magnitude(x), true, at);
}

}  // namespace

bigfloat checked(const bigfloat& x, const Token& op) {
  if (arithmetic::beyondLimit(x)) refuseAt(Kind::TooBig, kTooBig, op);
  checkDigits(x, op);
  return x;
}

bigfloat bitwise(Bitwise operation, const bigfloat& left, const bigfloat& right, const Token& op) {
  static const char* const messages[] = {
      "In the expression 'x | y', x and y MUST be non-negative integers !",
      "In the expression 'x $ y', x and y MUST be non-negative integers !",
      "In the expression 'x && y', x and y MUST be non-negative integers !",
      "In the expression 'x << y', x and y MUST be non-negative integers !",
      "In the expression 'x >> y', x and y MUST be non-negative integers and y >= 0 !",
  };
  if (!isNonNegativeInteger(left) || !isNonNegativeInteger(right))
    refuseAt(Kind::Domain, messages[static_cast<int>(operation)], op);
  switch (operation) {
    case Bitwise::Or:
      return checked(bitOr(left, right), op);
    case Bitwise::Xor:
      return checked(bitXor(left, right), op);
    case Bitwise::And:
      return checked(bitAnd(left, right), op);
    case Bitwise::LeftShift:
      // With the limit off the shifted number is formed exactly: its size first.
      if (arithmetic::unlimited() && left.sign() != 0)
        checkMagnitude(bignum::log10Magnitude(left) + bignum::getdouble(right) * std::log10(2.0), true, op);
      return checked(shiftLeft(left, right), op);
    case Bitwise::RightShift:
      break;
  }
  return checked(shiftRight(left, right), op);
}

bigfloat complement(const bigfloat& x, const Token& tilde) {
  if (!isNonNegativeInteger(x))
    refuseAt(Kind::Domain, "In the expression '~x', x MUST be a non-negative integer !", tilde);
  return checked(bitNot(x), tilde);
}

bigfloat sum(const bigfloat& x, const bigfloat& y, const Token& op) { return checked(arithmetic::add(x, y), op); }

bigfloat difference(const bigfloat& x, const bigfloat& y, const Token& op) {
  return checked(arithmetic::subtract(x, y), op);
}

bigfloat product(const bigfloat& x, const bigfloat& y, const Token& op) {
  // The exact product of long exact numbers would be formed before any check.
  if (arithmetic::unlimited() && arithmetic::isExact(x) && arithmetic::isExact(y) && x.sign() != 0 && y.sign() != 0)
    checkMagnitude(bignum::log10Magnitude(x) + bignum::log10Magnitude(y), true, op);
  return checked(arithmetic::multiply(x, y), op);
}

bigfloat quotient(const bigfloat& x, const bigfloat& y, const Token& op) {
  if (y == 0) refuseAt(Kind::DivisionByZero, "In the expression 'x / y', y MUST NOT be zero !", op);
  return checked(arithmetic::divide(x, y), op);
}

bigfloat remainder(const bigfloat& x, const bigfloat& y, const Token& op) {
  if (y == 0) refuseAt(Kind::DivisionByZero, "In the expression 'x % y', y MUST NOT be zero !", op);
  return checked(arithmetic::remainder(x, y), op);
}

bigfloat power(const bigfloat& x, const bigfloat& y, const Token& op) {
  if (x == 0) {
    if (y < 0)
      refuseAt(Kind::DivisionByZero, "In the expression 'x ^ y', y MUST be a non-negative value when x equals zero !",
               op);
    return y == 0 ? bigfloat(1) : bigfloat(0);
  }
  const std::optional<bigfloat> n = arithmetic::integerExponent(y);
  if (!n && x < 0)
    refuseFrom(Kind::Domain, "In the expression 'x ^ y', y MUST be an integer when x is a negative value !", op);
  // Far beyond the limit (2 ^ (2 ^ 100), 10 ^ 1e30): refused before any powering.
  const double magnitude = arithmetic::powerMagnitude(x, n ? *n : y);
  const std::optional<std::int64_t>& limit = evaluation::settings().limitExponent;
  if (limit && magnitude > static_cast<double>(*limit) + 1) refuseAt(Kind::TooBig, kTooBig, op);
  if (!limit) checkMagnitude(magnitude, n && *n >= 0 && arithmetic::isExactInteger(x), op);
  return checked(n ? arithmetic::integerPower(x, *n) : arithmetic::generalPower(x, y), op);
}

bigfloat factorial(const bigfloat& x, const Token& bang) {
  if (x < 0 || !isNonNegativeInteger(x))
    refuseFrom(Kind::Domain, "In the expression 'x!', x MUST be a non-negative integer !", bang);
  // log10 x! from the gamma function: a result far beyond the limit or the
  // size guard is refused without computing (31! is about 8.2e33).
  const double n = std::round(bignum::getdouble(x));
  const double magnitude = std::lgamma(n + 1) / std::log(10.0);
  const std::optional<std::int64_t>& limit = evaluation::settings().limitExponent;
  if (limit && magnitude > static_cast<double>(*limit) + 1) refuseAt(Kind::TooBig, kTooBig, bang);
  if (!limit) checkMagnitude(magnitude, true, bang);
  if (n > 4294967295.0) refuseSize(magnitude + 1, bang);
  return checked(bignum::factorialProduct(1, static_cast<unsigned>(n)), bang);
}

bigfloat literal(const bigfloat& x, const Token& token) {
  try {
    return checked(x, token);
  } catch (const ExprParserException& e) {
    // The span of the whole literal.
    const int length = static_cast<int>(token->getText().size());
    throw ExprParserException(e.kind(), e.what(), token->getLine(), token->getColumn(), token->getLine(),
                              token->getColumn() + length - 1);
  }
}

bigfloat call(const Token& name, const Token& close, const bigfloat* a, const bigfloat* b) {
  const auto refuse = [&](Kind kind, const std::string& message) {
    throw ExprParserException(kind, message, name->getLine(), name->getColumn(), close->getLine(), close->getColumn());
  };
  const std::unique_ptr<Function> function = Reflectable<Function>::create(name->getText());
  if (!function) refuse(Kind::UndefinedName, "Undefined function: " + name->getText());
  bigfloat value;
  try {
    value = b == nullptr ? function->evaluate(*a) : function->evaluate(*a, *b);
  } catch (const std::string& message) {
    refuse(Kind::Domain, message);
  } catch (const Function::OneArgumentOnly&) {
    refuse(Kind::Arguments, "Expect one parameter for '" + name->getText() + "(x)' function !");
  } catch (const Function::TwoArgumentsOnly&) {
    refuse(Kind::Arguments, "Expect two parameters for '" + name->getText() + "(a, b)' function !");
  }
  if (arithmetic::beyondLimit(value)) refuse(Kind::TooBig, kTooBig);
  return value;
}

std::string answerText(const bigfloat& value) { return ::answerText(value, evaluation::settings()); }

bigfloat namedConstant(const Token& name) {
  const std::string& text = name->getText();
  if (text == "PI") return PI;
  if (text == "E") return E;
  const int length = static_cast<int>(text.size());
  throw ExprParserException(Kind::UndefinedName, "Undefined variable: " + text, name->getLine(), name->getColumn(),
                            name->getLine(), name->getColumn() + length - 1);
}

}  // namespace expr_actions
