// The command-line calculator: options, answers, errors with their carets,
// inputs from -e, files and standard input.
#include "cli/Cli.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "expr/IExprParser.h"
#include "support/TempDir.h"

namespace {

struct Result {
  int status;
  std::string out, err;
};

class Calculator : public ::testing::Test {
 protected:
  void SetUp() override { IExprParser::resetInstance(); }
  void TearDown() override { IExprParser::resetInstance(); }

  Result run(const std::vector<std::string>& arguments, const std::string& input = "", bool interactive = false) {
    cli::Options options;
    std::string error;
    EXPECT_TRUE(cli::parseOptions(arguments, options, error)) << error;
    std::istringstream in(input);
    std::ostringstream out, err;
    const int status = cli::run(options, (dir.path() / "Constant").string(), {in, out, err, interactive});
    return {status, out.str(), err.str()};
  }

  TempDir dir;
};

TEST_F(Calculator, ExpressionsFromTheCommandLine) {
  EXPECT_EQ(run({"-e", "2^100 + sin(PI/6)"}).out, "1267650600228229401496703205376.5\n");
  const Result two = run({"-e", "x = 3", "-e", "x^2"});
  EXPECT_EQ(two.out, "3\n9\n");
  EXPECT_EQ(two.status, 0);
  EXPECT_EQ(run({"-v", "-e", "a=2\nb=a*3"}).out, "a = 2 = 2\nb = a * 3 = 6\n");
}

TEST_F(Calculator, ErrorsShowTheInputWithCaretsUnderTheCause) {
  const Result division = run({"-e", "1/0"});
  EXPECT_EQ(division.status, 1);
  EXPECT_EQ(division.out, "");
  EXPECT_EQ(division.err, "error: In the expression 'x / y', y MUST NOT be zero !\n1/0\n ^\n");
  // The run goes on after a failed input; an unnamed span shows no carets.
  const Result mixed = run({"-e", "foo(2)", "-e", "1+", "-e", "7"});
  EXPECT_EQ(mixed.status, 1);
  EXPECT_EQ(mixed.out, "7\n");
  EXPECT_EQ(mixed.err, "error: Undefined function: foo\nfoo(2)\n^^^^^^\nerror: unexpected token: \\n\n1+\n  ^\n");
}

TEST_F(Calculator, CaretsCountColumnsAsTheLexerDoes) {
  EXPECT_EQ(cli::errorPointer("1 +\t#", 9, -1), "1 +\t#\n   \t^\n");
  EXPECT_EQ(cli::errorPointer("a = 1\nb = x + 1", 11, 11), "b = x + 1\n    ^\n") << "columns run on across lines";
  EXPECT_EQ(cli::errorPointer("12 + undefinedName", 6, 18), "12 + undefinedName\n     ^^^^^^^^^^^^^\n");
  EXPECT_EQ(cli::errorPointer("1+", 3, -1), "1+\n  ^\n") << "just after the end";
  EXPECT_EQ(cli::errorPointer("anything", -1, -1), "");
}

TEST_F(Calculator, LinesOfFilesAndStandardInput) {
  const std::string file = (dir.path() / "inputs.txt").string();
  std::ofstream(file) << "a = 2\r\n\r\n   \nb = a + 1\nc = undefined\nb * 2\n";
  const Result fromFile = run({file});
  EXPECT_EQ(fromFile.out, "2\n3\n6\n");
  EXPECT_EQ(fromFile.status, 1);
  const Result missing = run({(dir.path() / "missing").string()});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("cannot read"), std::string::npos);
  const Result piped = run({}, "1+1\n\n2*3\n");
  EXPECT_EQ(piped.out, "2\n6\n");
  EXPECT_EQ(piped.status, 0);
  const Result interactive = run({}, "1+1\nquit\n2*3\n", true);
  EXPECT_EQ(interactive.out, "> 2\n> \n") << "a prompt per line; quit ends";
}

TEST_F(Calculator, AnInteractiveSessionReadsThroughTheLineEditor) {
  std::vector<std::string> lines = {"a = 6", "a * 7", "exit", "never"}, prompts;
  std::size_t next = 0;
  cli::Options options;
  std::istringstream unused;
  std::ostringstream out, err;
  const cli::LineReader reader = [&](const std::string& prompt, std::string& line) {
    prompts.push_back(prompt);
    if (next == lines.size()) return false;
    line = lines[next++];
    return true;
  };
  EXPECT_EQ(cli::run(options, (dir.path() / "Constant").string(), {unused, out, err, true, reader}), 0);
  EXPECT_EQ(out.str(), "6\n42\n\n");
  EXPECT_EQ(prompts, (std::vector<std::string>{"> ", "> ", "> "}));
}

TEST_F(Calculator, UserConstants) {
  std::ofstream(dir.path() / "Constant") << "Constant\n{\n\tg = 9.81;\n}\n";
  EXPECT_EQ(run({"-e", "2*g"}).out, "19.62\n");
  const std::string other = (dir.path() / "other").string();
  std::ofstream(other) << "Constant\n{\n\tg = 10;\n}\n";
  EXPECT_EQ(run({"--constants", other, "-e", "2*g"}).out, "20\n");
}

TEST(Options, Parsing) {
  cli::Options options;
  std::string error;
  ASSERT_TRUE(cli::parseOptions({"-v", "-e", "1", "--constants", "c", "f1", "-e", "2", "f2"}, options, error));
  EXPECT_TRUE(options.verbose);
  EXPECT_EQ(options.expressions, (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ(options.files, (std::vector<std::string>{"f1", "f2"}));
  EXPECT_EQ(options.constantsFile, "c");
  for (const std::vector<std::string>& bad : {std::vector<std::string>{"-e"}, {"--constants"}, {"-x"}}) {
    cli::Options o;
    EXPECT_FALSE(cli::parseOptions(bad, o, error));
    EXPECT_FALSE(error.empty());
  }
  cli::Options help;
  ASSERT_TRUE(cli::parseOptions({"--help"}, help, error));
  EXPECT_TRUE(help.help);
  EXPECT_NE(cli::helpText().find("--constants"), std::string::npos);
}

}  // namespace
