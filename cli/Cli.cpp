#include "cli/Cli.h"

#include <algorithm>
#include <fstream>
#include <iostream>

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

// Evaluates one input; on failure prints the message and where it lies.
bool evaluate(IExprParser& parser, const std::string& input, std::ostream& err) {
  try {
    parser.parse(input + "\n");
    return true;
  } catch (const ExprParserException& e) {
    err << "error: " << printable(e.what()) << '\n' << errorPointer(input, e.column(), e.endColumn());
    return false;
  }
}

bool isBlank(const std::string& line) { return line.find_first_not_of(" \t\r") == std::string::npos; }

// Evaluates each non-blank line of `in`; true when all succeeded.
bool evaluateLines(IExprParser& parser, std::istream& in, Streams& streams) {
  bool ok = true;
  std::string line;
  const std::string prompt = "> ";
  for (;;) {
    if (streams.interactive && streams.readLine) {
      if (!streams.readLine(prompt, line)) break;
    } else {
      if (streams.interactive) streams.out << prompt << std::flush;
      if (!std::getline(in, line)) break;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (streams.interactive && (line == "quit" || line == "exit")) break;
    if (isBlank(line)) continue;
    ok = evaluate(parser, line, streams.err) && ok;
  }
  if (streams.interactive) streams.out << '\n';
  return ok;
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
      (argument == "-e" ? options.expressions.push_back(arguments[++i]) : void(options.constantsFile = arguments[++i]));
    } else if (argument == "-v") {
      options.verbose = true;
    } else if (argument == "--help" || argument == "-h") {
      options.help = true;
    } else if (argument.size() > 1 && argument[0] == '-') {
      error = "unknown option " + argument;
      return false;
    } else {
      options.files.push_back(argument);
    }
  }
  return true;
}

std::string helpText() {
  return R"(Usage: numbrix-cli [-v] [--constants FILE] -e TEXT [-e TEXT ...]
       numbrix-cli [-v] [--constants FILE] [FILE ...]

Evaluates statements to 81 significant digits and prints one answer a line,
rounded to 40 decimals. Each -e TEXT is one input (it may hold several lines);
without -e, each line of the files, or of standard input, is one input (blank
lines are skipped). Later inputs see the variables of earlier ones. At a
terminal it prompts; "quit", "exit" or the end of input ends it.

  -v                 print "statement = answer" instead of the answer
  --constants FILE   user constants from FILE instead of "Constant" in the
                     program's folder ($NUMBRIX_HOME, a portable copy's own
                     folder, or ~/.config/numbrix)
  --help             this text

Statements: an expression, or NAME = expression; "ans" holds the last answer.
  numbers    12.5  1e33  .5   0b101 (binary)  017 (octal)  0xff (hexadecimal)
  operators  + - * / % (remainder)  ^ (power, left to right)  ! (factorial)
             | (or)  $ (exclusive or)  & (and)  ~ (complement)  << >> (shifts)
             on non-negative integers; brackets ( ) [ ] { }
  constants  PI  E, and the user constants
  functions  sin cos tan asin acos atan sinh cosh tanh asinh acosh atanh
             exp ln lg log(base, x) sqrt abs round floor fix ceil
             deg (degrees to radians); angles are in radians
Results beyond 1e33 in magnitude are refused.

Errors go to standard error with the input and carets under the cause; the
exit status is 1 when any input failed.
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
    at = input[i] == '\t' ? ((at - 1) / 8 + 1) * 8 + 1 : at + 1;
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
  for (std::size_t i = first; i < start && i - first < line.size(); ++i) pointer += line[i - first] == '\t' ? '\t' : ' ';
  pointer += std::string(end - start + 1, '^');
  return line + '\n' + pointer + '\n';
}

int run(const Options& options, const std::string& defaultConstants, Streams streams) {
  IExprParser& parser = *IExprParser::instance();
  AnswerPrinter printer(streams.out, options.verbose);
  parser.setLog(&printer);
  parser.loadConstants(options.constantsFile.empty() ? defaultConstants : options.constantsFile);
  bool ok = true;
  if (!options.expressions.empty()) {
    for (const std::string& text : options.expressions) ok = evaluate(parser, text, streams.err) && ok;
  } else if (!options.files.empty()) {
    Streams quiet{streams.in, streams.out, streams.err, false, nullptr};
    for (const std::string& name : options.files) {
      std::ifstream file(name);
      if (!file) {
        streams.err << "error: cannot read " << name << '\n';
        ok = false;
        continue;
      }
      ok = evaluateLines(parser, file, quiet) && ok;
    }
  } else {
    ok = evaluateLines(parser, streams.in, streams);
  }
  parser.setLog(nullptr);
  return ok ? 0 : 1;
}

}  // namespace cli
