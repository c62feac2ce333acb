#include "browse/ViewGeometry.h"

#include <algorithm>

#include "controls/modControls.h"
#include "engine/Rounding.h"

namespace ViewGeometry {
namespace {

// Image pixels per view pixel.
double Factor(double zoomPercent) { return 100.0 / zoomPercent; }

// Pulls one axis of a frame back inside [lo, lo + room), shrinking it to the room first.
void KeepInside(int& pos, int& len, int lo, int room) {
  len = std::min(len, room);
  pos = std::clamp(pos, lo, lo + room - len);
}

}  // namespace

double ZoomPercent(int sliderValue) { return sliderValue / 5.0; }

QString ZoomReadOut(int sliderValue) {
  const double percent = ZoomPercent(sliderValue);
  if (percent < 10) return QString::number(Rounding::HalfEven(percent * 10) / 10.0) + " %";
  return QString::number(Rounding::HalfEven(percent)) + " %";
}

std::optional<int> FitSliderValue(int viewW, int viewH, int imageW, int imageH) {
  if (viewW <= 0 || viewH <= 0 || imageW <= 0 || imageH <= 0) return std::nullopt;
  // Slider value = zoom * 5, worked out in one division so that exact halves stay exact.
  const bool heightDecides =
      static_cast<double>(imageW) / viewW < static_cast<double>(imageH) / viewH;
  const double value = heightDecides ? viewH * 500.0 / imageH : viewW * 500.0 / imageW;
  return std::clamp(Rounding::HalfEven(value), kZoomSliderMin, kZoomSliderMax);
}

ScrollAxis ScrollFor(int viewLen, int imageLen, double zoomPercent) {
  if (zoomPercent <= 0) return {};
  const int visible = Rounding::HalfEven(viewLen * Factor(zoomPercent));
  if (visible >= imageLen) return {};
  return {true, imageLen - visible, visible};
}

AxisPlacement PlaceAxis(int viewLen, int scroll, int imageLen, double zoomPercent) {
  if (zoomPercent <= 0) return {};
  const double f = Factor(zoomPercent);
  AxisPlacement p{0, viewLen, scroll, 0};
  // Only where the view reaches past the picture's far edge is the picture centred.
  if (viewLen * f + scroll > imageLen) {
    p.destLen = Rounding::HalfEven(imageLen / f);
    p.dest = Rounding::HalfEven((viewLen - p.destLen) / 2.0);
    if (p.dest < 0) {
      p.dest = 0;
      p.destLen = viewLen;
    }
  }
  p.srcLen = Rounding::HalfEven(p.destLen * f);
  return p;
}

PanStep Pan(int anchor, double position, double zoomPercent) {
  if (zoomPercent <= 0) return {0, anchor};
  const int delta = Rounding::HalfEven((anchor - position) * 100.0 / zoomPercent);
  return {delta, Rounding::HalfEven(anchor - delta * zoomPercent / 100.0)};
}

QRect FittedBox(QSize area, QSize picture) {
  const int cw = area.width(), ch = area.height();
  const int w = picture.width(), h = picture.height();
  if (cw <= 0 || ch <= 0 || w <= 0 || h <= 0) return {};
  int newW = 0, newH = 0;
  if (static_cast<double>(ch) / h > static_cast<double>(cw) / w) {
    newW = cw;
    newH = Rounding::HalfEven(static_cast<double>(cw) * h / w);
  } else {
    newW = Rounding::HalfEven(static_cast<double>(ch) * w / h);
    newH = ch;
  }
  // A very thin picture still shows as one line.
  newW = std::max(newW, 1);
  newH = std::max(newH, 1);
  return {(cw - newW) / 2, (ch - newH) / 2, newW, newH};
}

QRect PreviewFrame(QRect frame, QSize picture, QSize extra, QRect available) {
  int x = frame.x(), y = frame.y();
  int w = picture.width() + extra.width(), h = picture.height() + extra.height();
  if (available.isValid()) {
    KeepInside(x, w, available.x(), available.width());
    KeepInside(y, h, available.y(), available.height());
  }
  return {x, y, w, h};
}

QPoint CascadePosition(QRect available, int index, int step) {
  if (step <= 0 || index < 0) return available.topLeft();
  const int room = std::min(available.width(), available.height()) / 2;
  const int perRound = std::max(1, room / step + 1);
  const int round = index / perRound, within = index % perRound;
  // A later round starts a little to the right, so it does not hide the first one's titles.
  return available.topLeft() + QPoint(within * step + round * step / 2, within * step);
}

}  // namespace ViewGeometry
