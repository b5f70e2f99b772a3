#include "bignum/check.h"

#include <cstdio>
#include <cstdlib>

namespace bignum {

void assertionFailed(const char* what, const char* source) {
  std::fprintf(stderr, "Assertion failed: %s (source %s)\n", what, source);
  std::fflush(stderr);
  std::abort();
}

}  // namespace bignum
