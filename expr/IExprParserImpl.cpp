#include "expr/IExprParserImpl.h"

#include <antlr/ANTLRException.hpp>
#include <antlr/RecognitionException.hpp>
#include <antlr/TokenStreamRecognitionException.hpp>
#include <exception>
#include <list>
#include <map>
#include <new>
#include <sstream>

#include "ExprLexer.hpp"
#include "ExprParser.hpp"
#include "bignum/cancel.h"
#include "bignum/progress.h"
#include "bignum/resource_error.h"
#include "config/IConfig.h"
#include "expr/Arithmetic.h"
#include "expr/Constants.h"
#include "expr/ConstantsFile.h"
#include "expr/EvaluationSettings.h"
#include "expr/FormatValue.h"
#include "tools/shared_ptr.h"

namespace {

// The owner that deletes the evaluator at exit, and the plain pointer handed out.
V_odaza::shared_ptr<IExprParserImpl>& owner() {
  static V_odaza::shared_ptr<IExprParserImpl> evaluator;
  return evaluator;
}
IExprParserImpl* current = nullptr;

// Runs `startRule` on a parser over `text`. Lexer, parser and stream live only
// for the call.
template <class StartRule>
void run(const std::string& text, StartRule startRule, IExprParserDisplayer* displayer, IExprParserLog* log,
         ExprParser::Table* variables, const ExprParser::Table* constants, bool dryRun = false) {
  std::istringstream in(text);
  ExprLexer lexer(in);
  ExprParser parser(lexer);
  parser.setTargets(displayer, log, variables, constants);
  parser.setDryRun(dryRun);
  startRule(parser);
}

// Every failure of an evaluation as ExprParserException.
[[noreturn]] void rethrowAsExprParserException() {
  using Kind = ExprParserException::Kind;
  try {
    throw;
  } catch (const antlr::TokenStreamRecognitionException& e) {
    throw ExprParserException(Kind::Character, e.getMessage(), e.getLine(), e.getColumn(), -1, -1);
  } catch (const antlr::RecognitionException& e) {
    throw ExprParserException(Kind::Syntax, e.getMessage(), e.getLine(), e.getColumn(), -1, -1);
  } catch (const antlr::ANTLRException& e) {
    throw ExprParserException(Kind::Syntax, e.toString());
  } catch (const ExprParserException&) {
    throw;
  } catch (const bignum::Cancelled&) {
    throw ExprParserException(Kind::Cancelled, "The computation was interrupted !");
  } catch (const bignum::ResourceError&) {
    throw ExprParserException(Kind::Resources, "Not enough memory or disk space for this computation !");
  } catch (const std::bad_alloc&) {
    throw ExprParserException(Kind::Resources, "Not enough memory or disk space for this computation !");
  } catch (const std::exception& e) {
    throw ExprParserException(Kind::Internal, e.what());
  } catch (...) {
    throw ExprParserException(Kind::Internal, "Unknown exception. Please check the expressions inputted.");
  }
}

// Whether `startRule` accepts `text` with a line end appended; touches no table.
template <class StartRule>
bool accepts(const std::string& text, StartRule startRule) {
  try {
    run(text + "\r\n", startRule, nullptr, nullptr, nullptr, nullptr);
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace

IExprParser* IExprParser::instance() {
  if (current == nullptr) {
    current = new IExprParserImpl();
    owner() = V_odaza::shared_ptr<IExprParserImpl>(current);
  }
  return current;
}

void IExprParser::resetInstance() {
  owner().reset();
  current = nullptr;
  evaluation::setSettings(EvaluationSettings{});
}

void IExprParser::cancel() noexcept { bignum::requestCancel(); }

void IExprParser::setProgressListener(ProgressListener listener) noexcept { bignum::setProgressListener(listener); }

void IExprParserImpl::parse(const std::string& text) {
  bignum::clearCancel();  // a stop asked for before this text began was meant for an earlier one
  try {
    run(
        text, [](ExprParser& parser) { parser.program(); }, displayer_, log_, &variables_, &constants_);
  } catch (...) {
    rethrowAsExprParserException();
  }
}

std::string IExprParserImpl::preview(const std::string& text) {
  // Keeps the answer of the last statement; nothing else hears of the input.
  struct LastAnswer : IExprParserLog {
    std::string answer;
    void log(const std::string&, const std::string& text) override { answer = text; }
  } last;
  bignum::clearCancel();
  try {
    run(
        text, [](ExprParser& parser) { parser.program(); }, nullptr, &last, &variables_, &constants_, true);
  } catch (...) {
    rethrowAsExprParserException();
  }
  return last.answer;
}

std::vector<std::string> IExprParserImpl::variableNames() const {
  std::vector<std::string> names;
  names.reserve(variables_.size());
  for (const auto& entry : variables_) names.push_back(entry.first);
  return names;
}

void IExprParserImpl::removeVariable(const std::string& name) {
  variables_.erase(name);
  if (displayer_ != nullptr) displayer_->remove(name);
}

void IExprParserImpl::clearVariables() {
  variables_.clear();
  if (displayer_ != nullptr) displayer_->clear();
}

bool IExprParserImpl::getVariable(const std::string& name, bignum::bigfloat& out) {
  const auto found = variables_.find(name);
  if (found == variables_.end()) return false;
  out = found->second;
  return true;
}

void IExprParserImpl::setVariable(const std::string& name, bignum::bigfloat value) {
  variables_[name] = value;
  if (displayer_ != nullptr) displayer_->display(name, value);
}

void IExprParserImpl::adoptConstants(const std::map<std::string, std::string>& texts) {
  constants_.clear();
  skippedConstants_.clear();
  for (const auto& [name, text] : texts) {
    if (isValidName(name) && isValidValue(text))
      constants_[name] = constants_file::valueOf(text);
    else
      skippedConstants_[name] = text;
  }
}

std::map<std::string, std::string> IExprParserImpl::constantTexts() const {
  std::map<std::string, std::string> texts = skippedConstants_;
  for (const auto& [name, value] : constants_) texts[name] = constants_file::textOf(value);
  return texts;
}

IExprParser::ConstantsFile IExprParserImpl::loadConstants(const std::string& path) {
  constants_file::Texts texts;
  ConstantsFile found = constants_file::read(path, texts);
  try {
    adoptConstants(texts);
  } catch (const std::exception&) {
    // Out of memory (or of disk space for long values): nothing is loaded,
    // and the file counts as unreadable, so that no save writes over it.
    found = ConstantsFile::Unreadable;
    constants_.clear();
    skippedConstants_.clear();
  }
  constantsFileTexts_ = constantTexts();
  return found;
}

bool IExprParserImpl::setConstants(const std::map<std::string, std::string>& texts) {
  for (const auto& [name, text] : texts)
    if (!isValidName(name) || !isValidValue(text)) return false;
  std::map<std::string, bignum::bigfloat> constants;
  for (const auto& [name, text] : texts) constants[name] = constants_file::valueOf(text);
  constants_ = std::move(constants);
  return true;
}

IExprParser::ConstantsSave IExprParserImpl::saveConstants(const std::string& path) {
  std::erase_if(skippedConstants_, [this](const auto& entry) { return constants_.contains(entry.first); });
  ConstantsSave report;
  constants_file::Texts texts = constantTexts();
  constants_file::Texts now;
  switch (constants_file::read(path, now)) {
    case IConfig::LoadResult::Loaded: {
      // Compared as this evaluator would hold it, so that a value written
      // differently is no change.
      IExprParserImpl reader;
      reader.adoptConstants(now);
      now = reader.constantTexts();
      if (now != constantsFileTexts_) {
        report.merged = true;
        texts = constants_file::merge(constantsFileTexts_, texts, now);
      }
      break;
    }
    case IConfig::LoadResult::Unreadable:
      report.setAsideAs = constants_file::setAside(path);
      if (report.setAsideAs.empty()) return report;
      break;
    case IConfig::LoadResult::Missing:
      break;  // removed by hand: what is held here is written, nothing is dropped
  }
  report.written = constants_file::write(path, texts);
  if (!report.written) {
    if (!report.setAsideAs.empty() && constants_file::putBack(report.setAsideAs, path)) report.setAsideAs.clear();
    return report;
  }
  adoptConstants(texts);
  constantsFileTexts_ = texts;
  return report;
}

const EvaluationSettings& IExprParserImpl::settings() const { return evaluation::settings(); }

bool IExprParserImpl::setSettings(const EvaluationSettings& s) {
  const long digits = arithmetic::literalDigits();
  if (!evaluation::setSettings(s)) return false;
  // The constants are read at the digits of a literal: again at the new ones.
  if (arithmetic::literalDigits() != digits) adoptConstants(constantTexts());
  return true;
}

bool IExprParserImpl::isValidName(const std::string& text) {
  return accepts(text, [](ExprParser& parser) { parser.nameOnly(); });
}

bool IExprParserImpl::isValidNumber(const std::string& text) {
  return accepts(text, [](ExprParser& parser) { parser.numberOnly(); });
}

bool IExprParserImpl::isValidValue(const std::string& text) {
  const std::string magnitude = text.rfind('-', 0) == 0 ? text.substr(1) : text;
  if (magnitude.empty() || !isValidNumber(magnitude)) return false;
  try {
    return !arithmetic::beyondLimit(bignum::bigfloat(magnitude.c_str(), arithmetic::literalDigits()));
  } catch (...) {
    return false;
  }
}
