#include "core/QualitySearch.h"

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
