#include "engine/EngineThumbnail.h"

#include "engine/clsImage.h"

namespace EngineThumbnail {

bool Make(const QString& fileName, const std::function<QSize(int, int)>& fit, Result& result) {
  result = Result();
  clsImage image;
  if (!image.CreateFromFile(fileName)) return false;
  const int width = image.Width(), height = image.Height();
  const QSize size = fit(width, height);
  if (size.width() < 1 || size.height() < 1 || size.width() > width || size.height() > height)
    return false;
  if (size != QSize(width, height)) {
    image.Resize(size.width(), size.height(), true);
    if (image.Width() != size.width() || image.Height() != size.height()) return false;
  }
  image.SaveToBuffer(result.buffer);
  if (result.buffer.isEmpty()) return false;
  result.pictureWidth = width;
  result.pictureHeight = height;
  return true;
}

}  // namespace EngineThumbnail
