// Colours that follow the desktop theme: the contrast of two colours as the
// accessibility guidelines measure it, a nominal colour moved just far enough
// in lightness to be readable on a background, and the windows' own colours
// derived from a palette.
#pragma once

#include <QColor>

class QPalette;

// The contrast ratio of `a` and `b` (alpha ignored): (L1 + 0.05) / (L2 + 0.05)
// of their relative luminances, lighter over darker, from 1 (the same
// luminance) to 21 (black and white).
double contrastRatio(const QColor& a, const QColor& b);

// The colour with the hue and saturation of `nominal` whose lightness is the
// nearest to that of `nominal` and whose contrast with `background` is at
// least `minimum`: darker on a background that black contrasts with more,
// lighter on one where white does. `nominal` itself when it already
// qualifies. The answer has 8-bit channels and the alpha of `nominal`. Any
// minimum up to 4.58 (the square root of 21) is always reached, by black or
// white at worst; a larger one that no colour reaches gives black or white,
// whichever contrasts more.
QColor readableOn(const QColor& nominal, const QColor& background, double minimum = 4.5);

// The main window's message line: red, readable (4.5:1) on the palette's
// window colour.
QColor messageColour(const QPalette& palette);

// The bar between the two lists: the palette's mid or dark colour, whichever
// stands out more from the window colour, moved to at least 3:1 against it
// where the theme's own is fainter.
QColor splitterBarColour(const QPalette& palette);
