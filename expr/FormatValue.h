// The answer text of a value, and its full plain text.
#pragma once

#include <string>

#include "bignum/bigfloat.h"

// `value` in positional notation rounded to `digits` decimals: a digit 5 or
// more after them rounds up (carries run through nines and may add a leading
// 1), then trailing zeros and a trailing point go. Integers are written without
// a point. A negative value that rounds to zero gives "0", not "-0". A value
// whose integer part has more than a million digits keeps the exponent
// notation of the number library (0.ddd...e<exponent>).
// Answers use 40 decimals; the integer test uses 72.
std::string formatValue(const bignum::bigfloat& value, int digits);

// `value` in the number library's positional notation with every digit it
// holds (nothing rounded), whatever the process locale: the text that the
// constants and variables files keep. A value with more than a million digits
// before or after its point keeps the exponent notation (0.ddd...e<exponent>),
// which reads back the same.
std::string plainText(const bignum::bigfloat& value);
