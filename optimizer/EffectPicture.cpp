#include "optimizer/EffectPicture.h"

#include <QPainter>
#include <cmath>

#include "engine/Rounding.h"
#include "engine/clsImage.h"

EffectPicture::EffectPicture(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void EffectPicture::SetPicture(std::shared_ptr<clsImage> picture) {
  picture_ = std::move(picture);
  repaint();
}

QPoint EffectPicture::CentredOrigin(QSize area, QSize picture) {
  const auto centre = [](int outer, int inner) {
    return Rounding::HalfEven((outer - inner) / 2.0);
  };
  return QPoint(centre(area.width(), picture.width()), centre(area.height(), picture.height()));
}

void EffectPicture::paintEvent(QPaintEvent*) {
  QPainter dc(this);
  dc.fillRect(rect(), palette().color(QPalette::Window));
  if (!picture_ || picture_->hDC() == 0) return;
  const QRect area = contentsRect();
  const QPoint at =
      area.topLeft() + CentredOrigin(area.size(), QSize(picture_->Width(), picture_->Height()));
  picture_->PaintPicture(dc, at.x(), at.y());
}
