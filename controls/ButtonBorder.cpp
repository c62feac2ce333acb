#include "controls/ButtonBorder.h"

namespace ButtonBorder {

namespace {
enum Edge { Top, Left, Bottom, Right };

// 10 twips, the shift of a pressed picture, in pixels.
constexpr int kPressedShift = 1;

QLine EdgeLine(Edge edge, bool outer, int w, int h) {
  const int in = outer ? 0 : 1;  // the inner line lies one line-width inside the outer one
  switch (edge) {
    case Top:
      return QLine(in, in, w - 1 - in, in);
    case Left:
      return QLine(in, in, in, h - 1 - in);
    case Bottom:
      return QLine(in, h - 1 - in, w - 1 - in, h - 1 - in);
    case Right:
      return QLine(w - 1 - in, in, w - 1 - in, h - 1 - in);
  }
  return {};
}
}  // namespace

QPalette::ColorRole Role(int index) {
  switch (index) {
    case 0:
    case 1:
      return QPalette::Midlight;
    case 4:
    case 5:
      return QPalette::Light;
    case 2:
    case 3:
      return QPalette::Dark;
    default:
      return QPalette::Shadow;
  }
}

std::array<Segment, 8> Lines(QSize control, bool pressed) {
  // Inner line of each edge; its outer partner is index + 4.
  const int raised[4] = {0, 1, 2, 3};
  const int sunken[4] = {2, 3, 0, 1};
  const int* pick = pressed ? sunken : raised;
  std::array<Segment, 8> out{};
  int n = 0;
  for (Edge edge : {Top, Left, Bottom, Right}) {
    out[n++] = {pick[edge], EdgeLine(edge, false, control.width(), control.height())};
    out[n++] = {pick[edge] + 4, EdgeLine(edge, true, control.width(), control.height())};
  }
  return out;
}

QPoint PictureOrigin(QSize control, QSize picture, bool pressed) {
  const int offset = pressed ? kPressedShift : 0;
  return {control.width() / 2 - picture.width() / 2 + offset,
          control.height() / 2 - picture.height() / 2 + offset};
}

}  // namespace ButtonBorder
