#pragma once
// The one door to Qt painting: a picture's pixels seen as a QImage without copying, and
// block or stretched copies onto any QPainter in the two stretch modes.
#include <QImage>
#include <QPainter>
#include <QRect>

class ImageDescriptor;

namespace QtSurface {

// Colour-on-colour drops or repeats pixels; half-tone averages them.
enum class StretchMode { kColorOnColor, kHalfTone };

// Borrows the pixels: the QImage is valid while the descriptor keeps its buffer, and
// painting on it changes the picture itself.
QImage Wrap(ImageDescriptor& picture);
QImage WrapReadOnly(const ImageDescriptor& picture);
// Copies source (in picture pixels) onto target (in painter units).
void Draw(QPainter& dc, const QRect& target, const ImageDescriptor& picture, const QRect& source,
          StretchMode mode, QPainter::CompositionMode rop = QPainter::CompositionMode_Source);

}  // namespace QtSurface
