// The command-line calculator: evaluates inputs with the one evaluator and
// prints their answers, one per evaluated statement.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace cli {

struct Options {
  std::vector<std::string> expressions;  // -e TEXT, in order
  std::vector<std::string> files;        // FILE ..., read line by line
  std::string constantsFile;             // --constants FILE, or empty for the default
  bool verbose = false;                  // -v: "text = answer"
  bool help = false;                     // --help
};

// Reads the command line (argv[0] excluded). Returns false with a message in
// `error` for an unknown option or a missing argument.
bool parseOptions(const std::vector<std::string>& arguments, Options& options, std::string& error);

// The screenful that --help prints.
std::string helpText();

// The lines that show where an error lies: the line of `input` that holds
// `column` (columns count on across line breaks and to the next multiple of
// 8 plus one at a tab), then carets under the columns from `column` to
// `endColumn` (one caret when endColumn is -1). Empty when column is -1.
std::string errorPointer(const std::string& input, int column, int endColumn);

// Reads one line at the prompt into `line` (without its line end); false at
// the end of input.
using LineReader = std::function<bool(const std::string& prompt, std::string& line)>;

// Where answers and errors go, and whether to prompt (a terminal). An
// interactive session reads through `readLine` when one is given (line
// editing and history), else from `in` after printing the prompt.
struct Streams {
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
  bool interactive = false;
  LineReader readLine = nullptr;
};

// Runs the calculator: loads the user constants (from `options.constantsFile`,
// else from `defaultConstants`), then evaluates the -e texts, else the
// lines of the files, else the lines of `in` (with a prompt when interactive,
// until "quit", "exit" or the end). Returns 0, or 1 when any input failed or
// a file could not be read.
int run(const Options& options, const std::string& defaultConstants, Streams streams);

}  // namespace cli
