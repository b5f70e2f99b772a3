// The keypad of the main window: each button's id, caption, inserted text
// and caption colour.
#pragma once

#include <QColor>
#include <QString>
#include <vector>

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

// The caption colours.
inline const QColor kFunctionColour(255, 96, 96);
inline const QColor kDigitColour(0, 0, 255);
inline const QColor kIntegerColour(96, 96, 96);
inline const QColor kOperatorColour(255, 0, 0);
