// The semantic actions of the expression grammar: the checks, messages and
// spans of each operator, call and literal. Included by the generated parser.
#pragma once

#include <antlr/Token.hpp>
#include <antlr/TokenRefCount.hpp>
#include <string>

#include "bignum/bigfloat.h"
#include "expr/ExprParserException.h"
#include "expr/IntegerOperators.h"

namespace expr_actions {

using Token = ANTLR_USE_NAMESPACE(antlr) RefToken;

enum class Bitwise { Or, Xor, And, LeftShift, RightShift };

// The operator's result, or its message with the span of `op` when an operand
// is not a non-negative integer; then the size check.
bignum::bigfloat bitwise(Bitwise operation, const bignum::bigfloat& left, const bignum::bigfloat& right,
                         const Token& op);
// ~x, refused unless x is a non-negative integer; then the size check.
bignum::bigfloat complement(const bignum::bigfloat& x, const Token& tilde);
// x after the size check at `op`: refused with "The result or temporary value
// is too big !" when |x| lies beyond the value limit (1e33 by default) or,
// with the limit off, beyond the number library's range; an exact integer
// with more digits than the size guard allows is refused with its count.
bignum::bigfloat checked(const bignum::bigfloat& x, const Token& op);
// x + y, x - y and x * y by the rules of expr/Arithmetic.h, after the size
// check at `op`.
bignum::bigfloat sum(const bignum::bigfloat& x, const bignum::bigfloat& y, const Token& op);
bignum::bigfloat difference(const bignum::bigfloat& x, const bignum::bigfloat& y, const Token& op);
bignum::bigfloat product(const bignum::bigfloat& x, const bignum::bigfloat& y, const Token& op);
// x / y and the remainder of x / y (sign of x), refused when y is 0.
bignum::bigfloat quotient(const bignum::bigfloat& x, const bignum::bigfloat& y, const Token& op);
bignum::bigfloat remainder(const bignum::bigfloat& x, const bignum::bigfloat& y, const Token& op);
// x ^ y: 0 or 1 for x = 0 (a negative y refused); binary powering for an
// integer y (one within the integer test counts), which a negative x needs;
// exp(y log x) otherwise. A power whose size, estimated from y log10 |x|, lies
// far beyond the limit (or, with the limit off, an integer power beyond the
// size guard) is refused as too big before it is computed.
bignum::bigfloat power(const bignum::bigfloat& x, const bignum::bigfloat& y, const Token& op);
// x! for a non-negative integer x; one whose size, from the gamma function,
// lies far beyond the limit or the size guard is refused without computing.
bignum::bigfloat factorial(const bignum::bigfloat& x, const Token& bang);
// A literal's value after the size check with the span of its text.
bignum::bigfloat literal(const bignum::bigfloat& x, const Token& token);
// The built-in function `name` applied to one argument (b null) or two; its
// domain message, a second argument to a function of one ("Expect one
// parameter for 'sin(x)' function !") and the size check carry the span from
// the name to `close`.
bignum::bigfloat call(const Token& name, const Token& close, const bignum::bigfloat* a, const bignum::bigfloat* b);

// The parser's own state, reached by the actions (defined with the parser).
class Access {
 public:
  template <class Parser>
  static void beginInput(Parser& parser) {
    parser.pendingAssignments_.clear();
  }
  template <class Parser>
  static void assign(Parser& parser, const std::string& name, const bignum::bigfloat& value) {
    parser.pendingAssignments_[name] = value;
  }
  template <class Parser>
  static void logStatement(Parser& parser, const std::string& text, const bignum::bigfloat& value);
  template <class Parser>
  static void commit(Parser& parser);
  template <class Parser>
  static bignum::bigfloat lookUp(Parser& parser, const Token& name);
};

// The answer text of a statement under the settings in force (see answerText in FormatValue.h).
std::string answerText(const bignum::bigfloat& value);
// The value of a name that is no variable or constant: PI, E, or refused with
// "Undefined variable: " and the span of the name.
bignum::bigfloat namedConstant(const Token& name);

template <class Parser>
void Access::logStatement(Parser& parser, const std::string& text, const bignum::bigfloat& value) {
  if (parser.log_ != nullptr) parser.log_->log(text, answerText(value));
}

template <class Parser>
void Access::commit(Parser& parser) {
  if (parser.dryRun_) return;
  for (const auto& [name, value] : parser.pendingAssignments_) {
    (*parser.variables_)[name] = value;
    if (parser.displayer_ != nullptr) parser.displayer_->display(name, value);
  }
}

template <class Parser>
bignum::bigfloat Access::lookUp(Parser& parser, const Token& name) {
  const std::string& key = name->getText();
  if (const auto found = parser.pendingAssignments_.find(key); found != parser.pendingAssignments_.end())
    return found->second;
  if (parser.variables_ != nullptr)
    if (const auto found = parser.variables_->find(key); found != parser.variables_->end()) return found->second;
  if (parser.constants_ != nullptr)
    if (const auto found = parser.constants_->find(key); found != parser.constants_->end()) return found->second;
  return namedConstant(name);
}

}  // namespace expr_actions
