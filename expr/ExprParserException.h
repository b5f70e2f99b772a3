// The evaluator's one error type: what kind of error it is, a message and the
// span of the input that caused it (lines and columns from 1, end inclusive;
// -1 where there is none). Front ends decide from the kind, never from the
// message, which is for people and may be reworded or translated.
// Columns count bytes as the lexer reads them, a tab to the next of its stops.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

// The column after one at `column` that holds `byte`: a tab goes on to the next
// multiple of 8 plus one, anything else one column.
constexpr int columnAfter(int column, char byte) { return byte == '\t' ? ((column - 1) / 8 + 1) * 8 + 1 : column + 1; }

class ExprParserException : public std::exception {
 public:
  enum class Kind {
    Syntax,          // the statement does not follow the grammar
    Character,       // a character the lexer cannot take there: unknown, or breaking a token
    TooBig,          // a result or an intermediate value beyond the value limit or the size guard
    Domain,          // an operand outside the operation's or function's domain
    DivisionByZero,  // x / 0, x % 0, 0 ^ y with y < 0
    UndefinedName,   // an unknown variable or function
    Arguments,       // a function called with the wrong number of arguments
    Nesting,         // brackets or calls nested beyond the parser's depth
    Resources,       // not enough memory or disk space
    Cancelled,       // stopped from outside (bignum::requestCancel) before it ended
    Internal,        // anything else that went wrong inside
  };

  // A kind and a message with its span; positions default to -1 (no span).
  ExprParserException(Kind kind, std::string message, std::int32_t line = -1, std::int32_t column = -1,
                      std::int32_t endLine = -1, std::int32_t endColumn = -1);

  // The message text.
  const char* what() const noexcept override;

  Kind kind() const { return kind_; }

  std::int32_t line() const { return line_; }
  std::int32_t column() const { return column_; }
  std::int32_t endLine() const { return endLine_; }
  std::int32_t endColumn() const { return endColumn_; }

 private:
  Kind kind_;
  std::string message_;
  std::int32_t line_, column_, endLine_, endColumn_;
};
