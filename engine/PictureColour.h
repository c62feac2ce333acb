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
  // The EXIF a loader found (exif-data) speaks for a camera's Adobe RGB as in SourceProfile.
  static vips::VImage ToSrgb(vips::VImage image, bool* converted = nullptr);
  // The profile a picture's pixels are to be converted from: the embedded one unless its
  // colours are sRGB's, else Adobe RGB (1998) for a camera that says so only in its EXIF
  // (colour space "uncalibrated" with the interoperability index "R03"). Empty: the pixels
  // are sRGB already.
  static QByteArray SourceProfile(const QByteArray& icc, const QByteArray& exif);
  // Converts 8-bit pixels decoded elsewhere from an RGB or grey profile to sRGB in place
  // (lcms2, relative colorimetric as above). False (pixels unchanged) when it does not fit.
  static bool ConvertToSrgb(ImageDescriptor& pixels, const QByteArray& profile);
  // Whether a profile gives sRGB's colours, judged by what it does to a set of colours
  // and not by its name, so converting would change nothing.
  static bool IsSrgb(const QByteArray& profile);
  // Adobe RGB (1998) from its published primaries, D65 white and gamma 563/256.
  static const QByteArray& AdobeRgb();
};
