#include "expr/IExprParserImpl.h"

#include <antlr/ANTLRException.hpp>
#include <antlr/RecognitionException.hpp>
#include <antlr/TokenStreamRecognitionException.hpp>

#include <exception>
#include <list>
#include <map>
#include <sstream>

#include "ExprLexer.hpp"
#include "ExprParser.hpp"
#include "config/IConfig.h"
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
         ExprParser::Table* variables, const ExprParser::Table* constants) {
  std::istringstream in(text);
  ExprLexer lexer(in);
  ExprParser parser(lexer);
  parser.setTargets(displayer, log, variables, constants);
  startRule(parser);
}

// Every failure of an evaluation as ExprParserException.
[[noreturn]] void rethrowAsExprParserException() {
  try {
    throw;
  } catch (const antlr::TokenStreamRecognitionException& e) {
    throw ExprParserException(e.getMessage(), e.getLine(), e.getColumn(), -1, -1);
  } catch (const antlr::RecognitionException& e) {
    throw ExprParserException(e.getMessage(), e.getLine(), e.getColumn(), -1, -1);
  } catch (const antlr::ANTLRException& e) {
    throw ExprParserException(e.toString());
  } catch (const ExprParserException&) {
    throw;
  } catch (const std::exception& e) {
    throw ExprParserException(e.what());
  } catch (...) {
    throw ExprParserException("Unknown exception. Please check the expressions inputted.");
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
}

void IExprParserImpl::parse(const std::string& text) {
  try {
    run(text, [](ExprParser& parser) { parser.program(); }, displayer_, log_, &variables_, &constants_);
  } catch (...) {
    rethrowAsExprParserException();
  }
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

void IExprParserImpl::loadConstants(const std::string& path) {
  constants_.clear();
  skippedConstants_.clear();
  IConfig* store = IConfig::instance(2);
  store->load(path);
  std::list<IConfig::Node*> nodes;
  store->children("/", nodes);
  for (const IConfig::Node* node : nodes) {
    const std::string& text = node->getValue();
    const std::string magnitude = text.rfind('-', 0) == 0 ? text.substr(1) : text;
    if (magnitude.empty() || !isValidNumber(magnitude))
      skippedConstants_[node->getName()] = text;
    else
      constants_[node->getName()] = bignum::bigfloat(text.c_str(), 81);
  }
  store->release();
}

void IExprParserImpl::saveConstants(const std::string& path) {
  std::erase_if(skippedConstants_, [this](const auto& entry) { return constants_.contains(entry.first); });
  std::map<std::string, std::string> texts = skippedConstants_;
  for (const auto& [name, value] : constants_) texts[name] = plainText(value);
  IConfig* store = IConfig::instance(2);
  store->create("Constant");
  for (const auto& [name, text] : texts) store->add("/", name, text);
  store->save(path);
  store->release();
}

bool IExprParserImpl::isValidName(const std::string& text) {
  return accepts(text, [](ExprParser& parser) { parser.nameOnly(); });
}

bool IExprParserImpl::isValidNumber(const std::string& text) {
  return accepts(text, [](ExprParser& parser) { parser.numberOnly(); });
}
