#include "config/ConfigReader.h"

#include <antlr/ANTLRException.hpp>

#include "ConfigLexer.hpp"
#include "ConfigParser.hpp"

std::unique_ptr<ComponentT<std::string>> readConfig(std::istream& in) {
  try {
    ConfigLexer lexer(in);
    ConfigParser parser(lexer);
    return std::unique_ptr<ComponentT<std::string>>(parser.composite());
  } catch (const antlr::ANTLRException&) {
    return nullptr;
  } catch (const std::exception&) {
    return nullptr;
  }
}
