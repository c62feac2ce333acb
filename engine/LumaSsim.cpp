#include "engine/LumaSsim.h"

#include <algorithm>
#include <vector>

#include "engine/ImageDescriptor.h"

namespace {

constexpr int kWindow = 8;
constexpr int kStep = 4;
// The usual stabilising constants for 8-bit samples: (0.01 * 255)^2 and (0.03 * 255)^2.
constexpr double kC1 = 6.5025;
constexpr double kC2 = 58.5225;
// The mean of the whole picture hides damage to a few parts (soft edges in a smooth sky
// vanish at low qualities while the mean barely moves): the worst tenth is what one notices.
constexpr double kWorstShare = 0.1;

// BT.601 luma, as the JPEG encoder computes it, in 1/1024ths.
inline int Luma(const std::uint8_t* p) { return 306 * p[0] + 601 * p[1] + 117 * p[2]; }

// Sums over one band of rows, per column: x, y, x^2, y^2 and xy (luma in 1/1024ths scaled back).
struct Columns {
  std::vector<double> x, y, xx, yy, xy;
  explicit Columns(int width) : x(width), y(width), xx(width), yy(width), xy(width) {}
};

void SumBand(const ImageDescriptor& a, const ImageDescriptor& b, int top, int rows, Columns& c) {
  const int w = a.Width();
  std::fill(c.x.begin(), c.x.end(), 0.0);
  std::fill(c.y.begin(), c.y.end(), 0.0);
  std::fill(c.xx.begin(), c.xx.end(), 0.0);
  std::fill(c.yy.begin(), c.yy.end(), 0.0);
  std::fill(c.xy.begin(), c.xy.end(), 0.0);
  for (int r = top; r < top + rows; ++r) {
    const std::uint8_t* pa = a.Row(r);
    const std::uint8_t* pb = b.Row(r);
    for (int i = 0; i < w; ++i, pa += 3, pb += 3) {
      const double x = Luma(pa) / 1024.0, y = Luma(pb) / 1024.0;
      c.x[i] += x;
      c.y[i] += y;
      c.xx[i] += x * x;
      c.yy[i] += y * y;
      c.xy[i] += x * y;
    }
  }
}

double WindowSsim(const Columns& c, int left, int cols, int rows) {
  double sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0;
  for (int i = left; i < left + cols; ++i) {
    sx += c.x[i];
    sy += c.y[i];
    sxx += c.xx[i];
    syy += c.yy[i];
    sxy += c.xy[i];
  }
  const double n = double(cols) * rows;
  const double mx = sx / n, my = sy / n;
  const double vx = std::max(0.0, sxx / n - mx * mx), vy = std::max(0.0, syy / n - my * my);
  const double cov = sxy / n - mx * my;
  return ((2 * mx * my + kC1) * (2 * cov + kC2)) / ((mx * mx + my * my + kC1) * (vx + vy + kC2));
}

// Window origins along a side: every kStep, the last one flush with the end.
std::vector<int> Origins(int length, int window) {
  std::vector<int> at;
  for (int p = 0; p + window <= length; p += kStep) at.push_back(p);
  if (at.empty() || at.back() + window < length) at.push_back(length - window);
  return at;
}

}  // namespace

namespace LumaSsim {

double Compare(const ImageDescriptor& a, const ImageDescriptor& b) {
  if (a.Empty() || b.Empty() || a.Width() != b.Width() || a.Height() != b.Height()) return -1;
  const int winW = std::min(kWindow, a.Width()), winH = std::min(kWindow, a.Height());
  const std::vector<int> xs = Origins(a.Width(), winW), ys = Origins(a.Height(), winH);
  Columns columns(a.Width());
  std::vector<double> windows;
  windows.reserve(xs.size() * ys.size());
  for (const int y : ys) {
    SumBand(a, b, y, winH, columns);
    for (const int x : xs) windows.push_back(WindowSsim(columns, x, winW, winH));
  }
  const auto worst = std::max<std::size_t>(1, std::size_t(double(windows.size()) * kWorstShare));
  std::nth_element(windows.begin(), windows.begin() + std::ptrdiff_t(worst - 1), windows.end());
  double total = 0;
  for (std::size_t i = 0; i < worst; ++i) total += windows[i];
  return total / double(worst);
}

}  // namespace LumaSsim
