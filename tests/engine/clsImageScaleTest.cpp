#include <gtest/gtest.h>

#include <QPainter>
#include <set>

#include "EngineFixtures.h"
#include "engine/clsImage.h"

using namespace EngineFixtures;

namespace {

// One-pixel black and white checkerboard: nearest neighbour keeps pure colours, any
// averaging produces grey.
std::shared_ptr<clsImage> Checkerboard(int w, int h) {
  return Make(w, h, [](int x, int y) { return (x + y) % 2 ? Rgb{255, 255, 255} : Rgb{0, 0, 0}; });
}

std::set<int> Levels(const clsImage& image) {
  std::set<int> levels;
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x) levels.insert(PixelAt(image, x, y)[0]);
  return levels;
}

}  // namespace

TEST(ScaledInstance, SizeBelowOneBecomesOneAndIsWrittenBack) {
  auto source = Make(8, 8, Pattern);
  int w = 0, h = -3;
  auto scaled = source->GetScaledInstance(w, h, nullptr, true, false);
  ASSERT_TRUE(scaled);
  EXPECT_EQ(w, 1);
  EXPECT_EQ(h, 1);
  EXPECT_EQ(scaled->Width(), 1);
  EXPECT_EQ(scaled->Height(), 1);
}

class KeepProportions : public ::testing::TestWithParam<bool> {};

TEST_P(KeepProportions, WidePictureIsCentredVertically) {
  const bool fast = GetParam();
  auto source = Make(200, 100, [](int, int) { return Rgb{200, 100, 50}; });
  int w = 100, h = 100;
  auto scaled = source->GetScaledInstance(w, h, nullptr, fast, true);
  ASSERT_TRUE(scaled);
  ASSERT_EQ(scaled->Width(), 100);
  for (int y = 0; y < 100; ++y) {
    const bool inside = y >= 25 && y < 75;
    const Rgb expected = inside ? Rgb{200, 100, 50} : Rgb{0, 0, 0};  // margins left black
    ASSERT_EQ(PixelAt(*scaled, 50, y), expected) << "row " << y;
    ASSERT_EQ(PixelAt(*scaled, 0, y), expected) << "row " << y;
  }
}

INSTANTIATE_TEST_SUITE_P(FastAndSmooth, KeepProportions, ::testing::Bool());

TEST(ScaledInstance, DestinationOfTheRightSizeIsReused) {
  auto source = Make(40, 30, Pattern);
  auto dest = std::make_shared<clsImage>();
  dest->Create(20, 15, 24);
  const std::uint8_t* bits = dest->Pixels().Bits();
  const int dc = dest->hDC();
  int w = 20, h = 15;
  EXPECT_EQ(source->GetScaledInstance(w, h, dest, false, false), dest);
  EXPECT_EQ(dest->Pixels().Bits(), bits);
  EXPECT_EQ(dest->hDC(), dc);
  int w2 = 10, h2 = 10;  // another size: re-created
  EXPECT_EQ(source->GetScaledInstance(w2, h2, dest, true, false), dest);
  EXPECT_EQ(dest->Width(), 10);
}

TEST(ScaledInstance, FastPicksPixelsSmoothAverages) {
  auto board = Checkerboard(64, 64);
  int w = 32, h = 32;
  auto fast = board->GetScaledInstance(w, h, nullptr, true, false);
  auto smooth = board->GetScaledInstance(w, h, nullptr, false, false);
  ASSERT_TRUE(fast && smooth);
  for (int level : Levels(*fast)) EXPECT_TRUE(level == 0 || level == 255) << level;
  for (int level : Levels(*smooth)) EXPECT_NEAR(level, 128, 8);
}

// 3 -> 2 columns: target 0 covers source [0, 1.5), target 1 covers [1.5, 3).
TEST(ScaledInstance, SmoothShrinkIsTheAreaWeightedMean) {
  auto source = Make(3, 1, [](int x, int) { return Rgb{x * 90, 255 - x * 90, 60}; });
  int w = 2, h = 1;
  auto small = source->GetScaledInstance(w, h, nullptr, false, false);
  ASSERT_TRUE(small);
  EXPECT_EQ(PixelAt(*small, 0, 0), (Rgb{30, 225, 60}));
  EXPECT_EQ(PixelAt(*small, 1, 0), (Rgb{150, 105, 60}));
}

TEST(ScaledInstance, SmoothKeepsFlatAreasAndGrowsSmoothly) {
  auto flat = Make(37, 23, [](int, int) { return Rgb{201, 17, 99}; });
  for (auto [w, h] : {std::pair{11, 7}, std::pair{36, 1}, std::pair{74, 46}, std::pair{20, 40}}) {
    auto scaled = flat->GetScaledInstance(w, h, nullptr, false, false);
    ASSERT_TRUE(scaled);
    ASSERT_EQ(scaled->Width(), w);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        ASSERT_LE(Distance(PixelAt(*scaled, x, y), Rgb{201, 17, 99}), 1) << w << "x" << h;
  }
}

