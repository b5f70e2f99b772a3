// A fresh evaluator per test, with listeners that record what they are told.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "expr/FormatValue.h"
#include "expr/IExprParser.h"

class RecordingListeners : public IExprParserLog, public IExprParserDisplayer {
 public:
  void log(const std::string& expressionText, const std::string& answerText) override {
    calls.push_back("log " + expressionText + " => " + answerText);
  }
  void display(const std::string& name, bignum::bigfloat value) override {
    calls.push_back("display " + name + " " + formatValue(value, 40));
  }
  void remove(const std::string& name) override { calls.push_back("remove " + name); }
  void clear() override { calls.push_back("clear"); }

  std::vector<std::string> calls;
};

class Evaluator : public ::testing::Test {
 protected:
  void SetUp() override {
    IExprParser::resetInstance();
    parser = IExprParser::instance();
    parser->setLog(&listeners);
    parser->setDisplayer(&listeners);
  }
  void TearDown() override { IExprParser::resetInstance(); }

  // The error of evaluating `input` (a line feed appended): message and span
  // as "message @line:column-endLine:endColumn", or "" when there is none.
  std::string errorOf(const std::string& input) {
    try {
      parser->parse(input + "\n");
    } catch (const ExprParserException& e) {
      lastKind = e.kind();
      return std::string(e.what()) + " @" + std::to_string(e.line()) + ":" + std::to_string(e.column()) + "-" +
             std::to_string(e.endLine()) + ":" + std::to_string(e.endColumn());
    }
    return "";
  }
  // The answer of one statement.
  std::string answerOf(const std::string& input) {
    listeners.calls.clear();
    const std::string error = errorOf(input);
    if (!error.empty()) return "error: " + error;
    for (const std::string& call : listeners.calls)
      if (call.rfind("log ", 0) == 0) return call.substr(call.find(" => ") + 4);
    return "(nothing logged)";
  }

  IExprParser* parser = nullptr;
  RecordingListeners listeners;
  // The kind of the error errorOf last caught.
  ExprParserException::Kind lastKind = ExprParserException::Kind::Internal;
};
