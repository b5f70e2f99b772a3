// A keypad button: a push button whose caption is drawn in its own colour,
// with a hover state while the mouse is over it.
#pragma once

#include <QColor>
#include <QPushButton>

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
  bool isHovered() const { return hover_; }

 protected:
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  int style_ = 3;
  QColor captionColor_ = Qt::black;
  bool hover_ = false;
};
