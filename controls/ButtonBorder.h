#pragma once
// Geometry and colours of the image button's eight border lines (two per edge, outer and
// inner) and of its centred picture, for the raised and the pressed look.
#include <QLine>
#include <QPalette>
#include <QPoint>
#include <QSize>
#include <array>

namespace ButtonBorder {

struct Segment {
  int index;  // 0-3 inner lines, 4-7 outer lines
  QLine line;
};

// Colour of line 0-7: 3D light, 3D highlight, button shadow, 3D dark shadow.
QPalette::ColorRole Role(int index);
// The eight lines in painting order (top, left, bottom, right; inner before outer), so the
// bottom and right edges own the corners as on a classic 3D button.
std::array<Segment, 8> Lines(QSize control, bool pressed);
// Top-left of the picture area: centred, shifted one pixel down and right when pressed.
QPoint PictureOrigin(QSize control, QSize picture, bool pressed);

}  // namespace ButtonBorder
