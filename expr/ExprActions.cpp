#include "expr/ExprActions.h"

#include <cstdlib>
#include <memory>
#include <optional>

#include "bignum/functions.h"
#include "expr/Arithmetic.h"
#include "expr/Constants.h"
#include "expr/FormatValue.h"
#include "expr/Function.h"

namespace expr_actions {

using bignum::bigfloat;

namespace {

using Kind = ExprParserException::Kind;

const char* const kTooBig = "The result or temporary value is too big !";
// log10 of the value limit (1e33).
constexpr double kLog10Limit = 33;

// Refused with `message`, the span being the token's first character.
[[noreturn]] void refuseAt(Kind kind, const std::string& message, const Token& at) {
  throw ExprParserException(kind, message, at->getLine(), at->getColumn(), at->getLine(), at->getColumn());
}

// Refused with `message`, the span starting at the token and having no end.
[[noreturn]] void refuseFrom(Kind kind, const std::string& message, const Token& at) {
  throw ExprParserException(kind, message, at->getLine(), at->getColumn(), -1, -1);
}

}  // namespace

bigfloat checked(const bigfloat& x, const Token& op) {
  if (abs(x) > VALUE_LIMIT) refuseAt(Kind::TooBig, kTooBig, op);
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
  if (arithmetic::powerMagnitude(x, n ? *n : y) > kLog10Limit + 1) refuseAt(Kind::TooBig, kTooBig, op);
  return checked(n ? arithmetic::integerPower(x, *n) : arithmetic::generalPower(x, y), op);
}

bigfloat factorial(const bigfloat& x, const Token& bang) {
  if (x < 0 || !isNonNegativeInteger(x))
    refuseFrom(Kind::Domain, "In the expression 'x!', x MUST be a non-negative integer !", bang);
  // 31! is about 8.2e33: larger operands are refused without computing.
  if (x > 30) refuseAt(Kind::TooBig, kTooBig, bang);
  const int n = std::atoi(formatValue(x, 40).c_str());
  return checked(bignum::factorialProduct(1, static_cast<unsigned>(n)), bang);
}

bigfloat literal(const bigfloat& x, const Token& token) {
  if (abs(x) > VALUE_LIMIT) {
    const int length = static_cast<int>(token->getText().size());
    throw ExprParserException(Kind::TooBig, kTooBig, token->getLine(), token->getColumn(), token->getLine(),
                              token->getColumn() + length - 1);
  }
  return x;
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
  if (abs(value) > VALUE_LIMIT) refuse(Kind::TooBig, kTooBig);
  return value;
}

std::string answerText(const bigfloat& value) { return formatValue(value, 40); }

bigfloat namedConstant(const Token& name) {
  const std::string& text = name->getText();
  if (text == "PI") return PI;
  if (text == "E") return E;
  const int length = static_cast<int>(text.size());
  throw ExprParserException(Kind::UndefinedName, "Undefined variable: " + text, name->getLine(), name->getColumn(),
                            name->getLine(), name->getColumn() + length - 1);
}

}  // namespace expr_actions
