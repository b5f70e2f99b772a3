// The evaluator's one error type: a message and the span of the input that
// caused it (lines and columns from 1, end inclusive; -1 where there is none).
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
  // A message with its span; positions default to -1 (no span).
  explicit ExprParserException(std::string message, std::int32_t line = -1, std::int32_t column = -1,
                               std::int32_t endLine = -1, std::int32_t endColumn = -1);

  // The message text.
  const char* what() const noexcept override;

  std::int32_t line() const { return line_; }
  std::int32_t column() const { return column_; }
  std::int32_t endLine() const { return endLine_; }
  std::int32_t endColumn() const { return endColumn_; }

 private:
  std::string message_;
  std::int32_t line_, column_, endLine_, endColumn_;
};
