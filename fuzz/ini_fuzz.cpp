// Arbitrary bytes as the settings file "bignum.ini", and (when the first byte
// is odd) as the value of every settings variable of the environment: the
// limits derived from them always stay within their documented ranges.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "bignum/init.h"

namespace {

std::string environmentValue;

const char* everyVariable(const char*) { return environmentValue.c_str(); }

bool powerOfTwo(std::size_t n) { return n != 0 && (n & (n - 1)) == 0; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  bignum::Settings settings;
  std::istringstream in(text);
  bignum::readSettingsFile(in, settings);
  if (size > 0 && (data[0] & 1) != 0) {
    environmentValue = text.substr(1);
    bignum::readSettingsEnvironment(settings, everyVariable);
  }
  const bignum::Limits limits = bignum::deriveLimits(settings);
  const std::size_t block = limits.Maxblocksize;
  const bool blockShape = powerOfTwo(block) || (block % 3 == 0 && powerOfTwo(block / 3));
  if (block < 8192 || !blockShape) std::abort();
  if (limits.NProcessors < 1 || limits.NProcessors > 64) std::abort();
  if (limits.Memorythreshold < 1 || limits.Blocksize < 1 || limits.Blocksize > limits.Memorythreshold) std::abort();
  if (limits.Blockside < 1 || limits.Blockside * limits.Blockside > std::max<std::size_t>(settings.cachel1size / 4, 1))
    std::abort();
  if (!powerOfTwo(limits.L1size) || !powerOfTwo(limits.L2size) || !powerOfTwo(limits.Burst)) std::abort();
  return 0;
}
