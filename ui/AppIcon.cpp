#include "ui/AppIcon.h"

#include <QPainter>
#include <QPixmap>

namespace {

QPixmap drawn(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const qreal margin = size / 16.0;
  const QRectF key(margin, margin, size - 2 * margin, size - 2 * margin);
  painter.setPen(QPen(QColor(30, 60, 140), size / 32.0 + 0.5));
  painter.setBrush(QColor(70, 110, 200));
  painter.drawRoundedRect(key, size / 6.0, size / 6.0);
  QFont font;
  font.setBold(true);
  font.setPixelSize(size * 5 / 8);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(key, Qt::AlignCenter, QStringLiteral("N"));
  return pixmap;
}

}  // namespace

QIcon numbrixIcon() {
  QIcon icon;
  for (int size : {16, 32, 48, 64, 128}) icon.addPixmap(drawn(size));
  return icon;
}
