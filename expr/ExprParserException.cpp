#include "expr/ExprParserException.h"

#include <utility>

ExprParserException::ExprParserException(Kind kind, std::string message, std::int32_t line, std::int32_t column,
                                         std::int32_t endLine, std::int32_t endColumn)
    : kind_(kind),
      message_(std::move(message)),
      line_(line),
      column_(column),
      endLine_(endLine),
      endColumn_(endColumn) {}

const char* ExprParserException::what() const noexcept { return message_.c_str(); }
