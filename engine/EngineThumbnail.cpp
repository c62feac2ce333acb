#include "EngineThumbnail.h"

#include "clsImage.h"

namespace EngineThumbnail {

bool Make(const QString& fileName, const std::function<QSize(int, int)>& fit, Result& result) {
  result = Result();
  clsImage image;
  if (!image.CreateFromFile(fileName)) return false;
  const int width = image.Width(), height = image.Height();
  const QSize size = fit(image.Width(), image.Height());
  if (size.width() < 1 || size.height() < 1 || size.width() > image.Width() ||
      size.height() > image.Height())
    return false;
  if (size != QSize(image.Width(), image.Height())) {
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
