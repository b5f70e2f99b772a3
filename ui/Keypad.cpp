#include "ui/Keypad.h"

#include <QLineEdit>
#include <QPlainTextEdit>

const std::vector<KeyDefinition>& keypad() {
  static const std::vector<KeyDefinition> keys = [] {
    std::vector<KeyDefinition> all;
    const auto row = [&all](int r, int firstColumn, std::initializer_list<std::pair<int, const char*>> captions,
                            std::initializer_list<const char*> texts, const QColor& colour) {
      int column = firstColumn;
      auto text = texts.begin();
      for (const auto& [id, caption] : captions)
        all.push_back({id, QString::fromLatin1(caption), QString::fromLatin1(*text++), colour, r, column++});
    };
    // Functions.
    row(0, 0, {{1029, "sin"}, {1030, "cos"}, {1031, "tan"}, {1035, "ln"}, {1036, "lg"}, {1038, "exp"}},
        {"sin(", "cos(", "tan(", "ln(", "lg(", "exp("}, kFunctionColour);
    row(1, 0, {{1032, "asin"}, {1033, "acos"}, {1034, "atan"}, {1039, "sqrt"}, {1040, "deg"}, {1052, "abs"}},
        {"asin(", "acos(", "atan(", "sqrt(", "deg(", "abs("}, kFunctionColour);
    row(2, 0, {{1050, "round"}, {1047, "floor"}, {1048, "fix"}, {1049, "ceil"}, {1037, "!"}, {1051, "="}},
        {"round(", "floor(", "fix(", "ceil(", "!", " = "}, kFunctionColour);
    // Integers and their bits.
    row(3, 0, {{1020, "A"}, {1021, "B"}, {1022, "C"}, {1023, "D"}, {1024, "E"}, {1025, "F"}},
        {"A", "B", "C", "D", "E", "F"}, kIntegerColour);
    row(4, 0, {{1027, "0b"}, {1028, "0x"}, {1043, "&&"}, {1044, "|"}, {1045, "$"}, {1046, "~"}},
        {"0b", "0x", " & ", " | ", " $ ", "~"}, kIntegerColour);
    row(5, 0, {{1042, "<<"}, {1041, ">>"}, {1026, "PI"}}, {" << ", " >> ", "PI"}, kIntegerColour);
    // The number pad.
    row(0, 7, {{1009, "7"}, {1010, "8"}, {1011, "9"}}, {"7", "8", "9"}, kDigitColour);
    row(0, 10, {{1015, "/"}, {1017, "("}}, {" / ", "("}, kOperatorColour);
    row(1, 7, {{1006, "4"}, {1007, "5"}, {1008, "6"}}, {"4", "5", "6"}, kDigitColour);
    row(1, 10, {{1014, "*"}, {1018, ")"}}, {" * ", ")"}, kOperatorColour);
    row(2, 7, {{1003, "1"}, {1004, "2"}, {1005, "3"}}, {"1", "2", "3"}, kDigitColour);
    row(2, 10, {{1013, "-"}, {1019, "^"}}, {" - ", " ^ "}, kOperatorColour);
    row(3, 7, {{1002, "0"}, {1000, "."}, {1001, "e"}}, {"0", ".", "e"}, kDigitColour);
    row(3, 10, {{1012, "+"}, {1016, "%"}}, {" + ", " % "}, kOperatorColour);
    return all;
  }();
  return keys;
}

std::vector<KeyDefinition> miniKeypad() {
  std::vector<KeyDefinition> keys;
  for (KeyDefinition key : keypad()) {
    if (key.column < 7 || key.id == 1001) continue;
    key.column -= 7;
    keys.push_back(key);
  }
  return keys;
}

QString keypadText(int id, QChar before) {
  if ((id == 1012 || id == 1013) && (before == QLatin1Char('e') || before == QLatin1Char('E')))
    return id == 1012 ? QStringLiteral("+") : QStringLiteral("-");
  for (const KeyDefinition& key : keypad())
    if (key.id == id) return key.text;
  return QString();
}

void insertKeypadTextInto(QWidget* input, int id) {
  if (auto* lines = qobject_cast<QPlainTextEdit*>(input)) {
    const int start = lines->textCursor().selectionStart();
    const QString text = lines->toPlainText();
    const QString inserted = keypadText(id, start > 0 && start <= text.size() ? text[start - 1] : QChar());
    if (!inserted.isEmpty()) lines->insertPlainText(inserted);
  } else if (auto* line = qobject_cast<QLineEdit*>(input)) {
    const int start = line->hasSelectedText() ? line->selectionStart() : line->cursorPosition();
    const QString text = line->text();
    const QString inserted = keypadText(id, start > 0 && start <= text.size() ? text[start - 1] : QChar());
    if (!inserted.isEmpty()) line->insert(inserted);
  }
  input->setFocus();
}
