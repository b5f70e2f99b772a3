#include "ui/Settings.h"

#include <QByteArray>
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <list>
#include <optional>
#include <string>

#include "config/IConfig.h"
#include "expr/EvaluationSettings.h"
#include "expr/IExprParser.h"
#include "ui/AppState.h"

namespace settings {

QString defaultSite() { return QStringLiteral("https://www.example.org/numbrix"); }
QString defaultEmail() { return QStringLiteral("numbrix@example.org"); }

namespace {

IConfig* store() { return IConfig::instance(IConfig::SettingsStore); }

// `text` as a run of decimal digits (no sign, no blanks) within [low, high].
std::optional<std::int64_t> wholeNumber(const std::string& text, std::int64_t low, std::int64_t high) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < low || value > high) return std::nullopt;
  return value;
}

// "true" or "false", exactly.
std::optional<bool> flag(const std::string& text) {
  if (text == "true") return true;
  if (text == "false") return false;
  return std::nullopt;
}

// The value limit's exponent of "1eK", or none for "off"; nothing when `text` is neither.
std::optional<std::optional<std::int64_t>> valueLimit(const std::string& text) {
  if (text == "off") return std::optional<std::int64_t>();
  if (text.size() < 3 || text.compare(0, 2, "1e") != 0) return std::nullopt;
  const auto exponent = wholeNumber(text.substr(2), 1, EvaluationSettings::kMaxLimitExponent);
  if (!exponent) return std::nullopt;
  return exponent;
}

// Standard base64 of at least one byte, padded or not, in the padded form
// QByteArray::toBase64 gives; empty when `text` is anything else.
std::string paddedBase64(const std::string& text) {
  const auto decoded =
      QByteArray::fromBase64Encoding(QByteArray::fromStdString(text), QByteArray::AbortOnBase64DecodingErrors);
  if (!decoded || decoded.decoded.isEmpty()) return {};
  return decoded.decoded.toBase64().toStdString();
}

// Sets the value of the key `key` ("/name"), adding it under the root when the store has no such key.
void put(const char* key, const std::string& value) {
  IConfig* config = store();
  const std::string name = std::string(key).substr(1);
  std::list<IConfig::Node*> nodes;
  config->children("/", nodes);
  if (std::any_of(nodes.begin(), nodes.end(), [&name](const IConfig::Node* node) { return node->getName() == name; }))
    config->set(key, value);
  else
    config->add("/", name, value);
}

void putLayout(const char* key, const std::string& base64) {
  std::string text = paddedBase64(base64);
  while (!text.empty() && text.back() == '=') text.pop_back();
  if (!text.empty()) put(key, text);
}

}  // namespace

void loadUserSettings(AppState& state) {
  IConfig* config = store();
  const EvaluationSettings defaults;
  EvaluationSettings evaluation = IExprParser::instance()->settings();
  evaluation.decimals = static_cast<long>(
      wholeNumber(config->get(kAnswerDecimals), 0, EvaluationSettings::kMaxDecimals).value_or(defaults.decimals));
  evaluation.limitExponent = valueLimit(config->get(kValueLimit)).value_or(defaults.limitExponent);
  IExprParser::instance()->setSettings(evaluation);

  const AppState fresh;
  state.keepHistory = flag(config->get(kKeepHistory)).value_or(fresh.keepHistory);
  state.enterEvaluates = flag(config->get(kEnterEvaluates)).value_or(fresh.enterEvaluates);
  state.mainGeometry = paddedBase64(config->get(kMainWindowGeometry));
  state.splitterState = paddedBase64(config->get(kSplitterState));
}

void saveUserSettings(const AppState& state) {
  const EvaluationSettings& evaluation = IExprParser::instance()->settings();
  put(kAnswerDecimals, std::to_string(evaluation.decimals));
  put(kValueLimit, evaluation.limitExponent ? "1e" + std::to_string(*evaluation.limitExponent) : "off");
  put(kKeepHistory, state.keepHistory ? "true" : "false");
  put(kEnterEvaluates, state.enterEvaluates ? "true" : "false");
  putLayout(kMainWindowGeometry, state.mainGeometry);
  putLayout(kSplitterState, state.splitterState);
}

}  // namespace settings
