// What the evaluator tells the log of evaluated statements. The evaluator
// keeps a plain pointer to it and does not own it.
#pragma once

#include <string>

class IExprParserLog {
 public:
  virtual ~IExprParserLog() = default;
  // One evaluated statement: its normalised text and its answer text.
  virtual void log(const std::string& expressionText, const std::string& answerText) = 0;
};
