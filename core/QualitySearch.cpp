#include "core/QualitySearch.h"

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
  const int tooBigAtTop = highest;
  if (!tryQuality(lowest)) return Outcome::kFailed;
  if (trial.bytes.size() > maxBytes) return finish(trial, Outcome::kTooLarge);
  Found fits = trial;
  int tooBig = tooBigAtTop;
  while (tooBig - fits.quality > 1) {
    const int middle = fits.quality + (tooBig - fits.quality) / 2;
    if (!tryQuality(middle)) return Outcome::kFailed;
    if (trial.bytes.size() <= maxBytes)
      fits = trial;
    else
      tooBig = middle;
  }
  return finish(fits, Outcome::kFits);
}
