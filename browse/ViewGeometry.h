#pragma once
// The arithmetic of the zoomable view and the fitted preview: zoom from the slider, scroll
// ranges, where the visible part of a picture lands in the view, and panning steps.
// All sizes are pixels; rounding is to the nearest integer with halves to even.
#include <QRect>
#include <QSize>
#include <QString>
#include <optional>

namespace ViewGeometry {

inline constexpr int kZoomSliderMin = 1;
inline constexpr int kZoomSliderMax = 1000;
inline constexpr int kZoomSliderAt100 = 500;

// Zoom in percent for a slider value (value / 5).
double ZoomPercent(int sliderValue);
// The corner read-out in percent: whole percents, a tenth below 10 % so that the smallest
// zooms do not all read "0 %".
QString ZoomReadOut(int sliderValue);
// Slider value at which the whole picture fits the view, limited to the slider's range;
// nothing for an empty view or picture.
std::optional<int> FitSliderValue(int viewW, int viewH, int imageW, int imageH);

// One scroll bar: enabled with a range when the zoomed picture is longer than the view.
struct ScrollAxis {
  bool enabled = false;
  int maximum = 0;
  int largeChange = 0;
  bool operator==(const ScrollAxis&) const = default;
};
ScrollAxis ScrollFor(int viewLen, int imageLen, double zoomPercent);

// Where one axis of the picture is drawn: view pixels [dest, dest + destLen) show image
// pixels [src, src + srcLen).
struct AxisPlacement {
  int dest = 0;
  int destLen = 0;
  int src = 0;
  int srcLen = 0;
  bool operator==(const AxisPlacement&) const = default;
};
AxisPlacement PlaceAxis(int viewLen, int scroll, int imageLen, double zoomPercent);

// One mouse movement while panning: the scroll change in image pixels (against the mouse)
// and the new anchor, which keeps the part not yet turned into whole image pixels.
struct PanStep {
  int delta = 0;
  int anchor = 0;
  bool operator==(const PanStep&) const = default;
};
PanStep Pan(int anchor, double position, double zoomPercent);

// The box a picture is drawn in, scaled to fit the area and centred (smaller pictures are
// enlarged); empty for an empty area or picture.
QRect FittedBox(QSize area, QSize picture);

// A preview window's frame placed for a picture: the frame keeps its top-left corner and
// grows to picture + extra, but stays inside the available screen area so that its edges
// and title bar can always be reached; the view's scroll bars show the rest.
QRect PreviewFrame(QRect frame, QSize picture, QSize extra, QRect available);

// Where the index-th of several windows opened together goes: each one step right and down
// from the last, starting again at the corner when the next would pass the middle of the
// available area, so that every title bar stays visible.
QPoint CascadePosition(QRect available, int index, int step);

}  // namespace ViewGeometry
