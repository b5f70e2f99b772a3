#include "cli/Cli.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <set>

#include "cli/LongWork.h"
#include "config/IConfig.h"
#include "expr/IExprParser.h"

namespace cli {

namespace {

// Prints each evaluated statement's answer (or "text = answer").
class AnswerPrinter : public IExprParserLog {
 public:
  AnswerPrinter(std::ostream& out, bool verbose) : out_(out), verbose_(verbose) {}
  void log(const std::string& expressionText, const std::string& answerText) override {
    ProgressLine::wipe();
    if (verbose_) out_ << expressionText << " = ";
    out_ << answerText << '\n';
  }

 private:
  std::ostream& out_;
  bool verbose_;
};

// A message on one line: a line break in it (the text of a line-break token) shows as \n or \r.
std::string printable(const std::string& message) {
  std::string shown;
  for (char c : message) shown += c == '\n' ? std::string("\\n") : c == '\r' ? std::string("\\r") : std::string(1, c);
  return shown;
}

// A run without a terminal stopped by Ctrl+C: it ends at once.
struct Interrupted {};

// Evaluates the inputs of `options` in order, or the lines of standard input
// when there are none; true when all succeeded.
bool evaluateInputs(IExprParser& parser, const Options& options, Streams& streams);

// Evaluates one input; on failure prints the message, after `where` (empty,
// or "FILE:LINE: "), and where it lies. Throws Interrupted when Ctrl+C
// stopped it, or came before it, and the session is not interactive.
bool evaluate(IExprParser& parser, const std::string& input, const std::string& where, const Streams& streams) {
  if (!streams.interactive && interruptRequested()) throw Interrupted{};
  ProgressLine::begin(input, streams.progressFd);
  try {
    parser.parse(input + "\n");
    ProgressLine::end();
    return true;
  } catch (const ExprParserException& e) {
    ProgressLine::end();
    streams.err << where << "error: " << printable(e.what()) << '\n' << errorPointer(input, e.column(), e.endColumn());
    if (e.kind() == ExprParserException::Kind::Cancelled) {
      if (!streams.interactive) throw Interrupted{};
      forgetInterrupts();  // back at the prompt
    }
    return false;
  }
}

bool isBlank(const std::string& line) { return line.find_first_not_of(" \t\r") == std::string::npos; }

// Evaluates each non-blank line of `in`; true when all succeeded. Errors name
// `source` and the line when it is not empty.
bool evaluateLines(IExprParser& parser, std::istream& in, Streams& streams, const std::string& source) {
  bool ok = true;
  std::string line;
  const std::string prompt = "> ";
  for (int number = 1;; ++number) {
    if (streams.interactive && streams.readLine) {
      if (!streams.readLine(prompt, line)) break;
    } else {
      if (streams.interactive) streams.out << prompt << std::flush;
      if (!std::getline(in, line)) break;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (streams.interactive && (line == "quit" || line == "exit")) break;
    if (isBlank(line)) continue;
    const std::string where = source.empty() ? "" : source + ":" + std::to_string(number) + ": ";
    ok = evaluate(parser, line, where, streams) && ok;
  }
  if (streams.interactive) streams.out << '\n';
  // A line that does not fit in memory, or a read error, ends the input: said, never taken for its end.
  if (!(streams.interactive && streams.readLine) && in.bad()) {
    streams.err << (source.empty() ? "" : source + ": ") << "error: the input could not be read to its end (a line "
                << "too long for the memory, or a read error)\n";
    return false;
  }
  return ok;
}

// Opens the file `name` for reading; on failure returns the reason.
std::string openForReading(const std::string& name, std::ifstream& file) {
  std::error_code error;
  if (std::filesystem::is_directory(name, error)) return std::strerror(EISDIR);
  errno = 0;
  file.open(name);
  if (file) return "";
  return errno != 0 ? std::strerror(errno) : "cannot be opened";
}

// Why the constants file at `path` could not be loaded.
std::string constantsFileProblem(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return std::strerror(errno);
  if (S_ISDIR(info.st_mode)) return std::strerror(EISDIR);
  if (!S_ISREG(info.st_mode)) return "not a regular file";
  if (info.st_size > IConfig::kMaxFileBytes) return "larger than 64 MiB";
  if (::access(path.c_str(), R_OK) != 0) return std::strerror(errno);
  return "not a constants file";
}

// A text from a file as it may be printed: bytes that are not printable ASCII
// as \xNN escapes, and cut after 60 characters.
std::string shown(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size() && i < 60; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c < 0x7f) {
      out += static_cast<char>(c);
    } else {
      static constexpr char hex[] = "0123456789abcdef";
      out += {'\\', 'x', hex[c >> 4], hex[c & 15]};
    }
  }
  return text.size() > 60 ? out + "..." : out;
}

}  // namespace

