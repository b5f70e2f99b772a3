// The command-line calculator: options, answers, errors with their carets,
// inputs from -e, files and standard input in command-line order, the user
// constants, and the program's exit statuses.
#include "cli/Cli.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
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
    const int status = cli::run(options, dir.file("Constant"), {in, out, err, interactive});
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

TEST_F(Calculator, InputsAreEvaluatedInCommandLineOrder) {
  writeBytes(dir.file("first"), "y = x + 1\r\n\r\n   \nz = y * 10\n");
  writeBytes(dir.file("second"), "z + y\n");
  const Result all = run({"-e", "x = 2", dir.file("first"), "-e", "z / 2", "-", dir.file("second")}, "x + y + z\n");
  EXPECT_EQ(all.out, "2\n3\n30\n15\n35\n33\n");
  EXPECT_EQ(all.err, "");
  EXPECT_EQ(all.status, 0);
}

// A line of a file is named by the file and its line; standard input is
// "<stdin>" unless it is a terminal.
TEST_F(Calculator, ErrorsOfFilesNameTheFileAndLine) {
  const std::string lines = "a = 2\n\nb = undefined\n1/0\na * 3\n";
  const std::string pointers = "error: Undefined variable: undefined\nb = undefined\n    ^^^^^^^^^\n";
  const std::string division = "error: In the expression 'x / y', y MUST NOT be zero !\n1/0\n ^\n";
  writeBytes(dir.file("in.txt"), lines);
  const struct {
    std::vector<std::string> arguments;
    bool interactive;
    std::string out, err;
  } cases[] = {
      {{dir.file("in.txt")}, false, "2\n6\n",
       dir.file("in.txt") + ":3: " + pointers + dir.file("in.txt") + ":4: " + division},
      {{"-"}, false, "2\n6\n", "<stdin>:3: " + pointers + "<stdin>:4: " + division},
      {{}, false, "2\n6\n", "<stdin>:3: " + pointers + "<stdin>:4: " + division},
      {{}, true, "> 2\n> > > > 6\n> \n", pointers + division},
  };
  for (const auto& c : cases) {
    const Result result = run(c.arguments, lines, c.interactive);
    EXPECT_EQ(result.out, c.out) << testing::PrintToString(c.arguments);
    EXPECT_EQ(result.err, c.err) << testing::PrintToString(c.arguments);
    EXPECT_EQ(result.status, 1);
  }
}

TEST_F(Calculator, AFileThatCannotBeReadFailsTheRunButNotTheOtherInputs) {
  const Result result = run({dir.file("missing"), dir.path().string(), "-e", "1+1"});
  EXPECT_EQ(result.out, "2\n");
  EXPECT_EQ(result.err, "error: cannot read " + dir.file("missing") + ": No such file or directory\n" +
                            "error: cannot read " + dir.path().string() + ": Is a directory\n");
  EXPECT_EQ(result.status, 1);
  const Result quit = run({}, "1+1\nquit\n2*3\n", true);
  EXPECT_EQ(quit.out, "> 2\n> \n") << "a prompt per line; quit ends";
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
  EXPECT_EQ(cli::run(options, dir.file("Constant"), {unused, out, err, true, reader}), 0);
  EXPECT_EQ(out.str(), "6\n42\n\n");
  EXPECT_EQ(prompts, (std::vector<std::string>{"> ", "> ", "> "}));
}

TEST_F(Calculator, UserConstants) {
  writeBytes(dir.file("Constant"), "Constant\n{\n\tg = 9.81;\n}\n");
  EXPECT_EQ(run({"-e", "2*g"}).out, "19.62\n");
  writeBytes(dir.file("other"), "Constant\n{\n\tg = 10;\n}\n");
  EXPECT_EQ(run({"--constants", dir.file("other"), "-e", "2*g"}).out, "20\n");
  // A --constants file that cannot be read ends the run before any input; an absent default file does not.
  for (const std::string& unreadable : {dir.file("missing"), dir.path().string()}) {
    const Result refused = run({"--constants", unreadable, "-e", "1"});
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err.rfind("error: cannot read the constants file " + unreadable + ": ", 0), 0u) << refused.err;
  }
  std::filesystem::remove(dir.file("Constant"));
  EXPECT_EQ(run({"-e", "1"}).status, 0);
}

