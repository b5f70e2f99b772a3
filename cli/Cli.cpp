#include "cli/Cli.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "config/IConfig.h"
#include "expr/IExprParser.h"

namespace cli {

namespace {

// Prints each evaluated statement's answer (or "text = answer").
class AnswerPrinter : public IExprParserLog {
 public:
  AnswerPrinter(std::ostream& out, bool verbose) : out_(out), verbose_(verbose) {}
  void log(const std::string& expressionText, const std::string& answerText) override {
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

// Evaluates one input; on failure prints the message, after `where` (empty,
// or "FILE:LINE: "), and where it lies.
bool evaluate(IExprParser& parser, const std::string& input, const std::string& where, std::ostream& err) {
  try {
    parser.parse(input + "\n");
    return true;
  } catch (const ExprParserException& e) {
    err << where << "error: " << printable(e.what()) << '\n' << errorPointer(input, e.column(), e.endColumn());
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
    ok = evaluate(parser, line, where, streams.err) && ok;
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

bool parseOptions(const std::vector<std::string>& arguments, Options& options, std::string& error) {
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const bool hasNext = i + 1 < arguments.size();
    if (argument == "-e" || argument == "--constants") {
      if (!hasNext) {
        error = "option " + argument + " needs an argument";
        return false;
      }
      if (argument == "-e")
        options.inputs.push_back({Input::Kind::Text, arguments[++i]});
      else
        options.constantsFile = arguments[++i];
    } else if (argument == "-v") {
      options.verbose = true;
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
  return R"(Usage: numbrix-cli [-v] [--constants FILE] [-e TEXT | FILE | -] ...
       numbrix-cli --help | --version

Evaluates statements to 81 significant digits and prints one answer a line,
rounded to 40 decimals. Numbers of up to 81 digits, and +, -, *, integer
powers and quotients that end, are exact while their results fit 81 digits;
functions, roots and other quotients take 90. Each -e TEXT is one input (it
may hold several lines); each line of a FILE is one input (blank lines are
skipped), and "-" reads the lines of standard input. Inputs are evaluated in
the order given; without any, the lines of standard input are. Later inputs
see the variables of earlier ones. At a terminal it prompts; "quit", "exit"
or the end of input ends it.

  -e TEXT            evaluate TEXT
  -v                 print "statement = answer" instead of the answer
  --constants FILE   user constants from FILE instead of "Constant" in the
                     program's folder ($NUMBRIX_HOME, a portable copy's own
                     folder, or ~/.config/numbrix); entries whose values are
                     not numbers are skipped with a warning
  --help             this text
  --version          the program's version

Statements: an expression, or NAME = expression; "ans" holds the last answer.
  numbers    12.5  1e33  .5   0b101 (binary)  017 (octal)  0xff (hexadecimal)
  operators  + - * / % (remainder)  ^ (power, left to right)  ! (factorial)
             | (or)  $ (exclusive or)  & (and)  ~ (complement)  << >> (shifts)
             on non-negative integers; brackets ( ) [ ] { }
             Shifts round to the nearest integer: 7 >> 1 is 4.
  constants  PI  E, and the user constants
  functions  sin cos tan asin acos atan sinh cosh tanh asinh acosh atanh
             exp ln lg log(base, x) sqrt abs round floor fix ceil
             deg (degrees to radians); angles are in radians
Results beyond 1e33 in magnitude are refused.

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
  if (options.inputs.empty()) ok = evaluateLines(parser, streams.in, streams, streams.interactive ? "" : "<stdin>");
  Streams quiet{streams.in, streams.out, streams.err, false, nullptr};
  for (const Input& input : options.inputs) {
    if (input.kind == Input::Kind::Text) {
      ok = evaluate(parser, input.value, "", streams.err) && ok;
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
  parser.setLog(nullptr);
  return ok ? 0 : 1;
}

}  // namespace cli
