#include "controls/modControls.h"

#include <cmath>

#include "engine/Rounding.h"

namespace modControls {

int ButtonCode(Qt::MouseButtons buttons) {
  return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0) |
         (buttons & Qt::MiddleButton ? 4 : 0);
}

int ShiftCode(Qt::KeyboardModifiers modifiers) {
  return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
         (modifiers & Qt::AltModifier ? 4 : 0);
}

int ProgressPercent(qint64 value, qint64 min, qint64 max) {
  return Rounding::HalfEven(static_cast<double>(value - min) / static_cast<double>(max - min) *
                            100.0);
}

int ProgressBarWidth(qint64 value, qint64 min, qint64 max, int innerWidth) {
  return Rounding::HalfEven(static_cast<double>(value - min) / static_cast<double>(max - min) *
                            innerWidth);
}

int FitFontPointSize(const std::function<int(int)>& labelHeight, int innerHeight) {
  for (int size = 78; size >= 7; --size) {
    if (labelHeight(size) < innerHeight) return size - 1;
  }
  return 7;
}

int SizerLineStart(int clientExtent) { return Rounding::HalfEven(clientExtent / 2.0 - 1.0); }

}  // namespace modControls
