#include "core/AutoQuality.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/QualityRange.h"
#include "core/QualitySearch.h"
#include "engine/JpegCodec.h"
#include "engine/Ssimulacra2.h"

namespace {

struct LevelInfo {
  AutoQuality::Level level;
  const char* name;
  double threshold;
  int guess;  // where the search starts: about where photos reach the level
};

// SSIMULACRA2 scores: about 70 is what the web calls medium quality, 80 high, and at 90 the
// result cannot be told from the picture at 1:1.
constexpr LevelInfo kLevels[] = {
    {AutoQuality::Level::kMedium, "medium", 70, 60},
    {AutoQuality::Level::kHigh, "high", 80, 78},
    {AutoQuality::Level::kVisuallyLossless, "visually-lossless", 90, 90},
};

constexpr int kDefaultGuess = 75;
constexpr int kTile = 128;     // a multiple of the 16-pixel MCU of 4:2:0 JPEG
constexpr int kMaxTiles = 64;  // 64 tiles of 128 x 128: one megapixel
constexpr std::int64_t kWholeUpTo = 2'000'000;
// A mosaic of tiles scores about 2.5 to 3 higher than its whole picture at the same quality
// (wallpaper photos of 4 to 15 MP): it lacks the picture's coarse structure, where the
// measure's heaviest weights lie. Its trials aim that much higher.
constexpr double kTiledMargin = 2.5;

bool Tiled(const ImageDescriptor& picture) {
  const int w = picture.Width(), h = picture.Height();
  return std::int64_t(w) * h > kWholeUpTo && w >= kTile && h >= kTile;
}

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

double AutoQuality::SampleTarget(Level level, const ImageDescriptor& picture) {
  return Threshold(level) + (Tiled(picture) ? kTiledMargin : 0);
}

ImageDescriptor AutoQuality::Sample(const ImageDescriptor& picture) {
  const int w = picture.Width(), h = picture.Height();
  if (!Tiled(picture)) return picture.Clone();
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

namespace {

// The sample encoded and decoded at quality with the settings every save uses (scans and
// metadata change no pixel), scored against the sample; NaN on failure (a score may be
// negative).
double Trial(Ssimulacra2& measure, const ImageDescriptor& sample, int quality) {
  const JpegCodec::Settings settings = JpegCodec::SettingsFor(quality, false, true);
  QByteArray jpeg;
  ImageDescriptor decoded;
  int orientation = 1;
  if (!JpegCodec::Encode(sample, settings, jpeg) ||
      !JpegCodec::Decode(reinterpret_cast<const std::uint8_t*>(jpeg.constData()),
                         std::size_t(jpeg.size()), decoded, &orientation))
    return std::nan("");
  return measure.Score(decoded).value_or(std::nan(""));
}

}  // namespace

double AutoQuality::Measure(const ImageDescriptor& sample, int quality) {
  Ssimulacra2 measure(sample);
  return Trial(measure, sample, quality);
}

bool AutoQuality::Find(const ImageDescriptor& picture, Level level, Found& found, int highest) {
  const ImageDescriptor sample = Sample(picture);
  if (sample.Empty()) return false;
  const double threshold = SampleTarget(level, picture);
  Ssimulacra2 measure(sample);
  Found result;
  double atQuality[QualityRange::kHighest + 2] = {};
  int guess = kDefaultGuess;
  for (const LevelInfo& info : kLevels)
    if (info.level == level) guess = info.guess;
  const bool ok = QualitySearch::Reaching(
      [&](int quality, double& score) {
        score = atQuality[quality] = Trial(measure, sample, quality);
        return !std::isnan(score);
      },
      threshold, guess, QualityRange::kLowest,
      std::clamp(highest, QualityRange::kLowest, QualityRange::kHighest), result.quality,
      result.trials);
  if (!ok) return false;
  result.similarity = atQuality[result.quality];
  found = result;
  return true;
}
