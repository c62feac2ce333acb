#pragma once
// AreaShrinker: PixelScaler::AreaAverage one source row at a time, for pictures that are
// never whole in memory. Its results are the same bytes: the fixed-point sums are exact in
// 32-bit arithmetic, so summing each row across before summing rows down changes nothing.
#include <cstdint>
#include <vector>

#include "engine/PixelScaler.h"

class AreaShrinker {
 public:
  // The target must be no larger than the source in either direction.
  AreaShrinker(int sourceWidth, int sourceHeight, int targetWidth, int targetHeight);

  // Takes the next source row (sourceWidth RGB pixels). When it completes a target row, that
  // row (targetWidth RGB pixels) is returned until the next call; null otherwise.
  const std::uint8_t* Add(const std::uint8_t* row);

 private:
  std::vector<PixelScaler::AreaTap> columns_;
  std::vector<PixelScaler::AreaTap> rows_;
  std::vector<std::uint32_t> across_;  // the row being added, summed across
  // A source row counts for at most two target rows: the one it ends and the next.
  std::vector<std::uint32_t> sums_[2];
  std::vector<std::uint8_t> out_;
  int next_ = 0;    // the next source row
  int target_ = 0;  // the first target row not yet returned
};
