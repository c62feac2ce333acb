#pragma once
// Plain-coloured pictures for the view tests, and the colour at a point of a picture.
#include <QColor>
#include <memory>

#include "engine/clsImage.h"

namespace TestPictures {

inline std::shared_ptr<clsImage> Filled(int width, int height, QColor colour) {
  auto image = std::make_shared<clsImage>();
  image->Create(width, height, 24);
  image->Surface().fill(colour);
  return image;
}

inline QColor At(const std::shared_ptr<clsImage>& image, int x, int y) {
  return image->Surface().pixelColor(x, y);
}

}  // namespace TestPictures
