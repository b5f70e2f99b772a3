#include "expr/Constants.h"

#include <cstring>
#include <exception>
#include <map>
#include <optional>
#include <string>

#include "bignum/functions.h"
#include "expr/Arithmetic.h"
#include "expr/EvaluationSettings.h"

namespace {

constexpr std::uint32_t kOne = 1;
constexpr long kDefaultResultDigits = 90;

// The value limit in force: 10^k, or the largest number when there is none.
const bignum::bigfloat& valueLimit() {
  static std::optional<std::int64_t> exponent = 33;
  static bignum::bigfloat value("1e33", 81);
  const std::optional<std::int64_t>& wanted = evaluation::settings().limitExponent;
  if (wanted != exponent) {
    value = wanted ? bignum::bigfloat(("1e" + std::to_string(*wanted)).c_str(), 81)
                   : bignum::bigfloat::fromWords(1, bignum::MAXEXPONENT, 81, &kOne, 1);
    exponent = wanted;
  }
  return value;
}

const bignum::bigfloat& tolerance() {
  static const bignum::bigfloat value("1.0E-16", 81);
  return value;
}

// The digits of e that need no computing.
const char* const kEDigits =
    "2.718281828459045235360287471352662497757247093699959574966967627724076630353547594571382178525166427427466391"
    "932003059921817413596629043572900334295260";

// A value at the result digits in force, kept for the default digits and for
// the last other digits asked for, so that no sweep of precisions piles them up.
template <class Compute>
const bignum::bigfloat& atResultDigits(std::map<long, bignum::bigfloat>& kept, Compute compute) {
  const long digits = arithmetic::resultDigits();
  if (const auto found = kept.find(digits); found != kept.end()) return found->second;
  std::erase_if(kept, [](const auto& entry) { return entry.first != kDefaultResultDigits; });
  return kept.emplace(digits, compute(digits)).first->second;
}

const bignum::bigfloat& pi() {
  static std::map<long, bignum::bigfloat> kept;
  return atResultDigits(kept, [](long digits) { return bignum::cachedPi(digits); });
}

const bignum::bigfloat& e() {
  static std::map<long, bignum::bigfloat> kept;
  return atResultDigits(kept, [](long digits) {
    if (digits < static_cast<long>(std::strlen(kEDigits)) - 2) return bignum::bigfloat(kEDigits, digits);
    return bignum::cachedE(digits);
  });
}

// Built before main, as the rest of the program expects; code that runs
// earlier builds them on its first use instead. So does everything when the
// library cannot hold them now (no disk space for its files): the first use
// then fails as any computation would, with an error instead of an abort.
[[maybe_unused]] const bool builtAtStartUp = [] {
  try {
    return (valueLimit(), tolerance(), pi(), e(), true);
  } catch (const std::exception&) {
    return false;
  }
}();

}  // namespace

constinit const SharedConstant VALUE_LIMIT(&valueLimit);
constinit const SharedConstant TOLERANCE(&tolerance);
constinit const SharedConstant PI(&pi);
constinit const SharedConstant E(&e);