// Entries whose names or values are not valid are skipped with a warning each
// (in name order, bytes that are not printable shown escaped); the file stays
// as it was.
TEST_F(Calculator, ConstantsThatAreNotValidAreSkipped) {
  const std::string file = "Constant\n{\n\tg = 9.81;\n\tbad = abc;\n\tneg = -2;\n\ttwice = --1;\n\thex = 0x10;\n"
                           "\thuge = 1e2000000000;\n\tk\xff\x1b = 1;\n}\n";
  writeBytes(dir.file("Constant"), file);
  const Result result = run({"-e", "neg * g", "-e", "bad"});
  EXPECT_EQ(result.out, "-19.62\n");
  const std::string from = dir.file("Constant") + ": warning: constant ";
  EXPECT_EQ(result.err, from + "bad skipped: its value \"abc\" is not a number\n" + from +
                            "hex skipped: its value \"0x10\" is not a number\n" + from +
                            "huge skipped: its value \"1e2000000000\" is too big\n" + from +
                            "k\\xff\\x1b skipped: it is not a valid name\n" + from +
                            "twice skipped: its value \"--1\" is not a number\n" +
                            "error: Undefined variable: bad\nbad\n^^^\n");
  EXPECT_EQ(result.status, 1) << "only the failed input counts";
  EXPECT_EQ(readBytes(dir.file("Constant")), file);
}

// A constants file that is there but cannot be read is said so at start: the
// default file with a warning (the run goes on without user constants), a
// --constants file with an error before any input. Nothing waits on a FIFO.
TEST_F(Calculator, UnreadableConstantsFilesAreReported) {
  struct Case {
    const char* kind;
    const char* reason;
  };
  for (const Case& c : {Case{"damaged", "not a constants file"}, Case{"fifo", "not a regular file"},
                        Case{"huge", "larger than 64 MiB"}}) {
    SCOPED_TRACE(c.kind);
    const std::string path = dir.file("Constant");
    std::filesystem::remove(path);
    if (std::string(c.kind) == "fifo") {
      ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    } else {
      writeBytes(path, "Constant\n{\n\tg = 9.80665;\n\th = 6.626 e-34;\n}\n");
      if (std::string(c.kind) == "huge") {
        ASSERT_EQ(::truncate(path.c_str(), (64 << 20) + 1), 0);
      }
    }
    const Result byDefault = run({"-e", "1+1"});
    EXPECT_EQ(byDefault.out, "2\n");
    EXPECT_EQ(byDefault.err, "warning: cannot read the constants file " + path + ": " + c.reason +
                                 "; no user constants are loaded\n");
    const Result named = run({"--constants", path, "-e", "1+1"});
    EXPECT_EQ(named.status, 2);
    EXPECT_EQ(named.out, "");
    EXPECT_EQ(named.err, "error: cannot read the constants file " + path + ": " + c.reason + "\n");
  }
}

// Input that cannot be read to its end (here memory runs out in the middle of
// a line) is an error, never taken for the end of the input.
TEST_F(Calculator, InputThatCannotBeReadIsAnError) {
  struct FailingInput : std::streambuf {
    std::string text = "2*3\n4";
    FailingInput() { setg(text.data(), text.data(), text.data() + text.size()); }
    int_type underflow() override { throw std::bad_alloc(); }
  } failing;
  std::istream in(&failing);
  std::ostringstream out, err;
  cli::Options options;
  EXPECT_EQ(cli::run(options, dir.file("Constant"), {in, out, err, false}), 1);
  EXPECT_EQ(out.str(), "6\n");
  EXPECT_EQ(err.str(), "<stdin>: error: the input could not be read to its end (a line too long for the memory, or a "
                       "read error)\n");
}