TEST(ScaledInstance, FastUpscaleRepeatsPixelsExactly) {
  auto source = Make(3, 2, [](int x, int y) { return Rgb{x * 80, y * 80, 5}; });
  int w = 9, h = 4;
  auto big = source->GetScaledInstance(w, h, nullptr, true, false);
  ASSERT_TRUE(big);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 9; ++x) ASSERT_EQ(PixelAt(*big, x, y), PixelAt(*source, x / 3, y / 2));
}

TEST(ScaledInstance, EmptySourceGivesNothing) {
  clsImage empty;
  int w = 5, h = 5;
  EXPECT_EQ(empty.GetScaledInstance(w, h, nullptr, true, false), nullptr);
}

TEST(ResizeImage, ChangesSizeOrKeepsThePictureOnFailure) {
  auto image = Make(40, 20, Pattern);
  image->Resize(20, 10, false);
  EXPECT_EQ(image->Width(), 20);
  EXPECT_EQ(image->Height(), 10);
  const int dc = image->hDC();
  image->Resize(kMaxImageSide + 1, 10, true);
  image->Resize(0, 10, false);
  EXPECT_EQ(image->Width(), 20);
  EXPECT_EQ(image->hDC(), dc);
}

TEST(NewInstance, IsAnIndependentCopy) {
  auto image = Make(5, 4, Pattern);
  auto copy = image->GetNewInstance();
  ASSERT_EQ(copy->Width(), 5);
  EXPECT_NE(copy->hDC(), image->hDC());
  EXPECT_EQ(PixelAt(*copy, 4, 3), PixelAt(*image, 4, 3));
  QImage surface = copy->Surface();
  surface.fill(Qt::white);
  EXPECT_EQ(PixelAt(*copy, 0, 0), (Rgb{255, 255, 255}));
  EXPECT_EQ(PixelAt(*image, 0, 0), Pattern(0, 0));
}

TEST(PaintPicture, NaturalSizeCopiesAndStretchDropsPixels) {
  auto board = Checkerboard(8, 8);
  QImage canvas(20, 20, QImage::Format_RGB32);
  canvas.fill(Qt::red);
  QPainter dc(&canvas);
  board->PaintPicture(dc, 2, 3, -1, -1);
  board->PaintPicture(dc, 12, 0, 4, 4);  // colour-on-colour: only black and white
  dc.end();
  EXPECT_EQ(canvas.pixel(2, 3), qRgb(0, 0, 0));
  EXPECT_EQ(canvas.pixel(3, 3), qRgb(255, 255, 255));
  EXPECT_EQ(canvas.pixel(10, 10), qRgb(255, 0, 0));  // outside both copies
  for (int y = 0; y < 4; ++y)
    for (int x = 12; x < 16; ++x) {
      const QRgb c = canvas.pixel(x, y);
      EXPECT_TRUE(c == qRgb(0, 0, 0) || c == qRgb(255, 255, 255)) << x << "," << y;
    }
}

TEST(PaintPicture, HalfToneStretchBlends) {
  auto board = Checkerboard(64, 64);
  QImage canvas(16, 16, QImage::Format_RGB32);
  QPainter dc(&canvas);
  board->Stretch(dc, 0, 0, 16, 16, 0, 0, -1, -1, QPainter::CompositionMode_Source,
                 clsImage::StretchMode::kHalfTone);
  dc.end();
  EXPECT_NE(qRed(canvas.pixel(8, 8)) % 255, 0);  // a blend, neither black nor white
}

TEST(PaintPicture, StretchCopiesTheSourceRectangle) {
  auto image = Make(kWidth, kHeight, Pattern);
  QImage canvas(4, 4, QImage::Format_RGB32);
  QPainter dc(&canvas);
  image->Stretch(dc, 0, 0, 4, 4, kWidth / 2, kHeight / 2, kWidth / 2, kHeight / 2);
  dc.end();
  EXPECT_EQ(canvas.pixel(0, 0), qRgb(255, 255, 0));  // bottom-right quadrant only
  EXPECT_EQ(canvas.pixel(3, 3), qRgb(255, 255, 0));
}

TEST(PaintPicture, EmptyImageDrawsNothing) {
  clsImage empty;
  QImage canvas(4, 4, QImage::Format_RGB32);
  canvas.fill(Qt::blue);
  QPainter dc(&canvas);
  empty.PaintPicture(dc, 0, 0);
  dc.end();
  EXPECT_EQ(canvas.pixel(1, 1), qRgb(0, 0, 255));
}
