#include "ui/VariablesFile.h"

#include <list>
#include <map>

#include "config/IConfig.h"
#include "config/ReadBack.h"
#include "expr/Constants.h"
#include "expr/FormatValue.h"
#include "expr/IExprParser.h"

namespace {

// The store that variables files pass through.
constexpr int kStore = 1;

bool isVariableValue(IExprParser* parser, const std::string& text) {
  const std::string magnitude = text.rfind('-', 0) == 0 ? text.substr(1) : text;
  if (magnitude.empty() || !parser->isValidNumber(magnitude)) return false;
  return !(abs(bignum::bigfloat(magnitude.c_str(), 81)) > VALUE_LIMIT);
}

}  // namespace

bool exportVariables(const std::string& path, const std::vector<std::string>& names) {
  IExprParser* parser = IExprParser::instance();
  IConfig* store = IConfig::instance(kStore);
  store->create("Variables");
  std::map<std::string, std::string> written;
  for (const std::string& name : names) {
    bignum::bigfloat value(0);
    parser->getVariable(name, value);
    written[name] = plainText(value);
    store->add("/", name, written[name]);
  }
  store->save(path);
  store->release();
  // Read back: the store reports no failure of its own.
  return fileHoldsLeaves(path, written, kStore);
}

int importVariables(const std::string& path) {
  IExprParser* parser = IExprParser::instance();
  IConfig* store = IConfig::instance(kStore);
  store->load(path);
  std::list<IConfig::Node*> nodes;
  store->children("/", nodes);
  int skipped = 0;
  for (const IConfig::Node* node : nodes) {
    const std::string& text = node->getValue();
    if (!parser->isValidName(node->getName()) || !isVariableValue(parser, text)) {
      ++skipped;
      continue;
    }
    parser->setVariable(node->getName(), bignum::bigfloat(text.c_str(), 81));
  }
  store->release();
  return skipped;
}
