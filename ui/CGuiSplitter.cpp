#include "ui/CGuiSplitter.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

CGuiSplitter::CGuiSplitter(QWidget* parent)
    : QWidget(parent), face_(palette().color(QPalette::Button)), light_(palette().color(QPalette::Light)),
      dark_(palette().color(QPalette::Dark)) {
  setMouseTracking(true);
}

void CGuiSplitter::setPane1(QWidget* pane) {
  pane1_ = pane;
  pane->setParent(this);
  pane->show();
}

void CGuiSplitter::setPane2(QWidget* pane) {
  pane2_ = pane;
  pane->setParent(this);
  pane->show();
  layoutPanes();
}

void CGuiSplitter::setOrientation(int orientation) {
  orientation_ = orientation;
  bar_ = QRect();
  layoutPanes();
  update();
}

void CGuiSplitter::setColors(const QColor& face, const QColor& light, const QColor& dark) {
  face_ = face;
  light_ = light;
  dark_ = dark;
  update();
}

void CGuiSplitter::placeBar(int position) {
  const QRect area = rect();
  const int extent = orientation_ == 1 ? area.height() : area.width();
  const int leading = std::clamp(position, 0, std::max(0, extent - kBarThickness));
  bar_ = orientation_ == 1 ? QRect(0, leading, area.width(), kBarThickness)
                           : QRect(leading, 0, kBarThickness, area.height());
}

void CGuiSplitter::layoutPanes() {
  if (pane1_ == nullptr || pane2_ == nullptr || rect().isEmpty()) return;
  // Until the splitter shows, its size is provisional: the bar is placed afresh.
  if (!isVisible()) bar_ = QRect();
  const int extent = orientation_ == 1 ? height() : width();
  const int trailing = orientation_ == 1 ? bar_.bottom() + 1 : bar_.right() + 1;
  // Never placed, or far out: the middle (the bar's trailing edge at half the extent).
  if (bar_.isEmpty() || trailing >= 5000)
    placeBar(extent / 2 - kBarThickness);
  else
    placeBar(orientation_ == 1 ? bar_.top() : bar_.left());
  QRect first, second;
  if (orientation_ == 1) {
    first = QRect(0, 0, width(), bar_.top());
    second = QRect(0, bar_.bottom() + 1, width(), height() - bar_.bottom() - 1);
  } else {
    first = QRect(0, 0, bar_.left(), height());
    second = QRect(bar_.right() + 1, 0, width() - bar_.right() - 1, height());
  }
  // One pixel of inset on every side.
  pane1_->setGeometry(first.adjusted(1, 1, -1, -1));
  pane2_->setGeometry(second.adjusted(1, 1, -1, -1));
}

void CGuiSplitter::resizeEvent(QResizeEvent*) { layoutPanes(); }

void CGuiSplitter::showEvent(QShowEvent*) { layoutPanes(); }

void CGuiSplitter::paintEvent(QPaintEvent*) {
  if (pane1_ == nullptr || pane2_ == nullptr) return;
  QPainter painter(this);
  painter.fillRect(bar_, face_);
  painter.setPen(light_);
  painter.drawLine(bar_.topLeft(), orientation_ == 1 ? bar_.topRight() : bar_.bottomLeft());
  painter.setPen(dark_);
  painter.drawLine(orientation_ == 1 ? bar_.bottomLeft() : bar_.topRight(), bar_.bottomRight());
}

void CGuiSplitter::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && bar_.contains(event->position().toPoint())) {
    dragging_ = true;
    grabMouse();
  }
}

void CGuiSplitter::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  setCursor(dragging_ || bar_.contains(at) ? (orientation_ == 1 ? Qt::SplitVCursor : Qt::SplitHCursor)
                                           : Qt::ArrowCursor);
  if (!dragging_) return;
  const QRect old = bar_;
  placeBar((orientation_ == 1 ? at.y() : at.x()) - kBarThickness / 2);
  layoutPanes();
  update(old.united(bar_));
}

void CGuiSplitter::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && dragging_) {
    dragging_ = false;
    releaseMouse();
  }
}
