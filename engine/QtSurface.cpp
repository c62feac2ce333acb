#include "engine/QtSurface.h"

#include "engine/ImageDescriptor.h"

namespace QtSurface {

QImage Wrap(ImageDescriptor& picture) {
  if (picture.Empty()) return {};
  return QImage(picture.Bits(), picture.Width(), picture.Height(), picture.Stride(),
                QImage::Format_RGB888);
}

QImage WrapReadOnly(const ImageDescriptor& picture) {
  if (picture.Empty()) return {};
  return QImage(picture.Bits(), picture.Width(), picture.Height(), picture.Stride(),
                QImage::Format_RGB888);
}

void Draw(QPainter& dc, const QRect& target, const ImageDescriptor& picture, const QRect& source,
          StretchMode mode, QPainter::CompositionMode rop) {
  if (picture.Empty() || !dc.isActive() || target.isEmpty() || source.isEmpty()) return;
  dc.save();
  dc.setCompositionMode(rop);
  dc.setRenderHint(QPainter::SmoothPixmapTransform, mode == StretchMode::kHalfTone);
  dc.drawImage(target, WrapReadOnly(picture), source);
  dc.restore();
}

}  // namespace QtSurface
