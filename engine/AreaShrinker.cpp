#include "engine/AreaShrinker.h"

#include <algorithm>

AreaShrinker::AreaShrinker(int sourceWidth, int sourceHeight, int targetWidth, int targetHeight)
    : columns_(PixelScaler::AreaTaps(sourceWidth, targetWidth)),
      rows_(PixelScaler::AreaTaps(sourceHeight, targetHeight)),
      across_(std::size_t(targetWidth) * 3),
      out_(std::size_t(targetWidth) * 3) {
  sums_[0].assign(across_.size(), 0u);
  sums_[1].assign(across_.size(), 0u);
}

const std::uint8_t* AreaShrinker::Add(const std::uint8_t* row) {
  if (target_ >= int(rows_.size())) return nullptr;
  std::uint32_t* across = across_.data();
  for (const PixelScaler::AreaTap& tap : columns_) {
    std::uint32_t r = 0, g = 0, b = 0;
    const std::uint8_t* p = row + std::size_t(tap.first) * 3;
    for (std::uint32_t w : tap.weights) {
      r += w * p[0];
      g += w * p[1];
      b += w * p[2];
      p += 3;
    }
    across[0] = r;
    across[1] = g;
    across[2] = b;
    across += 3;
  }
  const int y = next_++;
  const std::uint8_t* done = nullptr;
  // Target rows target_ and target_ + 1 are the only ones this row can reach.
  for (int t = target_; t < std::min(target_ + 2, int(rows_.size())); ++t) {
    const PixelScaler::AreaTap& tap = rows_[std::size_t(t)];
    const int k = y - tap.first;
    if (k < 0 || k >= int(tap.weights.size())) continue;
    std::vector<std::uint32_t>& sum = sums_[t & 1];
    const std::uint32_t w = tap.weights[std::size_t(k)];
    for (std::size_t i = 0; i < sum.size(); ++i) sum[i] += w * across_[i];
    if (k + 1 == int(tap.weights.size())) {
      constexpr std::uint32_t kHalf = 1u << (2 * PixelScaler::kAreaWeightBits - 1);
      for (std::size_t i = 0; i < sum.size(); ++i) {
        out_[i] = std::uint8_t((sum[i] + kHalf) >> (2 * PixelScaler::kAreaWeightBits));
        sum[i] = 0;
      }
      done = out_.data();
    }
  }
  if (done) ++target_;
  return done;
}
