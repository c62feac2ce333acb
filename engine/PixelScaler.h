#pragma once
// Picture-to-picture copies that need no outside library: nearest-neighbour stretching,
// the engine's fast scaling mode.
#include <QRect>

class ImageDescriptor;

namespace PixelScaler {

// Stretches the source rectangle of src over the target rectangle of dst by picking the
// nearest source pixel; parts of the target outside dst are skipped.
void Nearest(const ImageDescriptor& src, const QRect& source, ImageDescriptor& dst,
             const QRect& target);
// Plain copy of the whole of src to (left, top) of dst, clipped.
void Blit(const ImageDescriptor& src, ImageDescriptor& dst, int left, int top);

}  // namespace PixelScaler
