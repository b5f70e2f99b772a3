// A keypad button: a push button whose caption is drawn in its own colour,
// with a hover state while the mouse is over it.
#pragma once

#include <QColor>
#include <QPushButton>
#include <QSize>

class QStyle;
class QStyleOptionButton;

class CGuiButton : public QPushButton {
  Q_OBJECT

 public:
  explicit CGuiButton(const QString& caption, QWidget* parent = nullptr);

  // The drawing style (the keypads use 3: the caption in the caption colour).
  void setButtonStyle(int style);
  int buttonStyle() const { return style_; }
  // Sets the caption and redraws.
  void setCaption(const QString& caption);
  void setCaptionColor(const QColor& color);
  QColor captionColor() const { return captionColor_; }
  // The colour the caption is painted in now: in style 3 the caption colour
  // moved just far enough in lightness to stand out 4.5:1 from every pixel of
  // the face painted under it (which differs with the palette, the style and
  // hover, pressed and default looks); else the palette's button text.
  QColor shownCaptionColor() const;
  bool isHovered() const { return hover_; }

 protected:
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  // How the button is drawn now, the caption colour not yet in it.
  QStyleOptionButton drawingOption() const;
  // The caption colour for a face drawn with `option`.
  QColor captionColourOn(const QStyleOptionButton& option) const;

  int style_ = 3;
  QColor captionColor_ = Qt::black;
  bool hover_ = false;
  // The last face looked at and the colour found for it.
  struct FaceKey {
    qint64 palette = -1;
    int state = 0, features = 0;
    QSize size;
    const QStyle* style = nullptr;
    QString text, font;
    bool operator==(const FaceKey&) const = default;
  };
  mutable FaceKey faceKey_;
  mutable QColor faceCaption_;
};
