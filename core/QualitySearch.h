#pragma once
// QualitySearch: the highest JPEG quality whose file fits a byte budget, found by bisection
// so a picture costs a handful of encodes rather than one per quality.
#include <QByteArray>
#include <functional>

class QualitySearch {
 public:
  // Encodes at a quality into bytes, setting lossless when the bytes are a tidy; false on failure.
  using Encoder = std::function<bool(int quality, QByteArray& bytes, bool& lossless)>;
  enum class Outcome { kFits, kTooLarge, kFailed };
  struct Found {
    int quality = 0;  // the quality of bytes (with kTooLarge: the lowest, which did not fit)
    QByteArray bytes;
    bool lossless = false;
    int encodes = 0;
  };

  // Tries highest first, then lowest, then bisects between the last that fit and the first
  // that did not. Sizes are assumed to grow with quality; where they do not, the quality
  // found still fits and the next one up does not.
  static Outcome Highest(const Encoder& encode, int lowest, int highest, qint64 maxBytes,
                         Found& found);
};