namespace {

// The whole number `text` (digits only) within [low, high], into `value`.
bool wholeNumber(const std::string& text, std::int64_t low, std::int64_t high, std::int64_t& value) {
  if (text.empty() || text.size() > 12 || text.find_first_not_of("0123456789") != std::string::npos) return false;
  value = std::stoll(text);
  return value >= low && value <= high;
}

// Applies the evaluation option `name` with `value` to `settings`; false with
// the reason in `error` for a value out of its range.
bool applySetting(const std::string& name, const std::string& value, EvaluationSettings& settings, std::string& error) {
  std::int64_t number = 0;
  if (name == "-d" || name == "--digits") {
    if (!wholeNumber(value, 0, EvaluationSettings::kMaxDecimals, number)) {
      error = "option " + name + " needs a whole number of decimals from 0 to 10000000, not '" + value + "'";
      return false;
    }
    settings.decimals = static_cast<long>(number);
  } else if (name == "--limit") {
    const bool form = value.size() > 2 && (value.rfind("1e", 0) == 0 || value.rfind("1E", 0) == 0);
    if (!form ||
        !wholeNumber(value.substr(value[2] == '+' ? 3 : 2), 1, EvaluationSettings::kMaxLimitExponent, number)) {
      error = "option --limit needs a power of ten 1eK with K from 1 to 1000000000, not '" + value + "'";
      return false;
    }
    settings.limitExponent = number;
  } else if (value == "auto" || value == "fixed") {  // --notation
    settings.notation = value == "auto" ? EvaluationSettings::Notation::Auto : EvaluationSettings::Notation::Fixed;
  } else {
    error = "option --notation needs 'auto' or 'fixed', not '" + value + "'";
    return false;
  }
  return true;
}

}  // namespace

bool parseOptions(const std::vector<std::string>& arguments, Options& options, std::string& error) {
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    std::string argument = arguments[i];
    std::optional<std::string> value;  // given after "=" in the same argument
    if (const std::size_t equals = argument.find('='); argument.rfind("--", 0) == 0 && equals != std::string::npos) {
      value = argument.substr(equals + 1);
      argument.resize(equals);
    }
    static const std::set<std::string> withValue = {"-e", "--constants", "-d", "--digits", "--limit", "--notation"};
    if (withValue.contains(argument)) {
      if (!value && i + 1 >= arguments.size()) {
        error = "option " + argument + " needs an argument";
        return false;
      }
      const std::string given = value ? *value : arguments[++i];
      if (argument == "-e")
        options.inputs.push_back({Input::Kind::Text, given});
      else if (argument == "--constants")
        options.constantsFile = given;
      else if (!applySetting(argument, given, options.settings, error))
        return false;
    } else if (value) {
      error = "option " + argument + " takes no argument";
      return false;
    } else if (argument == "-v") {
      options.verbose = true;
    } else if (argument == "--no-limit") {
      options.settings.limitExponent.reset();
    } else if (argument == "--help" || argument == "-h") {
      options.help = true;
    } else if (argument == "--version") {
      options.version = true;
    } else if (argument.size() > 1 && argument[0] == '-') {
      error = "unknown option " + argument;
      return false;
    } else {
      options.inputs.push_back({Input::Kind::File, argument});  // "-" too: standard input
    }
  }
  return true;
}

std::string helpText() {
  return R"(Usage: numbrix-cli [OPTION]... [-e TEXT | FILE | -] ...
       numbrix-cli --help | --version

Evaluates statements and prints one answer a line, rounded to 40 decimals
(see -d). Numbers work to P = decimals + 41 significant digits (81 by
default): numbers of up to P digits, and +, -, *, integer powers and
quotients that end, are exact while their results fit P digits; functions,
roots and other quotients take a guard word more. Each -e TEXT is one input
(it may hold several lines); each line of a FILE is one input (blank lines
are skipped), and "-" reads the lines of standard input. Inputs are evaluated
in the order given; without any, the lines of standard input are. Later
inputs see the variables of earlier ones. At a terminal it prompts; "quit",
"exit" or the end of input ends it. There Tab completes names, and Up recalls
lines of earlier sessions too (the last 1000, kept in "cli_history" in
$XDG_STATE_HOME/numbrix or ~/.local/state/numbrix).

  -e TEXT            evaluate TEXT
  -v                 print "statement = answer" instead of the answer
  -d, --digits D     answers with D decimals, 0 to 10000000 (default 40)
  --limit 1eK        refuse results beyond 10^K in magnitude (default 1e33)
  --no-limit         no value limit: integer results are exact at any size,
                     up to a size guard of about 10^9 digits
  --notation auto    also write values below 1e-10 in scientific notation
  --notation fixed   positional answers (the default)
  --constants FILE   user constants from FILE instead of "Constant" in the
                     program's folder ($NUMBRIX_HOME, a portable copy's own
                     folder, or ~/.config/numbrix); entries whose values are
                     not numbers are skipped with a warning
  --help             this text
  --version          the program's version

