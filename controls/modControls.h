#pragma once
// Arithmetic shared by the custom controls: rounding, the progress bar's numbers and
// layout, the splitter line, and mouse buttons and modifiers as the event arguments give them.
#include <qnamespace.h>

#include <QtGlobal>
#include <functional>

namespace modControls {

// Event argument codes: left 1, right 2, middle 4; shift 1, ctrl 2, alt 4.
int ButtonCode(Qt::MouseButtons buttons);
int ShiftCode(Qt::KeyboardModifiers modifiers);

// Percentage of value in [min, max], halves to even; only meaningful for max > min.
int ProgressPercent(qint64 value, qint64 min, qint64 max);
// Bar width for a value strictly inside (min, max) over innerWidth pixels.
int ProgressBarWidth(qint64 value, qint64 min, qint64 max, int innerWidth);
// Largest point size from 78 down to 7 whose label fits the height, minus one;
// 7 when none fits. labelHeight gives the label's pixel height at a point size.
int FitFontPointSize(const std::function<int(int)>& labelHeight, int innerHeight);

// First pixel of a splitter's middle line across a client extent (10 -> 4).
int SizerLineStart(int clientExtent);

}  // namespace modControls
