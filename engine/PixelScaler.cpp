#include "PixelScaler.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "ImageDescriptor.h"

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

void Blit(const ImageDescriptor& src, ImageDescriptor& dst, int left, int top) {
  const QRect area =
      QRect(left, top, src.Width(), src.Height()) & QRect(0, 0, dst.Width(), dst.Height());
  if (area.isEmpty()) return;
  for (int y = area.top(); y <= area.bottom(); ++y)
    std::memcpy(dst.Row(y) + 3 * area.left(), src.Row(y - top) + 3 * (area.left() - left),
                std::size_t(area.width()) * 3);
}

}  // namespace PixelScaler
