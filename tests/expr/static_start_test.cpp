// A test program whose own static initialisers use the shared numbers and the
// function registry before main: they must be ready, whatever order the
// linker put the translation units in.
#include <gtest/gtest.h>

#include <memory>

#include "expr/Constants.h"
#include "expr/FormatValue.h"
#include "expr/Function.h"

namespace {

struct EarlyUse {
  std::string pi, limit;
  std::size_t functions = 0;
  std::string sine;
  EarlyUse() {
    pi = formatValue(PI, 40);
    limit = formatValue(VALUE_LIMIT, 0);
    functions = Reflectable<Function>::creators().size();
    const std::unique_ptr<Function> sin = Reflectable<Function>::create("sin");
    if (sin) sine = formatValue(sin->evaluate(PI.get() / 6), 40);
  }
};

const EarlyUse early;

TEST(StaticStart, ConstantsAndRegistryAreReadyForOtherStatics) {
  EXPECT_EQ(early.pi, "3.1415926535897932384626433832795028841972");
  EXPECT_EQ(early.limit, "1000000000000000000000000000000000");
  EXPECT_EQ(early.functions, Reflectable<Function>::creators().size());
  EXPECT_GT(early.functions, 0u);
  EXPECT_EQ(early.sine, "0.5");
}

}  // namespace
