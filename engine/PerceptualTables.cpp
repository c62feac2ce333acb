#include "engine/PerceptualTables.h"

#include <algorithm>
#include <cmath>

namespace PerceptualTables {
namespace {

constexpr double kPixelsPerDegree = 40.0;
// Steps at quality 50; the rest follow from the curves. Chosen so that a quality gives about
// the look of the same quality from libjpeg's own tables.
constexpr double kLumaBase = 14.0;
constexpr double kChromaBase = 15.0;
// Luma steps grow faster than the curve falls: measured by SSIMULACRA2 on photos, the curve's
// own slope spends too many bits on the finest detail, which the coarser detail around it hides.
constexpr double kLumaSlope = 1.4;

// Mannos and Sakrison's luminance sensitivity, held at its peak below the peak frequency:
// block edges are low frequencies and must not be coarser than the peak.
double LumaSensitivity(double cyclesPerDegree) {
  const double f = cyclesPerDegree;
  const double s = 2.6 * (0.0192 + 0.114 * f) * std::exp(-std::pow(0.114 * f, 1.1));
  return f < 8.0 ? 1.0 : s / 0.981;
}

// Cycles per degree of the basis function k, with the eye's weaker diagonal resolution.
double Frequency(int k, double pixelsPerDegree) {
  const int u = k % 8, v = k / 8;
  const double angle = std::atan2(double(v), double(u));
  const double oblique = 1.0 + 0.15 * std::pow(std::sin(2.0 * angle), 2.0);
  return std::hypot(u, v) / 16.0 * pixelsPerDegree * oblique;
}

double Sensitivity(int k, bool chroma, double pixelsPerDegree) {
  const double f = Frequency(k, pixelsPerDegree);
  return chroma ? std::max(std::exp(-0.18 * f), 0.04) : std::max(LumaSensitivity(f), 0.05);
}

int Scale(int quality) {
  const int q = std::clamp(quality, 1, 100);
  return q < 50 ? 5000 / q : 200 - 2 * q;
}

Table Make(double base, int quality, bool chroma, double pixelsPerDegree) {
  Table t{};
  const double scale = Scale(quality) / 100.0;
  for (int k = 0; k < 64; ++k) {
    const double sensitivity = Sensitivity(k, chroma, pixelsPerDegree);
    const double step = base / (chroma ? sensitivity : std::pow(sensitivity, kLumaSlope)) * scale;
    t[std::size_t(k)] = std::uint16_t(std::clamp(std::lround(step), 1L, 255L));
  }
  return t;
}

}  // namespace

Table Luma(int quality) { return Make(kLumaBase, quality, false, kPixelsPerDegree); }

Table Chroma(int quality, bool subsampled) {
  return Make(kChromaBase, quality, true, subsampled ? kPixelsPerDegree / 2 : kPixelsPerDegree);
}

}  // namespace PerceptualTables
