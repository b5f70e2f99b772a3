// The language through the evaluator: answers, normalised texts, messages and
// their spans, the order of listener calls, variables and constants.
#include <filesystem>
#include <tuple>
#include <utility>

#include "EvaluatorFixture.h"
#include "support/TempDir.h"

TEST_F(Evaluator, AnswersAndNormalisedTexts) {
  const std::pair<const char*, const char*> cases[] = {
      // an input and its log
      {"1+2", "log 1 + 2 => 3"},
      {"x=5", "log x = 5 => 5"},
      {"( 1+2 ) * [3]", "log (1 + 2) * [3] => 9"},
      {"{2}-x", "log {2} - x => -3"},
      {"-x", "log -x => -5"},
      {"~ 5", "log ~5 => 4294967290"},
      {"log(2,8)", "log log(2, 8) => 3"},
      {"2^3^2", "log 2 ^ 3 ^ 2 => 64"},
      {"-2^2", "log -2 ^ 2 => -4"},
      {"(-2)^3", "log (-2) ^ 3 => -8"},
      {"0^0", "log 0 ^ 0 => 1"},
      {"2^(-1)", "log 2 ^ (-1) => 0.5"},
      {"2^-2^2", "log 2 ^ -2 ^ 2 => 0.0625"},
      {"-2 ^ - 1", "log -2 ^ -1 => -0.5"},
      {"-7%3", "log -7 % 3 => -1"},
      {"7 % -3", "log 7 % -3 => 1"},
      {"0!", "log 0! => 1"},
      {"12|3 $ 10 & 7", "log 12 | 3 $ 10 & 7 => 13"},
      {"1<<10>>2", "log 1 << 10 >> 2 => 256"},
      {"0b1111+017+0xff", "log 0b1111 + 017 + 0xff => 285"},
      {"1.e5 + .5", "log 1.e5 + .5 => 100000.5"},
      {"2^100 + sin(PI/6)", "log 2 ^ 100 + sin(PI / 6) => 1267650600228229401496703205376.5"},
      {"30!", "log 30! => 265252859812191058636308480000000"},
      {"1e33", "log 1e33 => 1000000000000000000000000000000000"},
  };
  for (const auto& [input, logged] : cases) {  // in order: x=5 comes before x is used
    listeners.calls.clear();
    const std::string error = errorOf(input);  // before the calls are read
    EXPECT_EQ(error + (listeners.calls.empty() ? "nothing logged" : listeners.calls.front()), logged) << input;
  }
}

