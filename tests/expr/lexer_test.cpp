// The tokens of the language: types, texts and columns.
#include <gtest/gtest.h>

#include <sstream>

#include <antlr/RecognitionException.hpp>
#include <antlr/TokenStreamRecognitionException.hpp>

#include "ExprLexer.hpp"
#include "ExprParser.hpp"

namespace {

// A parser only for its token-name table.
const ExprParser& tokenTable() {
  struct Names {
    std::istringstream in;
    ExprLexer lexer{in};
    ExprParser parser{lexer};
  };
  static Names names;
  return names.parser;
}

// "NAME:text@column" for each token up to the end of the input, or the lexical
// error's message and column as "error: message@column".
std::vector<std::string> tokensOf(const std::string& input) {
  std::istringstream in(input);
  ExprLexer lexer(in);
  std::vector<std::string> tokens;
  try {
    for (;;) {
      const antlr::RefToken token = lexer.nextToken();
      if (token->getType() == antlr::Token::EOF_TYPE) break;
      tokens.push_back(std::string(tokenTable().getTokenName(token->getType())) + ":" + token->getText() + "@" +
                       std::to_string(token->getColumn()));
      if (token->getLine() != 1) tokens.back() += " line " + std::to_string(token->getLine());
    }
  } catch (const antlr::TokenStreamRecognitionException& e) {
    tokens.push_back("error: " + e.getMessage() + "@" + std::to_string(e.getColumn()));
  }
  return tokens;
}

using Tokens = std::vector<std::string>;

TEST(Lexer, TokensTextsAndColumns) {
  const struct {
    const char* input;
    Tokens tokens;
  } cases[] = {
      {"x = 1\r\n\r\ny", {"ID:x@1", "EQUALS:=@3", "DOUBLE:1@5", "NEWLINE:\r\n\r\n@6", "ID:y@10"}},
      {"a\t+", {"ID:a@1", "PLUS:+@9"}},
      {"\t\tb", {"ID:b@17"}},
      {"0x1f 0X1F 0b102", {"HEX:0x1f@1", "HEX:0X1F@6", "Bin:0b10@11", "DOUBLE:2@15"}},
      {"017 0.17 0 019 08", {"OCT:017@1", "DOUBLE:0.17@5", "DOUBLE:0@10", "OCT:01@12", "DOUBLE:9@14", "DOUBLE:0@16",
                             "DOUBLE:8@17"}},
      {"1.e5 .5 e5 12. 6.02E+23 0e5 0.5E-3",
       {"DOUBLE:1.e5@1", "DOUBLE:.5@6", "ID:e5@9", "DOUBLE:12.@12", "DOUBLE:6.02E+23@16", "DOUBLE:0e5@25",
        "DOUBLE:0.5E-3@29"}},
      {"-5", {"MINUS:-@1", "DOUBLE:5@2"}},
      {"&&<<>>", {"BIT_AND:&@1", "BIT_AND:&@2", "BIT_LEFT_SHIFT:<<@3", "BIT_RIGHT_SHIFT:>>@5"}},
      {"|$*/%~^!(),[]{}", {"BIT_OR:|@1", "BIT_XOR:$@2", "MULTIPLE:*@3", "DIVIDE:/@4", "MOD:%@5", "BIT_NOT:~@6",
                           "POWER:^@7", "FACTORIAL:!@8", "LEFT_PARENTHESES:(@9", "RIGHT_PARENTHESES:)@10",
                           "COMMA:,@11", "LEFT_SQUARE_BRAKET:[@12", "RIGHT_SQUARE_BRAKET:]@13", "LEFT_BRACE:{@14",
                           "RIGHT_BRACE:}@15"}},
      {"_a1 B_2", {"ID:_a1@1", "ID:B_2@5"}},
  };
  for (const auto& c : cases) EXPECT_EQ(tokensOf(c.input), c.tokens) << c.input;
}

TEST(Lexer, CharacterErrorsCarryTheirColumn) {
  for (const char* bad : {"#", ";", ":", "?", "@", "\"", "'", "\\", "\x80", "<", "0x", "0xG", "1e+"}) {
    const Tokens tokens = tokensOf(std::string("1 ") + bad);
    ASSERT_FALSE(tokens.empty()) << bad;
    EXPECT_EQ(tokens.back().rfind("error: ", 0), 0u) << bad;
  }
  EXPECT_EQ(tokensOf("1 #").back(), "error: unexpected char: '#'@3");
  EXPECT_EQ(tokensOf("1 0xG").back(), "error: unexpected char: 'G'@5");
}

TEST(Lexer, TokenNameTable) {
  const ExprParser& table = tokenTable();
  EXPECT_EQ(table.getNumTokens(), 33);
  EXPECT_STREQ(table.getTokenName(0), "<0>");
  EXPECT_STREQ(table.getTokenName(1), "EOF");
  EXPECT_STREQ(table.getTokenName(2), "<2>");
  EXPECT_STREQ(table.getTokenName(3), "NULL_TREE_LOOKAHEAD");
  EXPECT_STREQ(table.getTokenName(ExprParserTokenTypes::MULTIPLE), "MULTIPLE");
  EXPECT_STREQ(table.getTokenName(ExprParserTokenTypes::Bin), "Bin");
  EXPECT_STREQ(table.getTokenName(31), "DBL_OCT");
  EXPECT_STREQ(table.getTokenName(32), "WS");
  EXPECT_EQ(ExprParserTokenTypes::NEWLINE, 4);
  EXPECT_EQ(ExprParserTokenTypes::LEFT_SQUARE_BRAKET, 27);
}

}  // namespace
