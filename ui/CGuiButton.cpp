#include "ui/CGuiButton.h"

#include <QEnterEvent>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <algorithm>
#include <tuple>
#include <utility>

#include "ui/ThemeColours.h"

CGuiButton::CGuiButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {
  setAttribute(Qt::WA_Hover);
}

void CGuiButton::setButtonStyle(int style) {
  style_ = style;
  update();
}

void CGuiButton::setCaption(const QString& caption) {
  setText(caption);
  update();
}

void CGuiButton::setCaptionColor(const QColor& color) {
  captionColor_ = color;
  faceCaption_ = QColor();
  update();
}

void CGuiButton::enterEvent(QEnterEvent* event) {
  hover_ = true;
  update();
  QPushButton::enterEvent(event);
}

void CGuiButton::leaveEvent(QEvent* event) {
  hover_ = false;
  update();
  QPushButton::leaveEvent(event);
}

QStyleOptionButton CGuiButton::drawingOption() const {
  QStyleOptionButton option;
  initStyleOption(&option);
  if (hover_) option.state |= QStyle::State_MouseOver;
  return option;
}

QColor CGuiButton::captionColourOn(const QStyleOptionButton& option) const {
  if (style_ != 3) return option.palette.color(QPalette::ButtonText);
  const FaceKey key{option.palette.cacheKey(),
                    static_cast<int>(option.state),
                    static_cast<int>(option.features),
                    option.rect.size(),
                    style(),
                    option.text,
                    font().key()};
  if (key == faceKey_ && faceCaption_.isValid()) return faceCaption_;
  // The face as the style paints it, over the window colour where it leaves
  // gaps; the caption must stand out from its darkest and lightest pixel.
  QImage face(option.rect.size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
  face.fill(option.palette.color(QPalette::Window));
  {
    QPainter painter(&face);
    style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, this);
  }
  // The caption's box, centred in the contents as the styles draw it.
  const QRect contents = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
  QFont bold = font();
  bold.setBold(true);
  QRect under = QFontMetrics(bold).boundingRect(option.text);
  under.moveCenter(contents.center());
  under = under.intersected(face.rect());
  // Their contrast with black orders the pixels from dark to light.
  QColor darkest = option.palette.color(QPalette::Button), lightest = darkest;
  double darkestRatio = 22, lightestRatio = 0;
  for (int y = under.top(); y <= under.bottom(); ++y) {
    for (int x = under.left(); x <= under.right(); ++x) {
      const QColor pixel = face.pixelColor(x, y);
      const double ratio = contrastRatio(pixel, Qt::black);
      if (ratio < darkestRatio) std::tie(darkest, darkestRatio) = std::pair(pixel, ratio);
      if (ratio > lightestRatio) std::tie(lightest, lightestRatio) = std::pair(pixel, ratio);
    }
  }
  const auto worst = [&](const QColor& c) { return std::min(contrastRatio(c, darkest), contrastRatio(c, lightest)); };
  QColor shown = readableOn(captionColor_, darkest);
  if (worst(shown) < 4.5) shown = readableOn(captionColor_, lightest);
  if (worst(shown) < 4.5) shown = worst(Qt::black) >= worst(Qt::white) ? QColor(Qt::black) : QColor(Qt::white);
  faceKey_ = key;
  faceCaption_ = shown;
  return shown;
}

QColor CGuiButton::shownCaptionColor() const { return captionColourOn(drawingOption()); }

void CGuiButton::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionButton option = drawingOption();
  // Worked out at each paint, so that a new palette or look recolours at once.
  if (style_ == 3) option.palette.setColor(QPalette::ButtonText, captionColourOn(option));
  QFont font = painter.font();
  if (style_ == 3) font.setBold(true);
  painter.setFont(font);
  painter.drawControl(QStyle::CE_PushButton, option);
}
