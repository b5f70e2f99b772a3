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
#include <sstream>
#include <tuple>
#include <utility>

#include "expr/IExprParser.h"
#include "support/TempDir.h"

namespace {

// A run's exit status and what it printed where.
struct Result {
  int status;
  std::string out, err;
  bool operator==(const Result&) const = default;
};
void PrintTo(const Result& r, std::ostream* os) {
  *os << "status " << r.status << " out " << testing::PrintToString(r.out) << " err " << testing::PrintToString(r.err);
}

class Calculator : public ::testing::Test {
 protected:
  void SetUp() override { IExprParser::resetInstance(); }
  void TearDown() override { IExprParser::resetInstance(); }

  // The calculator on `in`, its default constants file in the test's folder.
  Result runOn(const cli::Options& options, std::istream& in, bool interactive,
               const cli::LineReader& reader = nullptr) {
    std::ostringstream out, err;
    const int status = cli::run(options, dir.file("Constant"), {in, out, err, interactive, reader});
    return {status, out.str(), err.str()};
  }
  Result run(const std::vector<std::string>& arguments, const std::string& input = "", bool interactive = false) {
    cli::Options options;
    std::string error;
    EXPECT_TRUE(cli::parseOptions(arguments, options, error)) << error;
    std::istringstream in(input);
    return runOn(options, in, interactive);
  }

