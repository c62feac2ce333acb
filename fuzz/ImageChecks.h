#pragma once
// What must hold after any load, good or bad: a failed load leaves the object empty; a
// picture that loaded is within the engine's limits, and its pixels can be read end to end.
#include "FuzzSupport.h"
#include "engine/ImageDescriptor.h"
#include "engine/clsImage.h"

inline void CheckLoadResult(clsImage& image, bool ok) {
  using FuzzSupport::Check;
  if (!ok) {
    Check(image.hDC() == 0 && image.Width() == 0 && image.Height() == 0,
          "a failed load left a picture behind");
    return;
  }
  Check(image.hDC() != 0 && image.BitCount() == 24, "a load succeeded without a picture");
  Check(ImageDescriptor::SizeAllowed(image.Width(), image.Height()),
        "a picture larger than the engine allows");
  const ImageDescriptor& px = image.Pixels();
  Check(px.Stride() == ImageDescriptor::StrideFor(px.Width()), "rows of the wrong length");
  // Touch the first and the last byte of the picture, so a short buffer shows under ASan.
  volatile std::uint8_t sink = px.Row(0)[0];
  sink = px.Row(px.Height() - 1)[px.Stride() - 1];
  (void)sink;
  // Small pictures also go through the encoder, which reads every pixel.
  if (std::int64_t(px.Width()) * px.Height() <= 256 * 256) {
    QByteArray jpeg;
    Check(image.EncodeJpeg(75, jpeg) && !jpeg.isEmpty(), "a loaded picture does not encode");
  }
}
