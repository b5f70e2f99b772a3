// Arbitrary bytes as statements: each input (a line feed appended) goes to a
// fresh evaluator whose listeners format every value they are told. The only
// way out of parse() that is allowed is ExprParserException; anything else
// escaping ends the run as a crash.
#include <cstddef>
#include <cstdint>
#include <string>

#include "expr/FormatValue.h"
#include "expr/IExprParser.h"

namespace {

class Listeners : public IExprParserDisplayer, public IExprParserLog {
 public:
  void display(const std::string& name, bignum::bigfloat value) override { seen += name + formatValue(value, 40); }
  void remove(const std::string& name) override { seen += name; }
  void clear() override { seen.clear(); }
  void log(const std::string& expression, const std::string& answer) override { seen += expression + answer; }
  std::string seen;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  IExprParser::resetInstance();
  IExprParser* parser = IExprParser::instance();
  Listeners listeners;
  parser->setDisplayer(&listeners);
  parser->setLog(&listeners);
  try {
    parser->parse(std::string(reinterpret_cast<const char*>(data), size) + "\n");
  } catch (const ExprParserException&) {
    // A refusal with its message is the expected answer to bad input.
  }
  parser->setDisplayer(nullptr);
  parser->setLog(nullptr);
  return 0;
}
