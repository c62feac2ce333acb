#include "engine/PictureColour.h"

#include <lcms2.h>

#include <thread>

#include "engine/ImageDescriptor.h"

using vips::VImage;

namespace {

bool IsFloat(VipsBandFormat format) {
  return format == VIPS_FORMAT_FLOAT || format == VIPS_FORMAT_DOUBLE;
}

// Float samples mean 0..1 by convention; anything else is stretched from its own range.
VImage ScaledFloat(VImage image) {
  const double low = image.min(), high = image.max();
  if (low >= 0.0 && high <= 1.0) return image.linear(255.0, 0.0);
  if (high <= low) return image.linear(0.0, 0.0);
  return image.linear(255.0 / (high - low), -low * 255.0 / (high - low));
}

VImage Transformed(VImage image, bool cmykDefault) {
  auto options =
      VImage::option()->set("embedded", true)->set("intent", VIPS_INTENT_RELATIVE)->set("depth", 8);
  if (cmykDefault) options->set("input_profile", "cmyk");
  return image.icc_transform("srgb", options);
}

}  // namespace

VImage PictureColour::ToSrgb(VImage image, bool* converted) {
  if (converted) *converted = false;
  const bool profiled = image.get_typeof(VIPS_META_ICC_NAME) != 0;
  const bool cmyk = image.interpretation() == VIPS_INTERPRETATION_CMYK;
  if (profiled || cmyk) {
    try {
      image = Transformed(image, cmyk && !profiled);
      if (converted) *converted = true;
      return image;
    } catch (const vips::VError&) {
      vips_error_clear();  // a profile that does not fit the pixels: converted as untagged
    }
  }
  const VipsInterpretation kind = image.interpretation();
  if (IsFloat(image.format()) &&
      (kind == VIPS_INTERPRETATION_B_W || kind == VIPS_INTERPRETATION_sRGB ||
       kind == VIPS_INTERPRETATION_MULTIBAND)) {
    image = ScaledFloat(image).cast(VIPS_FORMAT_UCHAR);
    image = image.copy(VImage::option()->set(
        "interpretation", image.bands() >= 3 ? VIPS_INTERPRETATION_sRGB : VIPS_INTERPRETATION_B_W));
  }
  if (image.interpretation() != VIPS_INTERPRETATION_sRGB || image.format() != VIPS_FORMAT_UCHAR) {
    try {
      image = image.colourspace(VIPS_INTERPRETATION_sRGB);
    } catch (const vips::VError&) {
      vips_error_clear();  // unusual interpretation: a plain cast still gives pixels
    }
  }
  return image;
}

bool PictureColour::IsSrgb(const QByteArray& profile) {
  // The description of every common sRGB profile names it; converting those costs time only.
  return profile.contains("sRGB");
}

bool PictureColour::ConvertRgb(ImageDescriptor& pixels, const QByteArray& profile) {
  if (pixels.Empty() || profile.isEmpty()) return false;
  // lcms2 directly, 8-bit to 8-bit through its optimised lookup: a camera's 12 MP photo costs
  // a fraction of its decode, where libvips' float pipeline would double the load time.
  cmsHPROFILE source = cmsOpenProfileFromMem(profile.constData(), cmsUInt32Number(profile.size()));
  if (!source) return false;
  cmsHPROFILE srgb = cmsCreate_sRGBProfile();
  cmsHTRANSFORM transform = cmsGetColorSpace(source) == cmsSigRgbData
                                ? cmsCreateTransform(source, TYPE_RGB_8, srgb, TYPE_RGB_8,
                                                     INTENT_RELATIVE_COLORIMETRIC, cmsFLAGS_NOCACHE)
                                : nullptr;
  cmsCloseProfile(source);
  cmsCloseProfile(srgb);
  if (!transform) return false;
  // In place, rows split between two threads (the transform keeps no state without its cache).
  const auto rows = [&](int first, int last) {
    for (int y = first; y < last; ++y)
      cmsDoTransform(transform, pixels.Row(y), pixels.Row(y), cmsUInt32Number(pixels.Width()));
  };
  const int half = pixels.Height() / 2;
  std::thread other(rows, half, pixels.Height());
  rows(0, half);
  other.join();
  cmsDeleteTransform(transform);
  return true;
}
