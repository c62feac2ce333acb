#pragma once
// Picture-to-picture copies that need no outside library: nearest-neighbour stretching (the
// fast scaling mode) and area averaging (the smooth mode when a picture gets smaller).
#include <QRect>
#include <cstdint>
#include <vector>

class ImageDescriptor;

namespace PixelScaler {

// Stretches the source rectangle of src over the target rectangle of dst by picking the
// nearest source pixel; parts of the target outside dst are skipped.
void Nearest(const ImageDescriptor& src, const QRect& source, ImageDescriptor& dst,
             const QRect& target);
// Shrinks src over the whole of dst, each target pixel the exact area-weighted mean of the
// source pixels it covers. dst must be no larger than src in either direction.
void AreaAverage(const ImageDescriptor& src, ImageDescriptor& dst);
// Area averaging's fixed point: 8-bit pixels times two 12-bit weights fit 32 bits.
inline constexpr int kAreaWeightBits = 12;
// The source pixels one target pixel covers along one direction, with their weights.
struct AreaTap {
  int first;                           // first source pixel
  std::vector<std::uint32_t> weights;  // one per source pixel, summing to 1 << kAreaWeightBits
};
// The taps of every target pixel when from source pixels shrink to `to` (to <= from).
std::vector<AreaTap> AreaTaps(int from, int to);

// Plain copy of the whole of src to (left, top) of dst, clipped.
void Blit(const ImageDescriptor& src, ImageDescriptor& dst, int left, int top);

}  // namespace PixelScaler
