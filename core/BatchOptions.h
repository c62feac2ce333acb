#pragma once
// BatchOptions: what the options page sets for every picture of a batch run: quality,
// sizing and the effect list, applied by BatchJob.
#include <vector>

#include "core/AutoQuality.h"
#include "core/QualityRange.h"
#include "engine/EffectCatalog.h"

struct BatchOptions {
  struct Effect {
    const EffectCatalog::Entry* entry = nullptr;
    int level = 0;
  };

  int quality = QualityRange::kDefault;
  bool resize = false;      // the resize box ticked
  bool manualSize = false;  // width/height rather than the scale
  int width = 0;            // manual size; 0 stands for an empty box
  int height = 0;
  int scale = 100;              // percent
  std::vector<Effect> effects;  // applied in this order
  bool stripMetadata = false;   // write no EXIF, XMP or IPTC of the source
  bool keepDates = false;       // a replaced file keeps its modification time
  // Off: a JPEG whose result is not smaller is kept as it is (copied when written elsewhere).
  bool allowLarger = false;
  bool progressive = false;  // progressive JPEG scans
  bool tuned = false;        // Trimjet's own encoder: fewer bytes, several times the time
  // Above 0: the highest quality up to `quality` whose file takes at most this many bytes.
  long long maxBytes = 0;
  // Not kOff: the lowest quality that looks like the picture at this level replaces `quality`
  // (held under the byte budget when there is one).
  AutoQuality::Level autoQuality = AutoQuality::Level::kOff;
};
