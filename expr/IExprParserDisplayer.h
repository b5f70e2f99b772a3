// What the evaluator tells the window that lists the variables. The evaluator
// keeps a plain pointer to it and does not own it.
#pragma once

#include <string>

#include "bignum/bigfloat.h"

class IExprParserDisplayer {
 public:
  virtual ~IExprParserDisplayer() = default;
  // A variable was set (or set again) to `value`.
  virtual void display(const std::string& name, bignum::bigfloat value) = 0;
  // A variable was removed.
  virtual void remove(const std::string& name) = 0;
  // All variables were removed.
  virtual void clear() = 0;
};
