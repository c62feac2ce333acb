#include "EngineFixtures.h"

#include <algorithm>
#include <cstdlib>

#include "TestEnv.h"
#include "engine/clsImage.h"

namespace EngineFixtures {

QString Path(const QString& name) {
  return TestEnv::SourceDir() + "/tests/engine/fixtures/" + name;
}

Rgb Pattern(int x, int y) {
  static const Rgb kQuadrants[] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}};
  return kQuadrants[(y >= kHeight / 2 ? 2 : 0) + (x >= kWidth / 2 ? 1 : 0)];
}

Rgb PixelAt(const clsImage& image, int x, int y) {
  const std::uint8_t* p = image.Pixels().Row(y) + 3 * x;
  return {p[0], p[1], p[2]};
}

int Distance(const Rgb& a, const Rgb& b) {
  int d = 0;
  for (int i = 0; i < 3; ++i) d = std::max(d, std::abs(a[i] - b[i]));
  return d;
}

std::shared_ptr<clsImage> Make(int width, int height,
                               const std::function<Rgb(int, int)>& colourOf) {
  auto image = std::make_shared<clsImage>();
  if (image->Create(width, height, 24) != 0) return image;
  QImage surface = image->Surface();
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = surface.scanLine(y);
    for (int x = 0; x < width; ++x) {
      const Rgb c = colourOf(x, y);
      for (int i = 0; i < 3; ++i) row[3 * x + i] = std::uint8_t(c[i]);
    }
  }
  return image;
}

bool MatchesPattern(const clsImage& image, int tolerance, bool turned) {
  if (turned) {
    // Upright (x, y) shows stored (y, height - 1 - x).
    if (image.Width() != kHeight || image.Height() != kWidth) return false;
    for (int y = 0; y < kWidth; ++y)
      for (int x = 0; x < kHeight; ++x)
        if (Distance(PixelAt(image, x, y), Pattern(y, kHeight - 1 - x)) > tolerance &&
            std::abs(2 * y + 1 - kWidth) >= 4 && std::abs(2 * x + 1 - kHeight) >= 4)
          return false;
    return true;
  }
  if (image.Width() != kWidth || image.Height() != kHeight) return false;
  // Lossy formats blur the quadrant borders; judge them two pixels away from the borders.
  const int margin = tolerance > 0 ? 2 : 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      if (std::abs(2 * x + 1 - kWidth) < 2 * margin || std::abs(2 * y + 1 - kHeight) < 2 * margin)
        continue;
      if (Distance(PixelAt(image, x, y), Pattern(x, y)) > tolerance) return false;
    }
  return true;
}

}  // namespace EngineFixtures
