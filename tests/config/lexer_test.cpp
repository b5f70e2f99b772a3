#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "ConfigLexer.hpp"
#include "ConfigParser.hpp"

namespace {

TEST(ConfigTokens, NumbersAndNamesAreFixed) {
  EXPECT_EQ(ConfigParserTokenTypes::STR, 4);
  EXPECT_EQ(ConfigParserTokenTypes::LBRACKET, 5);
  EXPECT_EQ(ConfigParserTokenTypes::EQUALS, 6);
  EXPECT_EQ(ConfigParserTokenTypes::SEMI_COLON, 7);
  EXPECT_EQ(ConfigParserTokenTypes::RBRACKET, 8);
  EXPECT_EQ(ConfigParserTokenTypes::COMMENT, 9);
  EXPECT_EQ(ConfigParserTokenTypes::WHITE_SPACE, 10);

  std::istringstream in;
  ConfigLexer lexer(in);
  ConfigParser parser(lexer);
  const std::vector<std::string> expected{"<0>",      "EOF",      "<2>",        "NULL_TREE_LOOKAHEAD",
                                          "STR",      "LBRACKET", "EQUALS",     "SEMI_COLON",
                                          "RBRACKET", "COMMENT",  "WHITE_SPACE"};
  ASSERT_EQ(parser.getNumTokens(), static_cast<int>(expected.size()));
  for (int i = 0; i < parser.getNumTokens(); ++i) EXPECT_EQ(parser.getTokenName(i), expected[i]) << i;
}

}  // namespace
