// Long statements at the command line: Ctrl+C stops the one running, and a
// statement that runs longer than a second shows its progress on standard
// error when that is a terminal.
#pragma once

#include <string>

namespace cli {

// Makes SIGINT (Ctrl+C) ask the evaluator to stop the computation that runs
// (IExprParser::cancel) and mark the interrupt for interruptRequested().
void catchInterrupts();
// Whether an interrupt came since the last forgetInterrupts().
bool interruptRequested();
void forgetInterrupts();

// The progress line of the statement being evaluated. After a second it shows
// "computing TEXT ... 42%" (a spinner where the library does not know how far
// it is), redrawn in place; it is wiped before anything else is printed, so
// that answers and errors never carry any of it.
class ProgressLine {
 public:
  // From now on shows the progress of `statement` on the terminal `fd` (-1:
  // nowhere).
  static void begin(const std::string& statement, int fd);
  // Wipes the line if it shows; later progress of the same statement shows again.
  static void wipe();
  // Wipes the line and shows nothing more.
  static void end();
};

}  // namespace cli