TEST_F(Evaluator, MessagesAndSpans) {
  using K = ExprParserException::Kind;
  const std::tuple<const char*, K, const char*> cases[] = {
      // an input, its error's kind and its error
      {"1/0", K::DivisionByZero, "In the expression 'x / y', y MUST NOT be zero ! @1:2-1:2"},
      {"5 % 0", K::DivisionByZero, "In the expression 'x % y', y MUST NOT be zero ! @1:3-1:3"},
      {"1+", K::Syntax, "unexpected token: \n @1:3--1:-1"},
      {"2^--1", K::Syntax, "unexpected token: - @1:4--1:-1"},
      {"0^-1", K::DivisionByZero,
       "In the expression 'x ^ y', y MUST be a non-negative value when x equals zero ! @1:2-1:2"},
      {"1\t+ #", K::Character, "unexpected char: '#' @1:11--1:-1"},
      {"+2", K::Syntax, "unexpected token: + @1:1--1:-1"},
      {"--2", K::Syntax, "unexpected token: - @1:2--1:-1"},
      {"3!!", K::Syntax, "unexpected token: ! @1:3--1:-1"},
      {"(-8)^(1/3)", K::Domain,
       "In the expression 'x ^ y', y MUST be an integer when x is a negative value ! @1:5--1:-1"},
      {"0^(-1)", K::DivisionByZero,
       "In the expression 'x ^ y', y MUST be a non-negative value when x equals zero ! @1:2-1:2"},
      {"31!", K::TooBig, "The result or temporary value is too big ! @1:3-1:3"},
      {"2.5!", K::Domain, "In the expression 'x!', x MUST be a non-negative integer ! @1:4--1:-1"},
      {"1.0000000000000000000000000000000001e33", K::TooBig, "The result or temporary value is too big ! @1:1-1:39"},
      {"1e32 * 100", K::TooBig, "The result or temporary value is too big ! @1:6-1:6"},
      {"1e33 + 1", K::TooBig, "The result or temporary value is too big ! @1:6-1:6"},
      {"f( 2 ,3 )", K::UndefinedName, "Undefined function: f @1:1-1:9"},
      {"pi", K::UndefinedName, "Undefined variable: pi @1:1-1:2"},
      {"08", K::Syntax, "unexpected token: 8 @1:2--1:-1"},
      {"sin()", K::Syntax, "unexpected token: sin @1:1--1:-1"},
      {"1 && 2", K::Syntax, "unexpected token: & @1:4--1:-1"},
      {"log(8)", K::Arguments, "Expect two parameters for 'log(a, b)' function ! @1:1-1:6"},
      {"1 + sin(1, 2)", K::Arguments, "Expect one parameter for 'sin(x)' function ! @1:5-1:13"},
      {"2*tan(PI/2)", K::Domain, "Undefined tangent value ! @1:3-1:11"},
      {"2.5 | 1", K::Domain, "In the expression 'x | y', x and y MUST be non-negative integers ! @1:5-1:5"},
      {"1 & 0.5", K::Domain, "In the expression 'x && y', x and y MUST be non-negative integers ! @1:3-1:3"},
      {"1 >> (0-1)", K::Domain,
       "In the expression 'x >> y', x and y MUST be non-negative integers and y >= 0 ! @1:3-1:3"},
      {"~(0-1)", K::Domain, "In the expression '~x', x MUST be a non-negative integer ! @1:1-1:1"},
      {"1 << 200", K::TooBig, "The result or temporary value is too big ! @1:3-1:3"},
      {"2 ^ (2 ^ 100)", K::TooBig, "The result or temporary value is too big ! @1:3-1:3"},
      {"1e", K::Character, "unexpected char: 0x0A @1:3--1:-1"},
      {"1 \xe9", K::Character, "unexpected char: 0xE9 @1:3--1:-1"},
      {"1 < 2", K::Character, "expecting ''<'', found '' '' @1:4--1:-1"},
      {"x = = 1", K::Syntax, "unexpected token: = @1:5--1:-1"},
      {"Sin(1)", K::UndefinedName, "Undefined function: Sin @1:1-1:6"},
  };
  for (const auto& [input, kind, error] : cases) {
    EXPECT_EQ(errorOf(input), error) << input;
    EXPECT_EQ(lastKind, kind) << input;
  }
  // Only a line break, and a statement without one: the end of the input comes too early.
  std::string message;
  try {
    parser->parse("1+2");
  } catch (const ExprParserException& e) {
    message = e.what();
  }
  EXPECT_EQ(message, "unexpected end of file");
  EXPECT_EQ(errorOf(""), "unexpected end of file @1:2--1:-1");
}

TEST_F(Evaluator, ListenersHearStatementsThenCommittedVariablesInNameOrder) {
  ASSERT_EQ(errorOf("b=3\na=1\n\n7"), "");
  EXPECT_EQ(listeners.calls, (std::vector<std::string>{"log b = 3 => 3", "log a = 1 => 1", "log 7 => 7", "display a 1",
                                                       "display ans 7", "display b 3"}));
  listeners.calls.clear();
  // A later statement sees an earlier one's pending value; x=5 commits no ans.
  ASSERT_EQ(errorOf("a=2\nb=a*3"), "");
  EXPECT_EQ(listeners.calls,
            (std::vector<std::string>{"log a = 2 => 2", "log b = a * 3 => 6", "display a 2", "display b 6"}));
  EXPECT_EQ(answerOf("ans"), "7") << "ans of the earlier input";
  // A failed input commits nothing but keeps its log.
  listeners.calls.clear();
  EXPECT_EQ(errorOf("a=3\n1/0"), "In the expression 'x / y', y MUST NOT be zero ! @1:6-1:6");
  EXPECT_EQ(listeners.calls, (std::vector<std::string>{"log a = 3 => 3"}));
  EXPECT_EQ(answerOf("a"), "2");
  // Parsing stops at a line that cannot start a statement.
  listeners.calls.clear();
  ASSERT_EQ(errorOf("\r\n\r\n1+1\r\n)\n2+2"), "");
  EXPECT_EQ(listeners.calls, (std::vector<std::string>{"log 1 + 1 => 2", "display ans 2"}));
}

TEST_F(Evaluator, NamesResolveToPendingThenVariablesThenConstantsThenPiAndE) {
  EXPECT_EQ(answerOf("PI"), "3.1415926535897932384626433832795028841972");
  ASSERT_TRUE(parser->setConstants({{"PI", "3"}, {"k", "10"}}));
  EXPECT_EQ(answerOf("PI"), "3");
  parser->setVariable("PI", bignum::bigfloat("4", 81));
  EXPECT_EQ(answerOf("PI + k"), "14");
  EXPECT_EQ(answerOf("PI = 5\nPI"), "5");
  EXPECT_EQ(answerOf("k = 1\nk"), "1") << "a variable hides a constant";
}

