#include "expr/ExprActions.h"

#include <cstdlib>
#include <memory>

#include "bignum/functions.h"
#include "expr/Constants.h"
#include "expr/FormatValue.h"
#include "expr/Function.h"

namespace expr_actions {

using bignum::bigfloat;

namespace {

const char* const kTooBig = "The result or temporary value is too big !";

// Refused with `message`, the span being the token's first character.
[[noreturn]] void refuseAt(const std::string& message, const Token& at) {
  throw ExprParserException(message, at->getLine(), at->getColumn(), at->getLine(), at->getColumn());
}

// Refused with `message`, the span starting at the token and having no end.
[[noreturn]] void refuseFrom(const std::string& message, const Token& at) {
  throw ExprParserException(message, at->getLine(), at->getColumn(), -1, -1);
}

// Exact values get the 81 digits of a literal.
bigfloat withDigits(bigfloat x) {
  if (x.prec() == bignum::INFINITE) x.prec(81);
  return x;
}

bool isExact(const bigfloat& x) { return x.prec() == bignum::INFINITE; }

// The general power exp(y * log x) loses as many digits as y * log x has
// before its point, and a value such as 2.30... holds a word's digits less
// than its nominal 81: the operands get 18 guard digits, and the power is cut
// back to 81 digits, so that 10 ^ 32 shows 1e32 in every digit.
constexpr long kPowerGuardDigits = 18;

bigfloat powerOf(const bigfloat& x, const bigfloat& y) {
  bigfloat base = withDigits(x), exponent = withDigits(y);
  base.prec(base.prec() + kPowerGuardDigits);
  exponent.prec(exponent.prec() + kPowerGuardDigits);
  bigfloat value = bignum::pow(base, exponent);
  value.prec(81);
  return value;
}

}  // namespace

bigfloat checked(const bigfloat& x, const Token& op) {
  if (abs(x) > VALUE_LIMIT) refuseAt(kTooBig, op);
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
    refuseAt(messages[static_cast<int>(operation)], op);
  switch (operation) {
    case Bitwise::Or:
      return checked(bitOr(left, right), op);
    case Bitwise::Xor:
      return checked(bitXor(left, right), op);
    case Bitwise::And:
      return checked(bitAnd(left, right), op);
    case Bitwise::LeftShift:
      return checked(shiftLeft(left, right), op);
    case Bitwise::RightShift:
      break;
  }
  return checked(shiftRight(left, right), op);
}

bigfloat complement(const bigfloat& x, const Token& tilde) {
  if (!isNonNegativeInteger(x)) refuseAt("In the expression '~x', x MUST be a non-negative integer !", tilde);
  return checked(bitNot(x), tilde);
}

namespace {

// Both exact, or neither: as they are; else the exact one with 81 digits.
std::pair<bigfloat, bigfloat> alike(const bigfloat& x, const bigfloat& y) {
  if (isExact(x) == isExact(y)) return {x, y};
  return {withDigits(x), withDigits(y)};
}

}  // namespace

bigfloat sum(const bigfloat& x, const bigfloat& y, const Token& op) {
  const auto [a, b] = alike(x, y);
  return checked(a + b, op);
}

bigfloat difference(const bigfloat& x, const bigfloat& y, const Token& op) {
  const auto [a, b] = alike(x, y);
  return checked(a - b, op);
}

bigfloat quotient(const bigfloat& x, const bigfloat& y, const Token& op) {
  if (y == 0) refuseAt("In the expression 'x / y', y MUST NOT be zero !", op);
  if (isExact(x) && isExact(y)) return checked(withDigits(x) / withDigits(y), op);
  return checked(x / y, op);
}

bigfloat remainder(const bigfloat& x, const bigfloat& y, const Token& op) {
  if (y == 0) refuseAt("In the expression 'x % y', y MUST NOT be zero !", op);
  if (isExact(x) && isExact(y)) return checked(bignum::fmod(withDigits(x), withDigits(y)), op);
  return checked(bignum::fmod(x, y), op);
}

bigfloat power(const bigfloat& x, const bigfloat& y, const Token& op) {
  bigfloat value;
  if (x > 0) {
    value = powerOf(x, y);
  } else if (x == 0) {
    if (y < 0) refuseAt("In the expression 'x ^ y', y MUST be a non-negative value when x equals zero !", op);
    value = y == 0 ? bigfloat(1) : bigfloat(0);
  } else {
    if (bignum::trunc(y) != y)
      refuseFrom("In the expression 'x ^ y', y MUST be an integer when x is a negative value !", op);
    value = powerOf(-x, y);
    if (bignum::fmod(y, bigfloat(2)) != 0) value = -value;
  }
  return checked(value, op);
}

bigfloat factorial(const bigfloat& x, const Token& bang) {
  if (x < 0 || !isNonNegativeInteger(x)) refuseFrom("In the expression 'x!', x MUST be a non-negative integer !", bang);
  // 31! is about 8.2e33: larger operands are refused without computing.
  if (x > 30) refuseAt(kTooBig, bang);
  const int n = std::atoi(formatValue(x, 40).c_str());
  return checked(bignum::factorialProduct(1, static_cast<unsigned>(n)), bang);
}

bigfloat literal(const bigfloat& x, const Token& token) {
  if (abs(x) > VALUE_LIMIT) {
    const int length = static_cast<int>(token->getText().size());
    throw ExprParserException(kTooBig, token->getLine(), token->getColumn(), token->getLine(),
                              token->getColumn() + length - 1);
  }
  return x;
}

bigfloat call(const Token& name, const Token& close, const bigfloat* a, const bigfloat* b) {
  const auto refuse = [&](const std::string& message) {
    throw ExprParserException(message, name->getLine(), name->getColumn(), close->getLine(), close->getColumn());
  };
  const std::unique_ptr<Function> function = Reflectable<Function>::create(name->getText());
  if (!function) refuse("Undefined function: " + name->getText());
  bigfloat value;
  try {
    value = b == nullptr ? function->evaluate(*a) : function->evaluate(*a, *b);
  } catch (const std::string& message) {
    refuse(message);
  }
  if (abs(value) > VALUE_LIMIT) refuse(kTooBig);
  return value;
}

std::string answerText(const bigfloat& value) { return formatValue(value, 40); }

bigfloat namedConstant(const Token& name) {
  const std::string& text = name->getText();
  if (text == "PI") return PI;
  if (text == "E") return E;
  const int length = static_cast<int>(text.size());
  throw ExprParserException("Undefined variable: " + text, name->getLine(), name->getColumn(), name->getLine(),
                            name->getColumn() + length - 1);
}

}  // namespace expr_actions