  TempDir dir;
};

TEST_F(Calculator, CaretsCountColumnsAsTheLexerDoes) {
  EXPECT_EQ(cli::errorPointer("1 +\t#", 9, -1), "1 +\t#\n   \t^\n");
  EXPECT_EQ(cli::errorPointer("a = 1\nb = x + 1", 11, 11), "b = x + 1\n    ^\n") << "columns run on across lines";
  EXPECT_EQ(cli::errorPointer("anything", -1, -1), "");
}

// An input that fails, or a file that cannot be read, fails the run but not
// the inputs after it; errors show the input with carets under the cause.
TEST_F(Calculator, InputsAreEvaluatedInCommandLineOrder) {
  writeBytes(dir.file("first"), "y = x + 1\r\n\r\n   \nz = y * 10\n");
  writeBytes(dir.file("second"), "z + y\n");
  EXPECT_EQ(run({"-e", "x = 2", dir.file("first"), "-e", "foo(2)", dir.file("missing"), "-e", "z / 2", "-e", "1+",
                 dir.path().string(), "-", dir.file("second")},
                "x + y + z\n"),
            (Result{1, "2\n3\n30\n15\n35\n33\n",
                    "error: Undefined function: foo\nfoo(2)\n^^^^^^\nerror: cannot read " + dir.file("missing") +
                        ": No such file or directory\nerror: unexpected token: \\n\n1+\n  ^\nerror: cannot read " +
                        dir.path().string() + ": Is a directory\n"}));
  EXPECT_EQ(run({"-v", "-e", "a=2\nb=a*3"}).out, "a = 2 = 2\nb = a * 3 = 6\n") << "with their normalised texts";
}

// A line of a file is named by the file and its line; standard input is
// "<stdin>" unless it is a terminal.
TEST_F(Calculator, ErrorsOfFilesNameTheFileAndLine) {
  const std::string lines = "a = 2\n\nb = undefined\n1/0\na * 3\n";
  const std::string pointers = "error: Undefined variable: undefined\nb = undefined\n    ^^^^^^^^^\n";
  const std::string division = "error: In the expression 'x / y', y MUST NOT be zero !\n1/0\n ^\n";
  writeBytes(dir.file("in.txt"), lines);
  // Arguments, whether standard input is a terminal, and the run.
  const std::tuple<std::vector<std::string>, bool, Result> cases[] = {
      {{dir.file("in.txt")},
       false,
       {1, "2\n6\n", dir.file("in.txt") + ":3: " + pointers + dir.file("in.txt") + ":4: " + division}},
      {{"-"}, false, {1, "2\n6\n", "<stdin>:3: " + pointers + "<stdin>:4: " + division}},
      {{}, true, {1, "> 2\n> > > > 6\n> \n", pointers + division}},
  };
  for (const auto& [arguments, interactive, expected] : cases)
    EXPECT_EQ(run(arguments, lines, interactive), expected) << testing::PrintToString(arguments);
}

TEST_F(Calculator, AnInteractiveSessionReadsThroughTheLineEditor) {
  std::vector<std::string> lines = {"a = 6", "a * 7", "exit", "never"}, prompts;
  std::size_t next = 0;
  std::istringstream unused;
  const cli::LineReader reader = [&](const std::string& prompt, std::string& line) {
    prompts.push_back(prompt);
    line = lines.at(next++);  // never read past "exit"
    return true;
  };
  EXPECT_EQ(runOn({}, unused, true, reader), (Result{0, "6\n42\n\n", ""}));
  EXPECT_EQ(prompts, (std::vector<std::string>{"> ", "> ", "> "}));
  EXPECT_EQ(run({}, "1+1\nquit\n2*3\n", true).out, "> 2\n> \n") << "without the line editor, quit ends too";
}

// The default constants file (absent in the other cases, which is no error)
// or a --constants one; entries whose names or values are not valid are
// skipped with a warning each (in name order, bytes that are not printable
// shown escaped); the file stays as it was.
TEST_F(Calculator, UserConstantsAndThoseThatAreNotValid) {
  const std::string file =
      "Constant\n{\n\tg = 9.81;\n\tbad = abc;\n\tneg = -2;\n\ttwice = --1;\n"
      "\thuge = 1e2000000000;\n\tk\xff\x1b = 1;\n}\n";
  writeBytes(dir.file("Constant"), file);
  const std::string from = dir.file("Constant") + ": warning: constant ";
  EXPECT_EQ(run({"-e", "neg * g", "-e", "bad"}),
            (Result{1, "-19.62\n",  // only the failed input counts
                    from + "bad skipped: its value \"abc\" is not a number\n" + from +
                        "huge skipped: its value \"1e2000000000\" is too big\n" + from +
                        "k\\xff\\x1b skipped: it is not a valid name\n" + from +
                        "twice skipped: its value \"--1\" is not a number\n" +
                        "error: Undefined variable: bad\nbad\n^^^\n"}));
  EXPECT_EQ(readBytes(dir.file("Constant")), file);
  writeBytes(dir.file("other"), "Constant\n{\n\tg = 10;\n}\n");
  EXPECT_EQ(run({"--constants", dir.file("other"), "-e", "2*g"}).out, "20\n") << "instead of the default file";
}

// A constants file that is there but cannot be read is said so at start: the
// default file with a warning (the run goes on without user constants), a
// --constants file with an error before any input. Nothing waits on a FIFO.
TEST_F(Calculator, UnreadableConstantsFilesAreReported) {
  using Case = std::pair<std::string, const char*>;  // a kind of file, the reason it cannot be read
  for (const auto& [kind, reason] : {Case{"damaged", "not a constants file"}, Case{"fifo", "not a regular file"},
                                     Case{"huge", "larger than 64 MiB"}, Case{"folder", "Is a directory"}}) {
    SCOPED_TRACE(kind);
    const std::string path = dir.file("Constant");
    std::filesystem::remove(path);
    if (kind == "folder") std::filesystem::create_directory(path);
    if (kind == "damaged" || kind == "huge") writeBytes(path, "Constant\n{\n\tg = 9.80665;\n\th = 6.626 e-34;\n}\n");
    const int made = kind == "fifo"   ? ::mkfifo(path.c_str(), 0600)
                     : kind == "huge" ? ::truncate(path.c_str(), (64 << 20) + 1)
                                      : 0;
    ASSERT_EQ(made, 0);
    EXPECT_EQ(run({"-e", "1+1"}), (Result{0, "2\n",
                                          "warning: cannot read the constants file " + path + ": " + reason +
                                              "; no user constants are loaded\n"}));
    EXPECT_EQ(run({"--constants", path, "-e", "1+1"}),
              (Result{2, "", "error: cannot read the constants file " + path + ": " + reason + "\n"}));
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
  EXPECT_EQ(runOn({}, in, false), (Result{1, "6\n",
                                          "<stdin>: error: the input could not be read to its end (a line too long "
                                          "for the memory, or a read error)\n"}));
}

std::string quoted(const std::string& text) { return "'" + text + "'"; }

// The program itself, run in `dir` after `environment` with `input` as its
// standard input: its exit status and what it printed where.
Result runProgram(const TempDir& dir, const std::string& environment, const std::string& arguments,
                  const std::string& input) {
  writeBytes(dir.file("stdin"), input);
  const std::string command = "cd " + quoted(dir.path().string()) + " && " + environment + " " + quoted(NUMBRIX_CLI) +
                              " " + arguments + " <stdin >stdout 2>stderr";
  const int status = std::system(command.c_str());
  EXPECT_TRUE(WIFEXITED(status)) << command;
  return {WEXITSTATUS(status), readBytes(dir.file("stdout")), readBytes(dir.file("stderr"))};
}

TEST(Program, ExitStatusesAndStreams) {
  TempDir dir;
  writeBytes(dir.file("good"), "1 + 1\n");
  // Arguments, standard input, the exit status, the output and how the errors start.
  const std::tuple<std::string, std::string, int, std::string, std::string> cases[] = {
      {"--version", "", 0, "numbrix-cli " NUMBRIX_VERSION "\n", ""},
      {"--help", "", 0, cli::helpText(), ""},
      {"-e '7 >> 1' " + quoted(dir.file("good")), "", 0, "4\n2\n", ""},
      {"", "2 *\n", 1, "", "<stdin>:1: error: unexpected token: \\n\n2 *\n   ^\n"},
      {"--constants " + quoted(dir.file("missing")) + " -e 1", "", 2, "",
       "error: cannot read the constants file " + dir.file("missing")},
      {"-q", "", 2, "", "numbrix-cli: unknown option -q\nTry 'numbrix-cli --help'.\n"},
      {"-v --constants", "", 2, "", "numbrix-cli: option --constants needs an argument\n"},
      {"-d 3 -e 2/3 --notation=auto -e '2^(0-40)' --no-limit -e '2^100'", "", 0,
       "0.667\n9.09e-13\n1267650600228229401496703205376\n", ""},
      {"--limit 1e2 -e 101", "", 1, "", "error: The result or temporary value is too big !"},
      {"-d 10000001", "", 2, "", "numbrix-cli: option -d needs a whole number of decimals from 0 to 10000000"},
      {"--limit=1e0", "", 2, "", "numbrix-cli: option --limit needs a power of ten 1eK with K from 1 to"},
      {"--notation sci", "", 2, "", "numbrix-cli: option --notation needs 'auto' or 'fixed', not 'sci'\n"},
      {"--no-limit=yes", "", 2, "", "numbrix-cli: option --no-limit takes no argument\n"},
  };
  for (const auto& [arguments, input, status, out, errStart] : cases) {
    const Result result =
        runProgram(dir, "NUMBRIX_HOME=" + quoted(dir.file("home")) + " XDG_STATE_HOME=" + quoted(dir.file("state")),
                   arguments, input);
    const std::size_t shown = errStart.empty() ? std::string::npos : errStart.size();
    EXPECT_EQ((Result{result.status, result.out, result.err.substr(0, shown)}), (Result{status, out, errStart}))
        << arguments;
  }
  EXPECT_FALSE(std::filesystem::exists(dir.file("state/numbrix/cli_history"))) << "kept only at the prompt";
  // Without a folder for the program's files it says so once, loads no
  // constants and creates nothing where it runs.
  EXPECT_EQ(runProgram(dir, "env -u HOME -u XDG_CONFIG_HOME -u NUMBRIX_HOME", "-e '1+1'", ""),
            (Result{0, "2\n",
                    "numbrix-cli: warning: neither HOME nor XDG_CONFIG_HOME names a folder, so no user constants are "
                    "loaded\n"}));
  EXPECT_FALSE(std::filesystem::exists(dir.file(".config")));
}

}  // namespace
