#pragma once
// AutoQuality: the lowest JPEG quality whose result still looks like the picture, judged by
// its SSIMULACRA2 score (Ssimulacra2, which sees colour as well as detail) against the level's.
// A large picture is judged on a sample of tiles taken on the encoder's 16-pixel grid, so each
// trial encodes about a megapixel instead of all of it while its tiles get the same
// quantisation errors as in the whole picture.
#include <QString>
#include <QStringList>

#include "core/QualityRange.h"
#include "engine/ImageDescriptor.h"

class AutoQuality {
 public:
  enum class Level { kOff, kMedium, kHigh, kVisuallyLossless };
  static constexpr Level kDefaultLevel = Level::kHigh;

  // "medium", "high", "visually-lossless"; kOff for any other name, with ok false.
  static Level FromName(const QString& name, bool& ok);
  static QString Name(Level level);
  static QStringList Names();  // strictest last
  // The SSIMULACRA2 score a result must reach at the level.
  static double Threshold(Level level);
  // The score the picture's sample must reach for that: higher for a sample of tiles.
  static double SampleTarget(Level level, const ImageDescriptor& picture);

  // What the trials encode: the picture itself up to about two megapixels, else a mosaic of
  // tiles spread evenly over it.
  static ImageDescriptor Sample(const ImageDescriptor& picture);
  // The score of sample encoded and decoded at quality against itself; NaN on failure.
  static double Measure(const ImageDescriptor& sample, int quality);

  struct Found {
    int quality = QualityRange::kHighest;
    double similarity = 0;  // of the sample at quality
    int trials = 0;
  };
  // The lowest quality in [QualityRange::kLowest, highest] whose sample reaches the level's
  // threshold, or highest when none does; false when the picture could not be encoded or decoded.
  static bool Find(const ImageDescriptor& picture, Level level, Found& found,
                   int highest = QualityRange::kHighest);
};
