// The command-line calculator: evaluates inputs with the one evaluator and
// prints their answers, one per evaluated statement.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "expr/EvaluationSettings.h"

namespace cli {

// One input of the command line: a -e text, or a file whose lines are read
// ("-" is standard input).
struct Input {
  enum class Kind { Text, File };
  Kind kind;
  std::string value;  // the text, or the file's name
  bool operator==(const Input&) const = default;
};

struct Options {
  std::vector<Input> inputs;  // -e TEXT and FILE arguments, in command-line order
  std::string constantsFile;  // --constants FILE, or empty for the default
  bool verbose = false;       // -v: "text = answer"
  bool help = false;          // --help
  bool version = false;       // --version
  // -d/--digits D, --limit 1eK or --no-limit, --notation auto|fixed.
  EvaluationSettings settings;
};

// Reads the command line (argv[0] excluded); a long option's value may also
// follow it after "=". Returns false with a message in `error` for an unknown
// option, a missing argument or a value out of its range.
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
  int progressFd = -1;  // a terminal for the progress of long statements (see LongWork.h), or -1
};

// Runs the calculator: loads the user constants (from `options.constantsFile`,
// else from `defaultConstants`), warning on `err` of each entry skipped because
// its value is not a number; then evaluates the inputs in order, each line of
// a file as one input, or without inputs the lines of `in` (with a prompt when
// interactive, until "quit", "exit" or the end). An error of a file's line
// (standard input's when it is not interactive: "<stdin>") is reported as
// "FILE:LINE: error: MESSAGE", others as "error: MESSAGE"; each is followed
// by the errorPointer lines. Ctrl+C (see LongWork.h) stops the statement
// that runs: at the prompt the session goes on, otherwise the run ends.
// Returns 0; 1 when any input failed or a file could not be read; 2, with
// nothing evaluated, when `options.constantsFile` cannot be read; 130 when
// Ctrl+C ended the run.
int run(const Options& options, const std::string& defaultConstants, Streams streams);

}  // namespace cli
