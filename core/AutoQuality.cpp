#include "core/AutoQuality.h"

#include <algorithm>
#include <cstring>

#include "core/QualitySearch.h"
#include "engine/JpegCodec.h"
#include "engine/LumaSsim.h"

namespace {

struct LevelInfo {
  AutoQuality::Level level;
  const char* name;
  double threshold;
};

// On the wallpaper photos a smooth picture reaches 0.96 near quality 40, a grainy one near 85;
// a JPEG source reaches 0.98 at about its own quality.
constexpr LevelInfo kLevels[] = {
    {AutoQuality::Level::kMedium, "medium", 0.93},
    {AutoQuality::Level::kHigh, "high", 0.96},
    {AutoQuality::Level::kVisuallyLossless, "visually-lossless", 0.98},
};

constexpr int kTile = 128;     // a multiple of the 16-pixel MCU of 4:2:0 JPEG
constexpr int kMaxTiles = 64;  // 64 tiles of 128 x 128: one megapixel
constexpr std::int64_t kWholeUpTo = 2'000'000;

// Tile origins along a side, spread evenly and on the 16-pixel grid.
int Origin(int index, int count, int length) {
  if (count <= 1) return 0;
  return int(std::int64_t(index) * (length - kTile) / (count - 1)) & ~15;
}

}  // namespace

AutoQuality::Level AutoQuality::FromName(const QString& name, bool& ok) {
  for (const LevelInfo& info : kLevels)
    if (name == QLatin1String(info.name)) {
      ok = true;
      return info.level;
    }
  ok = false;
  return Level::kOff;
}

QString AutoQuality::Name(Level level) {
  for (const LevelInfo& info : kLevels)
    if (info.level == level) return QString::fromLatin1(info.name);
  return QString();
}

QStringList AutoQuality::Names() {
  QStringList names;
  for (const LevelInfo& info : kLevels) names << QString::fromLatin1(info.name);
  return names;
}

double AutoQuality::Threshold(Level level) {
  for (const LevelInfo& info : kLevels)
    if (info.level == level) return info.threshold;
  return 0;
}

ImageDescriptor AutoQuality::Sample(const ImageDescriptor& picture) {
  const int w = picture.Width(), h = picture.Height();
  if (std::int64_t(w) * h <= kWholeUpTo || w < kTile || h < kTile) return picture.Clone();
  int cols = std::min(w / kTile, 16), rows = std::min(h / kTile, 16);
  while (cols * rows > kMaxTiles) (cols >= rows ? cols : rows)--;
  ImageDescriptor sample;
  if (sample.Allocate(cols * kTile, rows * kTile, false) != kImageOk) return sample;
  for (int ty = 0; ty < rows; ++ty) {
    const int top = Origin(ty, rows, h);
    for (int tx = 0; tx < cols; ++tx) {
      const int left = Origin(tx, cols, w);
      for (int y = 0; y < kTile; ++y)
        std::memcpy(sample.Row(ty * kTile + y) + std::size_t(tx) * kTile * 3,
                    picture.Row(top + y) + std::size_t(left) * 3, std::size_t(kTile) * 3);
    }
  }
  return sample;
}

double AutoQuality::Measure(const ImageDescriptor& sample, int quality) {
  // The encoder's settings as every save uses them; scans and metadata change no pixel.
  JpegCodec::Settings settings;
  settings.quality = quality;
  QByteArray jpeg;
  ImageDescriptor decoded;
  int orientation = 1;
  if (!JpegCodec::Encode(sample, settings, jpeg) ||
      !JpegCodec::Decode(reinterpret_cast<const std::uint8_t*>(jpeg.constData()),
                         std::size_t(jpeg.size()), decoded, &orientation))
    return -1;
  return LumaSsim::Compare(sample, decoded);
}

bool AutoQuality::Find(const ImageDescriptor& picture, Level level, Found& found, int highest) {
  const ImageDescriptor sample = Sample(picture);
  if (sample.Empty()) return false;
  const double threshold = Threshold(level);
  Found result;
  double atQuality[kHighest + 2] = {};
  const bool ok = QualitySearch::Lowest(
      [&](int quality, bool& good) {
        const double similarity = Measure(sample, quality);
        atQuality[quality] = similarity;
        good = similarity >= threshold;
        return similarity >= 0;
      },
      kLowest, std::clamp(highest, kLowest, kHighest), result.quality, result.trials);
  if (!ok) return false;
  result.similarity = atQuality[result.quality];
  found = result;
  return true;
}
