#include "DemoScene.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

#include "engine/clsImage.h"

namespace DemoScene {

std::shared_ptr<clsImage> Make(int width, int height) {
  auto image = std::make_shared<clsImage>();
  if (image->Create(width, height, 24) != 0) return image;
  QImage surface = image->Surface();
  QPainter dc(&surface);
  dc.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, height);
  sky.setColorAt(0, QColor(40, 90, 170));
  sky.setColorAt(0.55, QColor(250, 190, 120));
  dc.fillRect(0, 0, width, height, sky);
  QRadialGradient sun(width * 0.7, height * 0.45, height * 0.12);
  sun.setColorAt(0, QColor(255, 250, 220));
  sun.setColorAt(1, QColor(255, 200, 120, 0));
  dc.fillRect(0, 0, width, height, sun);
  const QColor hills[] = {QColor(70, 110, 70), QColor(45, 85, 50), QColor(30, 60, 35)};
  for (int layer = 0; layer < 3; ++layer) {
    QPainterPath path(QPointF(0, height));
    const double base = height * (0.55 + 0.12 * layer);
    for (int x = 0; x <= width; x += std::max(1, width / 200))
      path.lineTo(x, base - height * 0.06 * std::sin(x * (3.0 + layer) / width * 3.14159 + layer));
    path.lineTo(width, height);
    dc.fillPath(path, hills[layer]);
  }
  // Fine grass strokes, so that zooming in shows detail.
  dc.setPen(QPen(QColor(90, 140, 70), 1));
  for (int i = 0; i < width * 4; ++i) {
    const int x = (i * 7919) % width;
    const int y = height - 1 - (i * 104729) % (height / 5 + 1);
    dc.drawLine(x, y, x + (i % 5) - 2, y - 4 - i % 9);
  }
  return image;
}

}  // namespace DemoScene