// The table of variables, and the name and number checks (silent, as the
// listeners' calls below show).
TEST_F(Evaluator, VariablesTableAndNameAndNumberChecks) {
  for (const char* name : {"x1", "_a", "PI", "abc_DEF_9"}) EXPECT_TRUE(parser->isValidName(name)) << name;
  for (const char* name : {"1x", "a b", "a+b", "", "#", "x\ny"}) EXPECT_FALSE(parser->isValidName(name)) << name;
  for (const char* number : {"12.5", "1e9", "0", ".5", "1.", "6.02E+23"})
    EXPECT_TRUE(parser->isValidNumber(number)) << number;
  for (const char* number : {"0x10", "017", "-1", "", "1e", "x", "1 2"})
    EXPECT_FALSE(parser->isValidNumber(number)) << number;
  bignum::bigfloat out("42", 81);
  EXPECT_FALSE(parser->getVariable("x", out));
  EXPECT_EQ(formatValue(out, 40), "42") << "left unchanged";
  parser->setVariable("x", bignum::bigfloat("2", 81));
  parser->removeVariable("x");
  parser->removeVariable("nothing");
  parser->clearVariables();
  EXPECT_EQ(listeners.calls, (std::vector<std::string>{"display x 2", "remove x", "remove nothing", "clear"}));
  EXPECT_FALSE(parser->getVariable("x", out));
  parser->setDisplayer(nullptr);
  parser->setLog(nullptr);
  EXPECT_EQ(errorOf("y = 1"), "") << "no listeners: nothing to tell";
  EXPECT_TRUE(parser->getVariable("y", out));
}

TEST_F(Evaluator, ConstantsFileRoundTrip) {
  TempDir dir;
  const std::string path = (dir.path() / "Constant").string();
  writeBytes(path, "Constant\n{\n    pi = 3;\n    g = 9.80665;\n    g = 9.81;\n}\n");
  parser->loadConstants(path);
  EXPECT_EQ(answerOf("pi"), "3");
  EXPECT_EQ(answerOf("g"), "9.81") << "a later leaf of the same name wins";
  EXPECT_EQ(answerOf("PI"), "3.1415926535897932384626433832795028841972");
  // A set with one bad entry is refused whole.
  EXPECT_FALSE(parser->setConstants({{"g", "1"}, {"1x", "2"}}));
  EXPECT_FALSE(parser->setConstants({{"g", "1"}, {"h", "1e34"}}));
  EXPECT_EQ(answerOf("g"), "9.81");
  ASSERT_TRUE(parser->setConstants({{"g", "9.81"}, {"pi", "3"}, {"third", "0." + std::string(81, '3')}}));
  parser->saveConstants(path);
  EXPECT_EQ(readBytes(path),
            "Constant\n{\n\tg = 9.810000000;\n\tpi = 3;\n\tthird = 0." + std::string(81, '3') + ";\n}\n");
  ASSERT_TRUE(parser->setConstants({}));
  EXPECT_TRUE(parser->constants().empty());
  parser->loadConstants(path);
  EXPECT_EQ(parser->constants().size(), 3u);
  EXPECT_EQ(answerOf("third * 3"), "1");
  parser->loadConstants((dir.path() / "missing").string());
  EXPECT_TRUE(parser->constants().empty());
}

// Deep nesting of calls is refused, not a crash (brackets are in
// hostile_input_test), and nested calls take linear trial work.
TEST_F(Evaluator, DeepNestingIsRefused) {
  const auto nest = [](std::string inside, const std::string& open, const std::string& close, int times) {
    while (times-- > 0) inside.insert(0, open).append(close);
    return inside;
  };
  EXPECT_EQ(errorOf(nest("1", "abs(", ")", 2000)), "The expression is too deeply nested ! @1:4001-1:4001");
  EXPECT_EQ(lastKind, ExprParserException::Kind::Nesting);
  EXPECT_EQ(answerOf(nest("1", "abs(", ")", 60)), "1");
  // The innermost call, tried and then evaluated first, is refused.
  EXPECT_EQ(answerOf(nest(nest("1", "sin(", ", 2)", 60), "round(", ")", 1)),
            "error: Expect one parameter for 'sin(x)' function ! @1:243-1:251");
}

TEST_F(Evaluator, LongInputsAreEvaluated) {
  std::string statements;
  for (int i = 0; i < 10000; ++i) statements += "v" + std::to_string(i) + " = " + std::to_string(i) + "\n";
  EXPECT_EQ(errorOf(statements + "v9999 + v1"), "");
  EXPECT_EQ(listeners.calls.size(), 2u * 10001) << "10001 logs; 10000 variables and ans displayed";
}