Statements: an expression, or NAME = expression; "ans" holds the last answer.
  numbers    12.5  1e33  .5   0b101 (binary)  017 (octal)  0xff (hexadecimal)
  operators  + - * / % (remainder)  ^ (power, left to right: 2^-1 is 0.5)
             ! (factorial)
             | (or)  $ (exclusive or)  & (and)  ~ (complement)  << >> (shifts)
             on non-negative integers; brackets ( ) [ ] { }
             Shifts round to the nearest integer: 7 >> 1 is 4.
  constants  PI  E, and the user constants
  functions  sin cos tan asin acos atan sinh cosh tanh asinh acosh atanh
             exp ln lg log(base, x) sqrt abs round floor fix ceil
             deg (degrees to radians); angles are in radians
Results beyond the limit in magnitude are refused. Values with more than 33
integer digits are written in scientific notation with P - 8 significant
digits; integers are written in full.

Errors go to standard error with the input and carets under the cause, as
"FILE:LINE: error: MESSAGE" for a line of a file ("<stdin>" for standard
input that is not a terminal), else as "error: MESSAGE".

Exit status: 0 when all went well, 1 when an input failed or a file could not
be read, 2 for a wrong command line or a --constants FILE that cannot be read.
)";
}

std::string errorPointer(const std::string& input, int column, int endColumn) {
  if (column < 1) return "";
  // Find the characters at `column` and `endColumn`, counting as the lexer does.
  std::size_t start = std::string::npos, end = std::string::npos;
  int at = 1;
  for (std::size_t i = 0; i < input.size(); ++i) {
    if (at == column) start = i;
    if (at <= endColumn) end = i;
    at = columnAfter(at, input[i]);
  }
  if (start == std::string::npos) start = input.size();  // the end of the input
  if (end == std::string::npos) end = start;
  const std::size_t lineStart = input.rfind('\n', start == 0 ? 0 : start - 1);
  const std::size_t first = (start == 0 || lineStart == std::string::npos) ? 0 : lineStart + 1;
  const std::size_t lineEnd = input.find('\n', first);
  const std::string line = input.substr(first, lineEnd == std::string::npos ? std::string::npos : lineEnd - first);
  // The carets stay on the line: at least one, at most to its last character.
  const std::size_t lastOfLine = line.empty() ? first : first + line.size() - 1;
  end = std::max(start, std::min(end, lastOfLine));
  // Tabs stay tabs under the line, so the carets line up however tabs are shown.
  std::string pointer;
  for (std::size_t i = first; i < start && i - first < line.size(); ++i)
    pointer += line[i - first] == '\t' ? '\t' : ' ';
  pointer += std::string(end - start + 1, '^');
  return line + '\n' + pointer + '\n';
}

int run(const Options& options, const std::string& defaultConstants, Streams streams) {
  IExprParser& parser = *IExprParser::instance();
  parser.setSettings(options.settings);  // valid: parseOptions checked each value
  const std::string constants = options.constantsFile.empty() ? defaultConstants : options.constantsFile;
  const IExprParser::ConstantsFile found = parser.loadConstants(constants);
  const bool named = !options.constantsFile.empty();
  if (found == IExprParser::ConstantsFile::Unreadable || (named && found == IExprParser::ConstantsFile::Missing)) {
    streams.err << (named ? "error" : "warning") << ": cannot read the constants file " << constants << ": "
                << constantsFileProblem(constants) << (named ? "" : "; no user constants are loaded") << '\n';
    if (named) return 2;
  }
  for (const auto& [name, text] : parser.skippedConstants()) {
    streams.err << constants << ": warning: constant " << shown(name) << " skipped: ";
    const std::string magnitude = text.rfind('-', 0) == 0 ? text.substr(1) : text;
    if (!parser.isValidName(name))
      streams.err << "it is not a valid name\n";
    else if (parser.isValidNumber(magnitude))
      streams.err << "its value \"" << shown(text) << "\" is too big\n";
    else
      streams.err << "its value \"" << shown(text) << "\" is not a number\n";
  }
  AnswerPrinter printer(streams.out, options.verbose);
  parser.setLog(&printer);
  bool ok = true;
  try {
    ok = evaluateInputs(parser, options, streams);
  } catch (const Interrupted&) {
    parser.setLog(nullptr);
    return 130;
  }
  parser.setLog(nullptr);
  return ok ? 0 : 1;
}

namespace {

bool evaluateInputs(IExprParser& parser, const Options& options, Streams& streams) {
  bool ok = true;
  if (options.inputs.empty()) ok = evaluateLines(parser, streams.in, streams, streams.interactive ? "" : "<stdin>");
  Streams quiet{streams.in, streams.out, streams.err, false, nullptr, streams.progressFd};
  for (const Input& input : options.inputs) {
    if (input.kind == Input::Kind::Text) {
      ok = evaluate(parser, input.value, "", quiet) && ok;
    } else if (input.value == "-") {
      ok = evaluateLines(parser, streams.in, quiet, "<stdin>") && ok;
    } else {
      std::ifstream file;
      const std::string reason = openForReading(input.value, file);
      if (!reason.empty()) {
        streams.err << "error: cannot read " << input.value << ": " << reason << '\n';
        ok = false;
        continue;
      }
      ok = evaluateLines(parser, file, quiet, input.value) && ok;
    }
  }
  return ok;
}

}  // namespace

}  // namespace cli
