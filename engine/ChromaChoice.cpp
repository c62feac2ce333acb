#include "engine/ChromaChoice.h"

#include <algorithm>
#include <cstdlib>

namespace ChromaChoice {
namespace {

// Above this share of sharp neighbours the picture's colour has real detail in that direction.
constexpr double kDetailShare = 0.01;
// From here on full colour pays on nearly every photo measured (SSIMULACRA2, bytes at the
// same score): the quantiser keeps fine colour, and halving it becomes the largest error.
constexpr int kFullColourFrom = 80;

int Difference(const std::uint8_t* plane, std::size_t a, std::size_t b) {
  return std::abs(int(plane[a]) - int(plane[b]));
}

}  // namespace

Layout Pick(const std::uint8_t* cb, const std::uint8_t* cr, int width, int height, int quality) {
  if (width < 2 || height < 2 || quality >= kFullColourFrom) return Layout::k444;
  const int sharp = 10 + (100 - std::clamp(quality, 1, 100)) / 5;
  long across = 0, down = 0, pairs = 0;
  for (int y = 0; y + 1 < height; y += 4) {
    const std::size_t row = std::size_t(y) * std::size_t(width);
    for (int x = 0; x + 1 < width; x += 2) {
      const std::size_t p = row + std::size_t(x);
      const std::size_t right = p + 1, below = p + std::size_t(width);
      across += std::max(Difference(cb, p, right), Difference(cr, p, right)) > sharp;
      down += std::max(Difference(cb, p, below), Difference(cr, p, below)) > sharp;
      ++pairs;
    }
  }
  const bool detailAcross = across > kDetailShare * double(pairs);
  const bool detailDown = down > kDetailShare * double(pairs);
  if (detailAcross) return Layout::k444;
  return detailDown ? Layout::k422 : Layout::k420;
}

}  // namespace ChromaChoice
