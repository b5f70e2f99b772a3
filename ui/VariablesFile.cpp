#include "ui/VariablesFile.h"

#include <list>
#include <map>
#include <new>

#include "config/IConfig.h"
#include "expr/Arithmetic.h"
#include "expr/FormatValue.h"
#include "expr/IExprParser.h"

bool exportVariables(const std::string& path, const std::vector<std::string>& names) {
  IExprParser* parser = IExprParser::instance();
  IConfig* store = IConfig::instance(IConfig::VariablesStore);
  store->create("Variables");
  for (const std::string& name : names) {
    bignum::bigfloat value(0);
    parser->getVariable(name, value);
    store->add("/", name, plainText(value));
  }
  const bool saved = store->save(path) == ReplaceResult::Replaced;
  store->release();
  return saved;
}

int importVariables(const std::string& path) {
  IExprParser* parser = IExprParser::instance();
  IConfig* store = IConfig::instance(IConfig::VariablesStore);
  try {
    if (store->load(path) != IConfig::LoadResult::Loaded) {
      store->release();
      return kUnreadable;
    }
    std::list<IConfig::Node*> nodes;
    store->children("/", nodes);
    int skipped = 0;
    for (const IConfig::Node* node : nodes) {
      const std::string& text = node->getValue();
      if (!parser->isValidName(node->getName()) || !parser->isValidValue(text)) {
        ++skipped;
        continue;
      }
      parser->setVariable(node->getName(), bignum::bigfloat(text.c_str(), arithmetic::literalDigits()));
    }
    store->release();
    return skipped;
  } catch (const std::bad_alloc&) {
    store->release();
    return kUnreadable;
  }
}
