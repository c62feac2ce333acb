#pragma once
// For engine sources only: turns what a loader delivers into the colours the engine keeps,
// sRGB. An embedded profile is honoured (libvips' colour management, lcms2 underneath), CMYK
// without one is read with a standard press profile, and float or 16-bit samples are scaled
// from their own range rather than clipped.
#include <QByteArray>
#include <vips/vips8>

class ImageDescriptor;

class PictureColour {
 public:
  // The picture in sRGB, 8 bits, alpha kept. Whether a profile was applied is reported.
  static vips::VImage ToSrgb(vips::VImage image, bool* converted = nullptr);
  // Converts 8-bit RGB pixels decoded elsewhere from the given RGB profile to sRGB in place
  // (lcms2, relative colorimetric as above). False (pixels unchanged) when it does not fit.
  static bool ConvertRgb(ImageDescriptor& pixels, const QByteArray& profile);
  // Whether a profile is sRGB already, so converting would change nothing.
  static bool IsSrgb(const QByteArray& profile);
};
