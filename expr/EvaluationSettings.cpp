#include "expr/EvaluationSettings.h"

#include <unistd.h>

#include <algorithm>

namespace {

EvaluationSettings& inForce() {
  static EvaluationSettings s;
  return s;
}

}  // namespace

bool EvaluationSettings::valid() const {
  return decimals >= 0 && decimals <= kMaxDecimals &&
         (!limitExponent || (*limitExponent >= 1 && *limitExponent <= kMaxLimitExponent)) &&
         (notation == Notation::Fixed || notation == Notation::Auto) && sizeGuardDigits >= 1000 &&
         sizeGuardDigits <= 1'000'000'000'000;
}

std::int64_t EvaluationSettings::defaultSizeGuard() {
  constexpr std::int64_t kGuard = 1'000'000'000;
  const long pages = ::sysconf(_SC_PHYS_PAGES), pageSize = ::sysconf(_SC_PAGESIZE);
  if (pages <= 0 || pageSize <= 0) return kGuard;
  // A digit takes 4/9 of a byte; a product's transform works in about twenty
  // times its operands' room. A byte of memory for every eight digits.
  const std::int64_t bytes = static_cast<std::int64_t>(pages) * pageSize;
  return std::clamp<std::int64_t>(bytes / 8, 1'000'000, kGuard);
}

namespace evaluation {

const EvaluationSettings& settings() { return inForce(); }

bool setSettings(const EvaluationSettings& s) {
  if (!s.valid()) return false;
  inForce() = s;
  return true;
}

}  // namespace evaluation
