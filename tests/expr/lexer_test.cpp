// The tokens of the language: types, texts and columns.
#include <gtest/gtest.h>

#include <antlr/RecognitionException.hpp>
#include <antlr/TokenStreamRecognitionException.hpp>
#include <sstream>
#include <utility>

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

// (Every operator is parsed, and many of their columns shown, in evaluator_test.)
TEST(Lexer, TokensTextsAndColumns) {
  const std::pair<const char*, std::vector<std::string>> cases[] = {
      {"x = 1\r\n\r\ny", {"ID:x@1", "EQUALS:=@3", "DOUBLE:1@5", "NEWLINE:\r\n\r\n@6", "ID:y@10"}},
      {"\t\tb", {"ID:b@17"}},
      {"0x1f 0X1F 0b102", {"HEX:0x1f@1", "HEX:0X1F@6", "Bin:0b10@11", "DOUBLE:2@15"}},
      {"017 0.17 0 019 08",
       {"OCT:017@1", "DOUBLE:0.17@5", "DOUBLE:0@10", "OCT:01@12", "DOUBLE:9@14", "DOUBLE:0@16", "DOUBLE:8@17"}},
      {"1.e5 .5 e5 12. 6.02E+23 0e5 0.5E-3",
       {"DOUBLE:1.e5@1", "DOUBLE:.5@6", "ID:e5@9", "DOUBLE:12.@12", "DOUBLE:6.02E+23@16", "DOUBLE:0e5@25",
        "DOUBLE:0.5E-3@29"}},
      {"&&<<>>", {"BIT_AND:&@1", "BIT_AND:&@2", "BIT_LEFT_SHIFT:<<@3", "BIT_RIGHT_SHIFT:>>@5"}},
      // Lexical errors carry their column (their messages are checked through the evaluator).
      {"1 0xG", {"DOUBLE:1@1", "error: unexpected char: 'G'@5"}},
  };
  for (const auto& [input, tokens] : cases) EXPECT_EQ(tokensOf(input), tokens) << input;
  for (const char* bad : {"#", ";", ":", "?", "@", "\"", "'", "\\", "\x80", "<", "0x", "1e+"})
    EXPECT_EQ(tokensOf(std::string("1 ") + bad).back().rfind("error: ", 0), 0u) << bad;
}

}  // namespace
