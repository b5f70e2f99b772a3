// The keypads of the two windows: each button's id, caption, inserted text,
// caption colour and place, and the insertion itself.
#pragma once

#include <QColor>
#include <QString>
#include <vector>

class QWidget;

struct KeyDefinition {
  int id;
  QString caption;  // "&&" shows a single "&"
  QString text;     // inserted at the caret ("+" and "-" lose their blanks after an "e")
  QColor colour;
  int row, column;  // the place on the keypad
};

// The 53 insertion keys (1000-1052): functions and integer keys on the left
// (six columns), the number pad on the right (columns 7 to 11, OK and ">"
// below it in row 4).
const std::vector<KeyDefinition>& keypad();

// The mini window's 19 insertion keys: the main window's number pad without
// "e" (".", the digits and the operators), moved to columns 0 to 4.
std::vector<KeyDefinition> miniKeypad();

// The text keypad button `id` inserts; `before` is the character before the
// caret (0 when there is none), which decides the signs' blanks.
QString keypadText(int id, QChar before);

// Inserts the text of button `id` into `input` (a QPlainTextEdit or a
// QLineEdit) at its caret, replacing its selection as one undoable edit, and
// gives it the focus.
void insertKeypadTextInto(QWidget* input, int id);

// The caption colours.
inline const QColor kFunctionColour(255, 96, 96);
inline const QColor kDigitColour(0, 0, 255);
inline const QColor kIntegerColour(96, 96, 96);
inline const QColor kOperatorColour(255, 0, 0);
