// A test program whose own static initialisers use the shared numbers and the
// function registry before main: they must be ready, whatever order the
// linker put the translation units in.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "expr/Constants.h"
#include "expr/FormatValue.h"
#include "expr/Function.h"

// What a static sees: pi, the value limit, the number of functions and sin(pi/6).
const std::string early = [] {
  const std::unique_ptr<Function> sin = Reflectable<Function>::create("sin");
  return formatValue(PI, 40) + " " + formatValue(VALUE_LIMIT, 0) + " " +
         std::to_string(Reflectable<Function>::creators().size()) + " " +
         (sin ? formatValue(sin->evaluate(PI.get() / 6), 40) : "no sin");
}();

TEST(StaticStart, ConstantsAndRegistryAreReadyForOtherStatics) {
  EXPECT_EQ(early, "3.1415926535897932384626433832795028841972 1000000000000000000000000000000000 " +
                       std::to_string(Reflectable<Function>::creators().size()) + " 0.5");
}
