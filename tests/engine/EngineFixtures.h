#pragma once
// Shared by the engine tests: the fixture files (made by fixtures/make_fixtures.py) and the
// 24 x 16 four-quadrant pattern they all hold.
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class clsImage;

namespace EngineFixtures {

using Rgb = std::array<int, 3>;

constexpr int kWidth = 24;
constexpr int kHeight = 16;

QString Path(const QString& name);
// Colour of the pattern at (x, y): red, green / blue, yellow quadrants.
Rgb Pattern(int x, int y);
Rgb PixelAt(const clsImage& image, int x, int y);
// Largest channel difference.
int Distance(const Rgb& a, const Rgb& b);
// A picture filled by colourOf(x, y).
std::shared_ptr<clsImage> Make(int width, int height, const std::function<Rgb(int, int)>& colourOf);
// Every pixel equals the pattern, or is within tolerance of it (then away from the quadrant
// borders, which lossy formats blur). Turned: the pattern as an EXIF orientation 6 shows it.
bool MatchesPattern(const clsImage& image, int tolerance = 0, bool turned = false);

}  // namespace EngineFixtures
