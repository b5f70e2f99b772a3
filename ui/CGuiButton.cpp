#include "ui/CGuiButton.h"

#include <QEnterEvent>
#include <QStyleOptionButton>
#include <QStylePainter>

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

void CGuiButton::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  if (hover_) option.state |= QStyle::State_MouseOver;
  if (style_ == 3) option.palette.setColor(QPalette::ButtonText, captionColor_);
  QFont font = painter.font();
  if (style_ == 3) font.setBold(true);
  painter.setFont(font);
  painter.drawControl(QStyle::CE_PushButton, option);
}
