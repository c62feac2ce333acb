// The Effect_ operations on arbitrary small pictures with arbitrary parameters, out-of-range
// values and odd angles included. An effect either changes the picture in place or leaves it
// as it was; only a rotation that enlarges changes the size, to RotatedSize.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstring>

#include "FuzzSupport.h"
#include "ImageChecks.h"

namespace {
using FuzzSupport::Check;

bool SamePixels(const ImageDescriptor& a, const ImageDescriptor& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y)
    if (std::memcmp(a.Row(y), b.Row(y), std::size_t(a.Width()) * 3) != 0) return false;
  return true;
}

bool Apply(clsImage& image, int which, int amount, double angle, bool enlarge) {
  switch (which) {
    case 0:
      return image.Effect_DetectOutline();
    case 1:
      return image.Effect_FlipImage();
    case 2:
      return image.Effect_MirrorImage();
    case 3:
      return image.Effect_BrightenMidRange();
    case 4:
      return image.Effect_NegativeImage();
    case 5:
      return image.Effect_Sharpen();
    case 6:
      return image.Effect_SharpenMore();
    case 7:
      return image.Effect_GrayScale();
    case 8:
      return image.Effect_Blur(amount);
    case 9:
      return image.Effect_ChangeBrightness(amount);
    case 10:
      return image.Effect_Delate(amount);
    case 11:
      return image.Effect_Kodalith(amount);
    case 12:
      return image.Effect_LimitBrightnessLevel(amount);
    case 13:
      return image.Effect_RemoveNoise(amount);
    default:
      return image.Effect_Rotate(angle, enlarge);
  }
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzSupport::Initialize();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const int width = in.ConsumeIntegralInRange(1, 48);
  const int height = in.ConsumeIntegralInRange(1, 48);
  const int which = in.ConsumeIntegralInRange(0, 14);
  // Mostly values near the documented ranges, sometimes anything at all, NaN and infinity
  // included.
  const int amount =
      in.ConsumeBool() ? in.ConsumeIntegral<int>() : in.ConsumeIntegralInRange(-300, 300);
  double angle = in.ConsumeBool() ? in.ConsumeFloatingPoint<double>()
                                  : in.ConsumeFloatingPointInRange(-720.0, 720.0);
  const bool enlarge = in.ConsumeBool();
  const bool empty = in.ConsumeProbability<float>() < 0.02f;

  clsImage image;
  if (!empty) {
    Check(image.Create(width, height, 24) == kImageOk, "a small picture could not be made");
    QImage surface = image.Surface();
    for (int y = 0; y < height; ++y) {
      const std::string row = in.ConsumeBytesAsString(std::size_t(width) * 3);
      std::memcpy(surface.scanLine(y), row.data(), row.size());
    }
  }
  std::shared_ptr<clsImage> before = image.GetNewInstance();
  const bool ok = Apply(image, which, amount, angle, enlarge);
  if (empty) {
    Check(!ok && image.hDC() == 0, "an effect on no picture succeeded or made one");
    return 0;
  }
  CheckLoadResult(image, true);
  if (!ok) {
    Check(SamePixels(image.Pixels(), before->Pixels()), "a failed effect changed the picture");
    return 0;
  }
  if (which == 14 && enlarge) {
    int w = 0, h = 0;
    clsImage::RotatedSize(width, height, angle, w, h);
    Check(image.Width() == w && image.Height() == h, "a rotation not of RotatedSize");
  } else if (which != 14) {
    Check(image.Width() == width && image.Height() == height, "an effect changed the size");
  }
  return 0;
}
