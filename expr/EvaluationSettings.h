// The settings of evaluation: how many decimals answers show, the precision
// that follows from it, the value limit and the notation of answers. The
// evaluator owns them (see IExprParser::settings); the arithmetic, the
// functions and the answer texts read them from here while it evaluates.
#pragma once

#include <cstdint>
#include <optional>

struct EvaluationSettings {
  enum class Notation {
    Fixed,  // positional with the answer decimals; scientific only beyond the integer digits answers hold
    Auto,   // as Fixed, and non-zero values below 1e-10 in scientific notation with their significant digits
  };
  static constexpr long kMaxDecimals = 10'000'000;
  static constexpr std::int64_t kMaxLimitExponent = 1'000'000'000;

  // D: the decimals of answers, 0 to kMaxDecimals.
  long decimals = 40;
  // The value limit 10^limitExponent (1 to kMaxLimitExponent); none: no limit.
  std::optional<std::int64_t> limitExponent = 33;
  Notation notation = Notation::Fixed;
  // Integer results beyond this many digits are refused before they are
  // formed. From 1000 to 10^12; by default 10^9 or what memory holds.
  std::int64_t sizeGuardDigits = defaultSizeGuard();

  // P = D + 41: the digits of literals and constants.
  long workingDigits() const { return decimals + 41; }
  // Whether every field lies in its range.
  bool valid() const;
  // 10^9 decimal digits, or fewer where the physical memory would not hold
  // the work of a product of that size.
  static std::int64_t defaultSizeGuard();

  bool operator==(const EvaluationSettings&) const = default;
};

namespace evaluation {

// The settings in force.
const EvaluationSettings& settings();
// Puts `s` in force; false, changing nothing, when !s.valid().
bool setSettings(const EvaluationSettings& s);

}  // namespace evaluation
