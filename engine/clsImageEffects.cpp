// The picture effects of clsImage. Neighbourhood and geometry effects are libvips
// pipelines; per-pixel tone changes are tables applied to the 24-bit buffer.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#include "engine/VipsPipeline.h"
#include "engine/clsImage.h"

using vips::VImage;

namespace {

using Table = std::array<std::uint8_t, 256>;

template <typename Fn>
Table MakeTable(Fn toneOf) {
  Table table{};
  for (int v = 0; v < 256; ++v) table[v] = std::uint8_t(std::clamp(toneOf(v), 0, 255));
  return table;
}

void MapChannels(ImageDescriptor& pixels, const Table& table) {
  for (int y = 0; y < pixels.Height(); ++y) {
    std::uint8_t* p = pixels.Row(y);
    for (int i = 0; i < pixels.Width() * 3; ++i) p[i] = table[p[i]];
  }
}

int Luminance(const std::uint8_t* rgb) {
  return (299 * rgb[0] + 587 * rgb[1] + 114 * rgb[2] + 500) / 1000;
}

// Every channel in the range the conversion to the buffer expects.
VImage ToBytes(VImage image) { return image.cast(VIPS_FORMAT_UCHAR); }

VImage Convolve(VImage in, std::vector<double> mask, double scale) {
  VImage kernel = VImage::new_matrix(3, 3, mask.data(), int(mask.size()));
  kernel.set("scale", scale);
  kernel.set("offset", 0.0);
  return in.conv(kernel, VImage::option()->set("precision", VIPS_PRECISION_FLOAT));
}

const std::vector<double> kWhite = {255.0, 255.0, 255.0};

// A neighbour joins the average only while it is within the threshold of the centre.
void SelectiveBlur(const ImageDescriptor& src, ImageDescriptor& out, int threshold) {
  const int w = src.Width(), h = src.Height();
  for (int y = 0; y < h; ++y) {
    const int y0 = std::max(0, y - 1), y1 = std::min(h - 1, y + 1);
    std::uint8_t* target = out.Row(y);
    for (int x = 0; x < w; ++x) {
      const int x0 = std::max(0, x - 1), x1 = std::min(w - 1, x + 1);
      for (int c = 0; c < 3; ++c) {
        const int centre = src.Row(y)[3 * x + c];
        int sum = 0, count = 0;
        for (int ny = y0; ny <= y1; ++ny) {
          const std::uint8_t* row = src.Row(ny);
          for (int nx = x0; nx <= x1; ++nx) {
            const int v = row[3 * nx + c];
            if (std::abs(v - centre) <= threshold) sum += v, ++count;
          }
        }
        target[3 * x + c] = std::uint8_t((sum + count / 2) / count);
      }
    }
  }
}

}  // namespace

bool clsImage::TakeEffectResult(ImageDescriptor&& result, bool sameSize) {
  if (result.Empty()) return false;
  if (sameSize && (result.Width() != Width() || result.Height() != Height())) return false;
  if (result.Width() == Width() && result.Height() == Height()) {
    // Same picture with new pixels: holders comparing drawing contexts still see it as theirs.
    std::memcpy(pixels_.Bits(), result.Bits(), std::size_t(pixels_.Stride()) * Height());
    return true;
  }
  Attach(std::move(result));
  return true;
}

template <typename Op>
bool clsImage::RunEffect(const Op& op, bool sameSize) {
  if (pixels_.Empty()) return false;
  ImageDescriptor result;
  return VipsPipeline::Run(pixels_, op, result) && TakeEffectResult(std::move(result), sameSize);
}

bool clsImage::MapEffect(const std::array<std::uint8_t, 256>& table) {
  if (pixels_.Empty()) return false;
  MapChannels(pixels_, table);
  return true;
}

bool clsImage::Effect_DetectOutline() {
  // Laplacian: flat areas go black, edges light up by their contrast.
  return RunEffect([](VImage in) {
    return ToBytes(Convolve(in, {-1, -1, -1, -1, 8, -1, -1, -1, -1}, 1).abs());
  });
}

bool clsImage::Effect_FlipImage() {
  return RunEffect([](VImage in) { return in.flip(VIPS_DIRECTION_VERTICAL); });
}

bool clsImage::Effect_MirrorImage() {
  return RunEffect([](VImage in) { return in.flip(VIPS_DIRECTION_HORIZONTAL); });
}

bool clsImage::Effect_BrightenMidRange() {
  // Black and white stay; the middle tones rise most.
  return MapEffect(
      MakeTable([](int v) { return int(std::lround(255 * std::pow(v / 255.0, 0.7))); }));
}

bool clsImage::Effect_NegativeImage() {
  return RunEffect([](VImage in) { return in.invert(); });
}

bool clsImage::Effect_Sharpen() {
  return RunEffect([](VImage in) {
    return ToBytes(Convolve(in, {-1, -1, -1, -1, 16, -1, -1, -1, -1}, 8));
  });
}

bool clsImage::Effect_SharpenMore() {
  return RunEffect([](VImage in) {
    return ToBytes(Convolve(in, {-1, -1, -1, -1, 9, -1, -1, -1, -1}, 1));
  });
}

