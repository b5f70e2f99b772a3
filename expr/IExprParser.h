// The expression evaluator: the one entry point of the expression language.
// It evaluates texts of statements, keeps the variables and the user
// constants, tells its listeners of evaluated statements and changed
// variables, and reports every failure as ExprParserException.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "bignum/bigfloat.h"
#include "config/IConfig.h"
#include "expr/EvaluationSettings.h"
#include "expr/ExprParserException.h"
#include "expr/IExprParserDisplayer.h"
#include "expr/IExprParserLog.h"

class IExprParser {
 public:
  // The one evaluator, made on first use (empty tables, no listeners) and
  // destroyed at exit.
  static IExprParser* instance();
  // Destroys the evaluator, so that the next instance() makes a fresh one
  // (for tests; pointers to the old one become invalid).
  static void resetInstance();

  // Asks the evaluation running now to stop (see parse()). Async-signal safe
  // and callable from any thread, also while parse() runs on another.
  static void cancel() noexcept;
  // The listener of the progress of long evaluations: called on the thread
  // that evaluates, about every 50 ms once a computation has run that long,
  // with a stage name of the number library and the fraction done (-1 when
  // unknown); it must return quickly. Null removes it. From any thread.
  using ProgressListener = void (*)(const char* stage, double fraction);
  static void setProgressListener(ProgressListener listener) noexcept;

  virtual ~IExprParser() = default;
  // The listeners, not owned; null switches the notifications off.
  virtual void setDisplayer(IExprParserDisplayer* displayer) = 0;
  virtual void setLog(IExprParserLog* log) = 0;
  // Evaluates the statements of `text`, which must end with a line break:
  // one log call per statement, then one display call per variable the text
  // assigned (names in order, "ans" for plain expressions). Throws
  // ExprParserException on the first error; the variables are then as before
  // (statements before the error stay logged). A stop asked for through
  // cancel() (from a signal handler or another thread) while
  // it runs ends it so, with the kind Cancelled; one asked for before it
  // began is forgotten.
  virtual void parse(const std::string& text) = 0;
  // Evaluates `text` as parse() does, throwing the same errors and stopping
  // on cancel() alike, but assigns no variable and tells no listener.
  // Returns the answer text of its last statement (what the log would show).
  virtual std::string preview(const std::string& text) = 0;
  // The names of the variables, in byte order.
  virtual std::vector<std::string> variableNames() const = 0;
  // Removes a variable (if there is one) and tells the displayer either way.
  virtual void removeVariable(const std::string& name) = 0;
  // Removes all variables and tells the displayer.
  virtual void clearVariables() = 0;
  // The variable's value into `out` (true), or false with `out` unchanged; constants are not searched.
  virtual bool getVariable(const std::string& name, bignum::bigfloat& out) = 0;
  // Sets a variable without any check and tells the displayer.
  virtual void setVariable(const std::string& name, bignum::bigfloat value) = 0;
  // What loading the constants file found: the store's own account of it.
  using ConstantsFile = IConfig::LoadResult;
  // Replaces the user constants by those of the constants file at `path`
  // (see constants_file); a missing or unreadable
  // file leaves none, and says which. An entry that fails isValidName() or
  // isValidValue() is skipped and kept in skippedConstants(). The displayer
  // is not told.
  virtual ConstantsFile loadConstants(const std::string& path) = 0;

  // What saveConstants() did.
  struct ConstantsSave {
    bool written = false;    // the file now holds the constants
    bool merged = false;     // the file had changed since it was read or written here; its changes were merged
    std::string setAsideAs;  // an unreadable file was moved there before writing (empty: nothing was moved)
  };
  // Writes the user constants to `path` as constants_file::write does, and the
  // skipped entries with their texts unchanged, except those that a constant
  // of the same name has replaced (they are forgotten).
  // - When the file changed since this evaluator last read or wrote it, the
  //   changes are merged first: names another program added, changed or
  //   removed are taken from the file, except those whose constant changed
  //   here, which keep this evaluator's value (or stay removed). The
  //   constants then include what was taken from the file.
  // - A file that exists but cannot be read is never written over: it is
  //   moved aside first (see constants_file::setAside) and, when the new file
  //   cannot be written, moved back.
  // A file that is not written (read-only, full disk, unwritable folder) keeps
  // what it held, and the constants stay as they are.
  virtual ConstantsSave saveConstants(const std::string& path) = 0;
  // Replaces the user constants by `texts` (name to value text, each read as
  // the constants file's values are). Refuses the whole set, changing nothing,
  // when an entry fails isValidName() or isValidValue(). The skipped entries
  // of the loaded file stay; saveConstants() forgets those a constant replaced.
  virtual bool setConstants(const std::map<std::string, std::string>& texts) = 0;
  // The user constants.
  virtual const std::map<std::string, bignum::bigfloat>& constants() const = 0;
  // The entries of the last loaded constants file that were skipped, by name,
  // with their value texts as the file has them (the last of a repeated name).
  virtual const std::map<std::string, std::string>& skippedConstants() const = 0;
  // The evaluation settings in force: answer decimals, value limit, notation
  // (see expr/EvaluationSettings.h). They belong to the one evaluator:
  // resetInstance() puts the defaults back.
  virtual const EvaluationSettings& settings() const = 0;
  // Puts `s` in force for the evaluations that follow; false, changing
  // nothing, when a field lies outside its range. The user constants are read
  // again at the new precision.
  virtual bool setSettings(const EvaluationSettings& s) = 0;
  // Whether `text` is one name, or one decimal number (never throws).
  virtual bool isValidName(const std::string& text) = 0;
  virtual bool isValidNumber(const std::string& text) = 0;
  // Whether `text` may be the value of a variable or constant that comes in
  // from outside: a decimal number after at most one "-", whose magnitude is
  // at most VALUE_LIMIT, or within the number library's range when the limit
  // is off (never throws).
  virtual bool isValidValue(const std::string& text) = 0;
};
