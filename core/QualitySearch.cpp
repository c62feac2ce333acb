#include "core/QualitySearch.h"

#include <algorithm>
#include <cmath>

bool QualitySearch::Bisect(int& below, int& above, const std::function<bool(int, bool&)>& isAbove) {
  while (above - below > 1) {
    const int middle = below + (above - below) / 2;
    bool up = false;
    if (!isAbove(middle, up)) return false;
    (up ? above : below) = middle;
  }
  return true;
}

QualitySearch::Outcome QualitySearch::Highest(const Encoder& encode, int lowest, int highest,
                                              qint64 maxBytes, Found& found) {
  if (highest < lowest) highest = lowest;
  int encodes = 0;
  Found trial;
  auto tryQuality = [&](int quality) {
    trial.quality = quality;
    trial.lossless = false;
    ++encodes;
    return encode(quality, trial.bytes, trial.lossless);
  };
  auto finish = [&](Found& result, Outcome outcome) {
    found = std::move(result);
    found.encodes = encodes;
    return outcome;
  };
  if (!tryQuality(highest)) return Outcome::kFailed;
  if (trial.bytes.size() <= maxBytes) return finish(trial, Outcome::kFits);
  if (lowest == highest) return finish(trial, Outcome::kTooLarge);
  if (!tryQuality(lowest)) return Outcome::kFailed;
  if (trial.bytes.size() > maxBytes) return finish(trial, Outcome::kTooLarge);
  Found fits = trial;
  int below = lowest, above = highest;
  const bool ok = Bisect(below, above, [&](int quality, bool& tooBig) {
    if (!tryQuality(quality)) return false;
    tooBig = trial.bytes.size() > maxBytes;
    if (!tooBig) fits = trial;
    return true;
  });
  return ok ? finish(fits, Outcome::kFits) : Outcome::kFailed;
}

bool QualitySearch::Lowest(const Judge& judge, int lowest, int highest, int& quality, int& judged) {
  if (highest < lowest) highest = lowest;
  judged = 0;
  // Both ends start outside the range: one past the top stands for "none was good".
  int below = lowest - 1, above = highest + 1;
  const bool ok = Bisect(below, above, [&](int q, bool& good) {
    ++judged;
    return judge(q, good);
  });
  if (!ok) return false;
  quality = above > highest ? highest : above;
  return true;
}

bool QualitySearch::Reaching(const Scorer& score, double target, int guess, int lowest,
                             int highest, int& quality, int& judged) {
  if (highest < lowest) highest = lowest;
  judged = 0;
  // As in Lowest: both ends start outside the range, and one past the top means none reached it.
  int below = lowest - 1, above = highest + 1;
  double belowScore = 0, aboveScore = 0;
  bool belowScored = false, aboveScored = false;
  int q = std::clamp(guess, lowest, highest), step = 8, slow = 0;
  while (above - below > 1) {
    double s = 0;
    ++judged;
    if (!score(q, s)) return false;
    const int width = above - below;
    if (s >= target) {
      above = q;
      aboveScore = s;
      aboveScored = true;
    } else {
      below = q;
      belowScore = s;
      belowScored = true;
    }
    if (above - below <= 1) break;
    slow = (above - below) * 2 > width ? slow + 1 : 0;
    if (belowScored && aboveScored && slow < 2) {
      const double t = (target - belowScore) / std::max(aboveScore - belowScore, 1e-9);
      q = below + int(std::ceil(t * (above - below)));
    } else if (belowScored && aboveScored) {
      q = below + (above - below) / 2;
      slow = 0;
    } else {
      // Only one side scored so far: walk away from it in growing steps.
      q = aboveScored ? above - step : below + step;
      step *= 2;
    }
    q = std::clamp(q, below + 1, above - 1);
  }
  quality = above > highest ? highest : above;
  return true;
}
