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

// The answer text of `value` under the settings `s` (D decimals, P = D + 41):
// - within 10^-(P - 9) of zero (the integer test's tolerance): "0";
// - an exact integer: all its digits;
// - a value below 10^(P - D - 8) in magnitude: formatValue(value, D), except
//   that with the "auto" notation a value below 1e-10 is written as
//   scientific() with at most D significant digits;
// - a larger one: scientific() with P - 8 significant digits.
// Never more significant digits than the value holds right: all of an exact
// one's, all but the last word of a computed one longer than a literal.
struct EvaluationSettings;
std::string answerText(const bignum::bigfloat& value, const EvaluationSettings& s);

// `value` (not zero) as d.ddd...e+N / e-N with `significant` digits rounded
// (a digit 5 or more after them rounds up), trailing zeros and a trailing
// point dropped: "3e-50", "7.25e+43".
std::string scientific(const bignum::bigfloat& value, long significant);