TEST(Options, Parsing) {
  cli::Options options;
  std::string error;
  ASSERT_TRUE(
      cli::parseOptions({"-v", "-e", "1", "--constants", "c", "f1", "-e", "2", "-", "--version"}, options, error));
  EXPECT_TRUE(options.verbose);
  EXPECT_TRUE(options.version);
  using Kind = cli::Input::Kind;
  EXPECT_EQ(options.inputs,
            (std::vector<cli::Input>{{Kind::Text, "1"}, {Kind::File, "f1"}, {Kind::Text, "2"}, {Kind::File, "-"}}));
  EXPECT_EQ(options.constantsFile, "c");
  for (const std::vector<std::string>& bad : {std::vector<std::string>{"-e"}, {"--constants"}, {"-x"}}) {
    cli::Options o;
    EXPECT_FALSE(cli::parseOptions(bad, o, error));
    EXPECT_FALSE(error.empty());
  }
  cli::Options help;
  ASSERT_TRUE(cli::parseOptions({"--help"}, help, error));
  EXPECT_TRUE(help.help);
}

// The program itself: what it prints where, and its exit status.
TEST(Program, ExitStatusesAndStreams) {
  TempDir dir;
  writeBytes(dir.file("good"), "1 + 1\n");
  const auto quoted = [](const std::string& text) { return "'" + text + "'"; };
  const struct {
    std::string arguments, input;
    int status;
    std::string out, errStart;
  } cases[] = {
      {"--version", "", 0, "numbrix-cli " NUMBRIX_VERSION "\n", ""},
      {"--help", "", 0, cli::helpText(), ""},
      {"-e '7 >> 1' " + quoted(dir.file("good")), "", 0, "4\n2\n", ""},
      {"", "2 * 3\n", 0, "6\n", ""},
      {"", "2 *\n", 1, "", "<stdin>:1: error: unexpected token: \\n\n2 *\n   ^\n"},
      {quoted(dir.file("missing")) + " -e 1", "", 1, "1\n", "error: cannot read " + dir.file("missing")},
      {"--constants " + quoted(dir.file("missing")) + " -e 1", "", 2, "",
       "error: cannot read the constants file " + dir.file("missing")},
      {"-q", "", 2, "", "numbrix-cli: unknown option -q\nTry 'numbrix-cli --help'.\n"},
  };
  for (const auto& c : cases) {
    writeBytes(dir.file("stdin"), c.input);
    const std::string command = "NUMBRIX_HOME=" + quoted(dir.file("home")) + " " + quoted(NUMBRIX_CLI) + " " +
                                c.arguments + " <" + quoted(dir.file("stdin")) + " >" + quoted(dir.file("stdout")) +
                                " 2>" + quoted(dir.file("stderr"));
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status)) << command;
    EXPECT_EQ(WEXITSTATUS(status), c.status) << command;
    EXPECT_EQ(readBytes(dir.file("stdout")), c.out) << command;
    const std::string err = readBytes(dir.file("stderr"));
    EXPECT_EQ(err.substr(0, c.errStart.size()), c.errStart) << command;
    EXPECT_EQ(err.empty(), c.errStart.empty()) << command << err;
  }
  // Without a folder for the program's files it says so once, loads no
  // constants and creates nothing where it runs.
  const std::string bare = "cd " + quoted(dir.path().string()) + " && env -u HOME -u XDG_CONFIG_HOME -u NUMBRIX_HOME " +
                           quoted(NUMBRIX_CLI) + " -e '1+1' >stdout 2>stderr";
  EXPECT_EQ(std::system(bare.c_str()), 0);
  EXPECT_EQ(readBytes(dir.file("stdout")), "2\n");
  EXPECT_EQ(readBytes(dir.file("stderr")), "numbrix-cli: warning: neither HOME nor XDG_CONFIG_HOME names a folder, "
                                           "so no user constants are loaded\n");
  EXPECT_FALSE(std::filesystem::exists(dir.file(".config")));
}

}  // namespace
