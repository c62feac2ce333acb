#include "app/Artwork.h"

#include <QLinearGradient>
#include <QPainter>

namespace Artwork {

QPixmap ProductPicture() {
  QPixmap pm(96, 96);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 8, 0, 88);
  sky.setColorAt(0, QColor(70, 130, 200));
  sky.setColorAt(1, QColor(200, 225, 250));
  p.setPen(QPen(QColor(60, 60, 60), 2));
  p.setBrush(sky);
  p.drawRoundedRect(QRectF(6, 10, 84, 76), 6, 6);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 210, 80));
  p.drawEllipse(QPointF(68, 30), 9, 9);
  p.setBrush(QColor(60, 140, 70));
  const QPointF hills[] = {{7, 85}, {30, 50}, {48, 70}, {62, 56}, {89, 85}};
  p.drawPolygon(hills, 5);
  return pm;
}

}  // namespace Artwork
