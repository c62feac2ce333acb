#include "engine/PictureColour.h"

#include <lcms2.h>

#include <algorithm>
#include <cstdlib>
#include <thread>
#include <vector>

#include "engine/ImageDescriptor.h"
#include "engine/PictureMetadata.h"

using vips::VImage;

namespace {

// Converting changes no 8-bit level by more than two: the profile is sRGB for the picture.
// sRGB profiles differ from lcms2's own by up to 1.4 levels at saturated corners (libvips'
// built-in one); a linear, Adobe RGB or Display P3 profile by 70 to 130.
constexpr int kSameWithin = 2 * 257;

cmsHPROFILE Opened(const QByteArray& profile) {
  return profile.isEmpty()
             ? nullptr
             : cmsOpenProfileFromMem(profile.constData(), cmsUInt32Number(profile.size()));
}

// A transform from profile to sRGB of the given pixel formats, or null.
cmsHTRANSFORM ToSrgbTransform(const QByteArray& profile, cmsColorSpaceSignature space,
                              cmsUInt32Number in, cmsUInt32Number out, cmsUInt32Number flags) {
  cmsHPROFILE source = Opened(profile);
  if (!source) return nullptr;
  cmsHPROFILE srgb = cmsCreate_sRGBProfile();
  cmsHTRANSFORM transform =
      cmsGetColorSpace(source) == space
          ? cmsCreateTransform(source, in, srgb, out, INTENT_RELATIVE_COLORIMETRIC, flags)
          : nullptr;
  cmsCloseProfile(source);
  cmsCloseProfile(srgb);
  return transform;
}

// A grey profile only bends the levels: one table for every channel keeps grey grey.
bool ConvertGrey(ImageDescriptor& pixels, const QByteArray& profile) {
  cmsHTRANSFORM transform = ToSrgbTransform(profile, cmsSigGrayData, TYPE_GRAY_8, TYPE_RGB_8, 0);
  if (!transform) return false;
  std::uint8_t levels[256], rgb[256 * 3];
  for (int i = 0; i < 256; ++i) levels[i] = std::uint8_t(i);
  cmsDoTransform(transform, levels, rgb, 256);
  cmsDeleteTransform(transform);
  for (int i = 0; i < 256; ++i) levels[i] = rgb[3 * i + 1];
  const std::size_t row = std::size_t(pixels.Width()) * 3;
  for (int y = 0; y < pixels.Height(); ++y) {
    std::uint8_t* p = pixels.Row(y);
    for (std::size_t i = 0; i < row; ++i) p[i] = levels[p[i]];
  }
  return true;
}

// The loader's EXIF, borrowed for as long as the image lives.
QByteArray ExifOf(const VImage& image) {
  std::size_t size = 0;
  const void* data =
      image.get_typeof(VIPS_META_EXIF_NAME) ? image.get_blob(VIPS_META_EXIF_NAME, &size) : nullptr;
  return data ? QByteArray::fromRawData(static_cast<const char*>(data), qsizetype(size))
              : QByteArray();
}

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
  bool profiled = image.get_typeof(VIPS_META_ICC_NAME) != 0;
  const bool cmyk = image.interpretation() == VIPS_INTERPRETATION_CMYK;
  if (!profiled && !cmyk && !SourceProfile({}, ExifOf(image)).isEmpty()) {
    const QByteArray& adobe = AdobeRgb();
    image = image.copy();
    vips_image_set_blob_copy(image.get_image(), VIPS_META_ICC_NAME, adobe.constData(),
                             std::size_t(adobe.size()));
    profiled = true;
  }
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

QByteArray PictureColour::SourceProfile(const QByteArray& icc, const QByteArray& exif) {
  if (!icc.isEmpty()) return IsSrgb(icc) ? QByteArray() : icc;
  return PictureMetadata::SaysAdobeRgb(exif) ? AdobeRgb() : QByteArray();
}

bool PictureColour::IsSrgb(const QByteArray& profile) {
  // Unoptimised, so the profile's own curves are used and not a table made of them.
  cmsHTRANSFORM transform = ToSrgbTransform(profile, cmsSigRgbData, TYPE_RGB_16, TYPE_RGB_16,
                                            cmsFLAGS_NOCACHE | cmsFLAGS_NOOPTIMIZE);
  if (!transform) return false;
  // Every channel in eighths, and every grey level: a tone curve differs most in the shadows.
  std::vector<cmsUInt16Number> in;
  for (int r = 0; r <= 8; ++r)
    for (int g = 0; g <= 8; ++g)
      for (int b = 0; b <= 8; ++b)
        for (int v : {r, g, b}) in.push_back(cmsUInt16Number(std::min(65535, v * 8192)));
  for (int level = 0; level < 256; ++level) in.insert(in.end(), 3, cmsUInt16Number(level * 257));
  std::vector<cmsUInt16Number> out(in.size());
  cmsDoTransform(transform, in.data(), out.data(), cmsUInt32Number(in.size() / 3));
  cmsDeleteTransform(transform);
  for (std::size_t i = 0; i < in.size(); ++i)
    if (std::abs(int(out[i]) - int(in[i])) > kSameWithin) return false;
  return true;
}

const QByteArray& PictureColour::AdobeRgb() {
  static const QByteArray profile = [] {
    const cmsCIExyY white{0.3127, 0.3290, 1.0};
    const cmsCIExyYTRIPLE primaries{{0.64, 0.33, 1.0}, {0.21, 0.71, 1.0}, {0.15, 0.06, 1.0}};
    cmsToneCurve* gamma = cmsBuildGamma(nullptr, 563.0 / 256.0);
    cmsToneCurve* curves[3] = {gamma, gamma, gamma};
    cmsHPROFILE built = cmsCreateRGBProfile(&white, &primaries, curves);
    cmsFreeToneCurve(gamma);
    QByteArray bytes;
    cmsUInt32Number size = 0;
    if (built && cmsSaveProfileToMem(built, nullptr, &size)) {
      bytes.resize(qsizetype(size));
      if (!cmsSaveProfileToMem(built, bytes.data(), &size)) bytes.clear();
    }
    if (built) cmsCloseProfile(built);
    return bytes;
  }();
  return profile;
}

bool PictureColour::ConvertToSrgb(ImageDescriptor& pixels, const QByteArray& profile) {
  if (pixels.Empty() || profile.isEmpty()) return false;
  if (ConvertGrey(pixels, profile)) return true;
  // lcms2 directly, 8-bit to 8-bit through its optimised lookup: a camera's 12 MP photo costs
  // a fraction of its decode, where libvips' float pipeline would double the load time.
  cmsHTRANSFORM transform =
      ToSrgbTransform(profile, cmsSigRgbData, TYPE_RGB_8, TYPE_RGB_8, cmsFLAGS_NOCACHE);
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
