// The number library's assertions. Its routines have preconditions that the
// library itself or its callers guarantee; a broken one names the condition and
// the part of the library that found it, and stops the process. They stay
// active in every build.
#pragma once

namespace bignum {

// Prints "Assertion failed: <what> (source <source>)" to standard error and aborts.
[[noreturn]] void assertionFailed(const char* what, const char* source);

}  // namespace bignum

// BIGNUM_CHECK(condition, "text", "source"): `text` is the condition as the
// library's messages name it.
#define BIGNUM_CHECK(condition, text, source)  \
  do {                                         \
    if (!(condition)) [[unlikely]]             \
      ::bignum::assertionFailed(text, source); \
  } while (false)
