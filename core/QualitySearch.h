#pragma once
// QualitySearch: qualities found by bisection, so a picture costs a handful of encodes rather
// than one per quality: the highest whose file fits a byte budget, or the lowest that still
// looks good enough.
#include <QByteArray>
#include <functional>

class QualitySearch {
 public:
  // Encodes at a quality into bytes, setting lossless when the bytes are a tidy; false on failure.
  using Encoder = std::function<bool(int quality, QByteArray& bytes, bool& lossless)>;
  // Judges one quality: sets good when it looks good enough; false on failure.
  using Judge = std::function<bool(int quality, bool& good)>;
  // Scores one quality (higher looks better); false on failure.
  using Scorer = std::function<bool(int quality, double& score)>;
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
  // The lowest quality in [lowest, highest] judged good, in quality; highest when none is.
  // Bisects without assuming either end, so the quality found was judged good (or is
  // highest, judged not good) and the one below it, when not under lowest, was judged not
  // good, even where the judgement is not monotone in quality. False when a judge failed.
  static bool Lowest(const Judge& judge, int lowest, int highest, int& quality, int& judged);
  // The same answer with the same guarantee, for a judgement that is a score reaching target:
  // starts at guess and steers by the scores seen (the point where the line between the two
  // qualities around target crosses it), so it needs three or four scores where bisection
  // needs seven; it bisects whenever steering does not halve the range.
  static bool Reaching(const Scorer& score, double target, int guess, int lowest, int highest,
                       int& quality, int& judged);

 private:
  // Narrows below < above to above - below == 1; isAbove(q) says on which side q lies.
  static bool Bisect(int& below, int& above, const std::function<bool(int, bool&)>& isAbove);
};
