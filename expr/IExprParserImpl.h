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
  std::string preview(const std::string& text) override;
  std::vector<std::string> variableNames() const override;
  void removeVariable(const std::string& name) override;
  void clearVariables() override;
  bool getVariable(const std::string& name, bignum::bigfloat& out) override;
  void setVariable(const std::string& name, bignum::bigfloat value) override;
  ConstantsFile loadConstants(const std::string& path) override;
  ConstantsSave saveConstants(const std::string& path) override;
  bool setConstants(const std::map<std::string, std::string>& texts) override;
  const std::map<std::string, bignum::bigfloat>& constants() const override { return constants_; }
  const std::map<std::string, std::string>& skippedConstants() const override { return skippedConstants_; }
  const EvaluationSettings& settings() const override;
  bool setSettings(const EvaluationSettings& s) override;
  bool isValidName(const std::string& text) override;
  bool isValidNumber(const std::string& text) override;
  bool isValidValue(const std::string& text) override;

 private:
  IExprParserDisplayer* displayer_ = nullptr;
  IExprParserLog* log_ = nullptr;
  std::map<std::string, bignum::bigfloat> variables_;
  std::map<std::string, bignum::bigfloat> constants_;
  std::map<std::string, std::string> skippedConstants_;  // name to the value text of the file
  // What the constants file held when it was last read or written here, each
  // valid value in positional notation (so that it compares with constants_).
  std::map<std::string, std::string> constantsFileTexts_;

  // Replaces the constants and skipped entries by the entries of `texts`.
  void adoptConstants(const std::map<std::string, std::string>& texts);
  // The constants as texts, with the skipped entries that no constant replaced.
  std::map<std::string, std::string> constantTexts() const;
};
