#include "engine/PixelScaler.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "engine/ImageDescriptor.h"

namespace PixelScaler {

void Nearest(const ImageDescriptor& src, const QRect& sourceIn, ImageDescriptor& dst,
             const QRect& target) {
  const QRect source = sourceIn & QRect(0, 0, src.Width(), src.Height());
  if (src.Empty() || dst.Empty() || source.isEmpty() || target.isEmpty()) return;
  const QRect clipped = target & QRect(0, 0, dst.Width(), dst.Height());
  if (clipped.isEmpty()) return;
  // Pixel centres: target pixel t samples source (t + 0.5) * s / t_total.
  std::vector<int> columns(std::size_t(clipped.width()));
  for (int x = clipped.left(); x <= clipped.right(); ++x) {
    const std::int64_t sx = (2 * std::int64_t(x - target.left()) + 1) * source.width() /
                            (2 * std::int64_t(target.width()));
    columns[std::size_t(x - clipped.left())] = 3 * (source.left() + int(sx));
  }
  for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
    const std::int64_t sy = (2 * std::int64_t(y - target.top()) + 1) * source.height() /
                            (2 * std::int64_t(target.height()));
    const std::uint8_t* from = src.Row(source.top() + int(sy));
    std::uint8_t* to = dst.Row(y) + 3 * clipped.left();
    for (int offset : columns) {
      std::memcpy(to, from + offset, 3);
      to += 3;
    }
  }
}

namespace {
constexpr int kWeightBits = kAreaWeightBits;
using Tap = AreaTap;
}  // namespace

// Target pixel t covers source [t * from / to, (t + 1) * from / to); measured in units of
// 1 / to, source pixel s covers [s * to, (s + 1) * to) and target t covers [t * from, ...).
std::vector<AreaTap> AreaTaps(int from, int to) {
  std::vector<Tap> taps(static_cast<std::size_t>(to));
  const std::int64_t span = from;
  for (int t = 0; t < to; ++t) {
    const std::int64_t begin = std::int64_t(t) * from, end = begin + from;
    Tap& tap = taps[std::size_t(t)];
    tap.first = int(begin / to);
    std::int64_t covered = 0;
    std::uint32_t given = 0;
    for (std::int64_t s = tap.first; s * to < end; ++s) {
      covered += std::min(end, (s + 1) * to) - std::max(begin, s * to);
      // Rounding the running total keeps the sum exact.
      const auto upTo = std::uint32_t((covered * (1 << kWeightBits) + span / 2) / span);
      tap.weights.push_back(upTo - given);
      given = upTo;
    }
  }
  return taps;
}

void AreaAverage(const ImageDescriptor& src, ImageDescriptor& dst) {
  if (src.Empty() || dst.Empty() || dst.Width() > src.Width() || dst.Height() > src.Height())
    return;
  const std::vector<Tap> columns = AreaTaps(src.Width(), dst.Width());
  const std::vector<Tap> rows = AreaTaps(src.Height(), dst.Height());
  const std::size_t rowBytes = std::size_t(src.Width()) * 3;
  std::vector<std::uint32_t> sum(rowBytes);
  constexpr std::uint32_t kHalf = 1u << (2 * kWeightBits - 1);
  for (int ty = 0; ty < dst.Height(); ++ty) {
    // Vertical pass: weighted sum of the covered source rows, all columns at once.
    const Tap& rowTap = rows[std::size_t(ty)];
    std::fill(sum.begin(), sum.end(), 0u);
    for (std::size_t k = 0; k < rowTap.weights.size(); ++k) {
      const std::uint32_t w = rowTap.weights[k];
      const std::uint8_t* in = src.Row(rowTap.first + int(k));
      for (std::size_t i = 0; i < rowBytes; ++i) sum[i] += w * in[i];
    }
    // Horizontal pass over the sums.
    std::uint8_t* out = dst.Row(ty);
    for (const Tap& tap : columns) {
      std::uint32_t r = kHalf, g = kHalf, b = kHalf;
      const std::uint32_t* s = &sum[std::size_t(tap.first) * 3];
      for (std::uint32_t w : tap.weights) {
        r += w * s[0];
        g += w * s[1];
        b += w * s[2];
        s += 3;
      }
      out[0] = std::uint8_t(r >> (2 * kWeightBits));
      out[1] = std::uint8_t(g >> (2 * kWeightBits));
      out[2] = std::uint8_t(b >> (2 * kWeightBits));
      out += 3;
    }
  }
}

void Blit(const ImageDescriptor& src, ImageDescriptor& dst, int left, int top) {
  const QRect area =
      QRect(left, top, src.Width(), src.Height()) & QRect(0, 0, dst.Width(), dst.Height());
  if (area.isEmpty()) return;
  for (int y = area.top(); y <= area.bottom(); ++y)
    std::memcpy(dst.Row(y) + 3 * area.left(), src.Row(y - top) + 3 * (area.left() - left),
                std::size_t(area.width()) * 3);
}

}  // namespace PixelScaler