bool clsImage::Effect_GrayScale() {
  if (pixels_.Empty()) return false;
  for (int y = 0; y < Height(); ++y) {
    std::uint8_t* p = pixels_.Row(y);
    for (int x = 0; x < Width(); ++x, p += 3) p[0] = p[1] = p[2] = std::uint8_t(Luminance(p));
  }
  return true;
}

bool clsImage::Effect_Blur(int threshold) {
  if (pixels_.Empty()) return false;
  threshold = std::clamp(threshold, 0, 255);
  if (threshold == 0) return true;
  ImageDescriptor result;
  if (result.Allocate(Width(), Height(), false) != kImageOk) return false;
  SelectiveBlur(pixels_, result, threshold);
  return TakeEffectResult(std::move(result), true);
}

bool clsImage::Effect_ChangeBrightness(int amount) {
  amount = std::clamp(amount, -255, 255);
  return MapEffect(MakeTable([amount](int v) { return v + amount; }));
}

bool clsImage::Effect_Delate(int amount) {
  if (pixels_.Empty()) return false;
  amount = std::clamp(amount, 0, 255);
  if (amount == 0) return true;
  ImageDescriptor brightest;
  if (!VipsPipeline::Run(
          pixels_, [](VImage in) { return in.rank(3, 3, 8); }, brightest) ||
      brightest.Width() != Width() || brightest.Height() != Height())
    return false;
  // Each pixel moves towards its brightest neighbour by amount / 255.
  for (int y = 0; y < Height(); ++y) {
    std::uint8_t* p = pixels_.Row(y);
    const std::uint8_t* m = brightest.Row(y);
    for (int i = 0; i < Width() * 3; ++i)
      p[i] = std::uint8_t(p[i] + ((m[i] - p[i]) * amount + 127) / 255);
  }
  return true;
}

bool clsImage::Effect_Kodalith(int threshold) {
  if (pixels_.Empty()) return false;
  for (int y = 0; y < Height(); ++y) {
    std::uint8_t* p = pixels_.Row(y);
    for (int x = 0; x < Width(); ++x, p += 3)
      p[0] = p[1] = p[2] = Luminance(p) >= threshold ? 255 : 0;
  }
  return true;
}

bool clsImage::Effect_LimitBrightnessLevel(int upperLimit) {
  upperLimit = std::clamp(upperLimit, 0, 255);
  return MapEffect(MakeTable([upperLimit](int v) { return std::min(v, upperLimit); }));
}

bool clsImage::Effect_RemoveNoise(int filterSize) {
  const int size = std::clamp(filterSize | 1, 3, 11);  // the window needs a centre
  return RunEffect([size](VImage in) { return in.median(size); });
}

bool clsImage::Effect_Rotate(double angle, bool enlarge) {
  if (pixels_.Empty() || !std::isfinite(angle)) return false;
  int newWidth = Width(), newHeight = Height();
  if (enlarge) RotatedSize(Width(), Height(), angle, newWidth, newHeight);
  if (!ImageDescriptor::SizeAllowed(newWidth, newHeight)) return false;
  const double turn = std::remainder(angle, 360.0);  // -180..180
  return RunEffect(
      [=](VImage in) {
        VImage turned;
        // Quarter turns are exact pixel moves; other angles are interpolated.
        if (turn == 0)
          turned = in;
        else if (turn == 90)
          turned = in.rot(VIPS_ANGLE_D90);
        else if (turn == -90)
          turned = in.rot(VIPS_ANGLE_D270);
        else if (std::fabs(turn) == 180)
          turned = in.rot(VIPS_ANGLE_D180);
        else
          turned = in.rotate(turn, VImage::option()->set("background", kWhite));
        const int left = (newWidth - turned.width()) / 2;
        const int top = (newHeight - turned.height()) / 2;
        return turned.embed(
            left, top, newWidth, newHeight,
            VImage::option()->set("extend", VIPS_EXTEND_BACKGROUND)->set("background", kWhite));
      },
      false);
}

namespace {

// Rounds a side up so the whole turned picture fits, after dropping the floating-point
// noise that cos(90 degrees) leaves: a quarter turn swaps the sides exactly, and no turn
// keeps an odd side as it is.
int SideFor(double exact) {
  const double whole = std::nearbyint(exact);
  return int(std::fabs(exact - whole) < 1e-6 ? whole : std::ceil(exact));
}

}  // namespace

void clsImage::RotatedSize(int width, int height, double angle, int& newWidth, int& newHeight) {
  // Absolute values: every angle gives the bounding box, never a zero or negative size.
  // Reduced first, as Effect_Rotate turns: a huge angle would overflow to an infinite radian
  // value; one that is not a number turns nothing.
  const double turn = std::isfinite(angle) ? std::remainder(angle, 360.0) : 0.0;
  const double a = turn * 3.14159265358979 / 180;
  const double c = std::fabs(std::cos(a));
  const double s = std::fabs(std::sin(a));
  newWidth = SideFor(width * c + height * s);
  newHeight = SideFor(height * c + width * s);
}
