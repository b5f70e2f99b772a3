// The evaluator behind IExprParser.
#pragma once

#include <map>
#include <string>

#include "expr/IExprParser.h"

class IExprParserImpl : public IExprParser {
 public:
  void setDisplayer(IExprParserDisplayer* displayer) override { displayer_ = displayer; }
  void setLog(IExprParserLog* log) override { log_ = log; }
  void parse(const std::string& text) override;
  void removeVariable(const std::string& name) override;
  void clearVariables() override;
  bool getVariable(const std::string& name, bignum::bigfloat& out) override;
  void setVariable(const std::string& name, bignum::bigfloat value) override;
  void loadConstants(const std::string& path) override;
  void saveConstants(const std::string& path) override;
  std::map<std::string, bignum::bigfloat>& constants() override { return constants_; }
  const std::map<std::string, std::string>& skippedConstants() const override { return skippedConstants_; }
  bool isValidName(const std::string& text) override;
  bool isValidNumber(const std::string& text) override;

 private:
  IExprParserDisplayer* displayer_ = nullptr;
  IExprParserLog* log_ = nullptr;
  std::map<std::string, bignum::bigfloat> variables_;
  std::map<std::string, bignum::bigfloat> constants_;
  std::map<std::string, std::string> skippedConstants_;  // name to the value text of the file
};
