#include "ui/ThemeColours.h"

#include <QPalette>
#include <algorithm>
#include <cmath>

namespace {

// The relative luminance of `c`: its sRGB channels made linear, then weighted.
double luminance(const QColor& c) {
  const auto linear = [](float channel) {
    const double v = channel;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
  };
  const QColor rgb = c.toRgb();
  return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
}

}  // namespace

double contrastRatio(const QColor& a, const QColor& b) {
  const double la = luminance(a);
  const double lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor readableOn(const QColor& nominal, const QColor& background, double minimum) {
  if (contrastRatio(nominal, background) >= minimum) return nominal;
  const bool darker = contrastRatio(Qt::black, background) >= contrastRatio(Qt::white, background);
  const QColor extreme = darker ? QColor(Qt::black) : QColor(Qt::white);
  if (contrastRatio(extreme, background) < minimum) return extreme;

  float hue = 0, saturation = 0, lightness = 0, alpha = 1;
  nominal.toHsl().getHslF(&hue, &saturation, &lightness, &alpha);
  const double backgroundLuminance = luminance(background);
  // The colour at lightness `l`, as painted (8 bits a channel).
  const auto at = [&](double l) {
    QColor c = QColor::fromRgb(QColor::fromHslF(hue, saturation, static_cast<float>(l)).rgb());
    c.setAlphaF(alpha);
    return c;
  };
  // On the chosen side of the background the luminance, and with it the
  // contrast, grows monotonically away from the background's lightness, so
  // the qualifying lightnesses form one interval ending at black or white.
  const auto qualifies = [&](double l) {
    const QColor c = at(l);
    const bool onSide = darker ? luminance(c) < backgroundLuminance : luminance(c) > backgroundLuminance;
    return onSide && contrastRatio(c, background) >= minimum;
  };
  double good = darker ? 0.0 : 1.0;  // qualifies: it is the extreme
  double bad = lightness;
  for (int step = 0; step < 32; ++step) {
    const double middle = (good + bad) / 2;
    (qualifies(middle) ? good : bad) = middle;
  }
  return at(good);
}

QColor messageColour(const QPalette& palette) { return readableOn(QColor(255, 0, 0), palette.color(QPalette::Window)); }

QColor splitterBarColour(const QPalette& palette) {
  const QColor window = palette.color(QPalette::Window);
  const QColor mid = palette.color(QPalette::Mid);
  const QColor dark = palette.color(QPalette::Dark);
  const QColor bar = contrastRatio(mid, window) >= contrastRatio(dark, window) ? mid : dark;
  return readableOn(bar, window, 3.0);
}
