#include "modControls.h"

#include <cmath>

namespace modControls {

int RoundHalfEven(double value) {
  const double r = std::nearbyint(value);  // the default rounding mode is to nearest, ties even
  if (r >= 2147483647.0) return 2147483647;
  if (r <= -2147483648.0) return -2147483647 - 1;
  return static_cast<int>(r);
}

int ButtonCode(Qt::MouseButtons buttons) {
  return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0) |
         (buttons & Qt::MiddleButton ? 4 : 0);
}

int ShiftCode(Qt::KeyboardModifiers modifiers) {
  return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
         (modifiers & Qt::AltModifier ? 4 : 0);
}

int ProgressPercent(qint64 value, qint64 min, qint64 max) {
  return RoundHalfEven(static_cast<double>(value - min) / static_cast<double>(max - min) * 100.0);
}

int ProgressBarWidth(qint64 value, qint64 min, qint64 max, int innerWidth) {
  return RoundHalfEven(static_cast<double>(value - min) / static_cast<double>(max - min) *
                       innerWidth);
}

int FitFontPointSize(const std::function<int(int)>& labelHeight, int innerHeight) {
  for (int size = 78; size >= 7; --size) {
    if (labelHeight(size) < innerHeight) return size - 1;
  }
  return 7;
}

int SizerLineStart(int clientExtent) { return RoundHalfEven(clientExtent / 2.0 - 1.0); }

}  // namespace modControls
