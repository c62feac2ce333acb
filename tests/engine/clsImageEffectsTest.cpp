#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "EngineFixtures.h"
#include "engine/EffectCatalog.h"
#include "engine/clsImage.h"

using namespace EngineFixtures;

namespace {

constexpr int kW = 96, kH = 64;

// Photo-like: sky and ground gradients, a dark disc, a bright window, some grain.
Rgb Photo(int x, int y) {
  const int grain = int((x * 7919u + y * 104729u) % 13u) - 6;
  Rgb c = y < kH / 2 ? Rgb{90 + y * 2, 140 + y, 220 - y} : Rgb{70 + x / 2, 110 - y / 4, 40};
  if ((x - 30) * (x - 30) + (y - 34) * (y - 34) < 144) c = {30, 25, 20};
  if (x >= 60 && x < 80 && y >= 10 && y < 26) c = {245, 240, 230};
  for (int& v : c) v = std::clamp(v + grain, 0, 255);
  return c;
}

std::shared_ptr<clsImage> MakePhoto() { return Make(kW, kH, Photo); }

int Lum(const Rgb& c) { return (299 * c[0] + 587 * c[1] + 114 * c[2] + 500) / 1000; }

// Mean absolute difference between horizontal neighbours: detail and grain.
double Roughness(const clsImage& image) {
  double sum = 0;
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 1; x < image.Width(); ++x)
      sum += std::abs(Lum(PixelAt(image, x, y)) - Lum(PixelAt(image, x - 1, y)));
  return sum / (image.Width() * image.Height());
}

bool SamePixels(const clsImage& a, const clsImage& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (PixelAt(a, x, y) != PixelAt(b, x, y)) return false;
  return true;
}

struct Neutral {
  const char* name;
  int level;
};

class NeutralLevel : public ::testing::TestWithParam<Neutral> {};

}  // namespace

TEST_P(NeutralLevel, LeavesThePictureAlone) {
  auto image = MakePhoto();
  const auto original = image->GetNewInstance();
  const int dc = image->hDC();
  ASSERT_TRUE(EffectCatalog::Apply(*image, QString(GetParam().name), GetParam().level));
  EXPECT_TRUE(SamePixels(*image, *original));
  EXPECT_EQ(image->hDC(), dc);
}

INSTANTIATE_TEST_SUITE_P(Effects, NeutralLevel,
                         ::testing::Values(Neutral{"Blur", 0}, Neutral{"Dilate", 0},
                                           Neutral{"Brightness", 0},
                                           Neutral{"Limit Brightness Level", 255},
                                           Neutral{"Rotate", 0}));

TEST(Effects, FlipAndMirrorMovePixels) {
  auto flipped = MakePhoto(), mirrored = MakePhoto();
  ASSERT_TRUE(flipped->Effect_FlipImage());
  ASSERT_TRUE(mirrored->Effect_MirrorImage());
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      ASSERT_EQ(PixelAt(*flipped, x, y), Photo(x, kH - 1 - y));
      ASSERT_EQ(PixelAt(*mirrored, x, y), Photo(kW - 1 - x, y));
    }
}

TEST(Effects, PerPixelTones) {
  struct Case {
    const char* name;
    int level;
    std::function<Rgb(const Rgb&)> expected;
  };
  const Case cases[] = {
      {"Negative Image", 0,
       [](const Rgb& c) {
         return Rgb{255 - c[0], 255 - c[1], 255 - c[2]};
       }},
      {"Gray Scale", 0,
       [](const Rgb& c) {
         return Rgb{Lum(c), Lum(c), Lum(c)};
       }},
      {"Brightness", 60,
       [](const Rgb& c) {
         return Rgb{std::min(255, c[0] + 60), std::min(255, c[1] + 60), std::min(255, c[2] + 60)};
       }},
      {"Brightness", -60,
       [](const Rgb& c) {
         return Rgb{std::max(0, c[0] - 60), std::max(0, c[1] - 60), std::max(0, c[2] - 60)};
       }},
      {"Limit Brightness Level", 100,
       [](const Rgb& c) {
         return Rgb{std::min(100, c[0]), std::min(100, c[1]), std::min(100, c[2])};
       }},
      {"Kodalith", 128,
       [](const Rgb& c) {
         return Lum(c) >= 128 ? Rgb{255, 255, 255} : Rgb{0, 0, 0};
       }},
      {"Kodalith", 0,
       [](const Rgb&) {
         return Rgb{255, 255, 255};
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.level));
    auto image = MakePhoto();
    ASSERT_TRUE(EffectCatalog::Apply(*image, QString(c.name), c.level));
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) ASSERT_EQ(PixelAt(*image, x, y), c.expected(Photo(x, y)));
  }
}

TEST(Effects, IntermediateBrightnessRaisesMiddleTonesOnly) {
  auto image = Make(256, 1, [](int x, int) { return Rgb{x, x, x}; });
  ASSERT_TRUE(image->Effect_BrightenMidRange());
  EXPECT_EQ(PixelAt(*image, 0, 0)[0], 0);
  EXPECT_EQ(PixelAt(*image, 255, 0)[0], 255);
  EXPECT_GT(PixelAt(*image, 128, 0)[0], 140);
  for (int x = 1; x < 256; ++x) ASSERT_GE(PixelAt(*image, x, 0)[0], PixelAt(*image, x - 1, 0)[0]);
}

TEST(Effects, BlurSmoothsGrainButKeepsStrongEdgesAtLowThresholds) {
  auto full = MakePhoto(), gentle = MakePhoto(), original = MakePhoto();
  ASSERT_TRUE(full->Effect_Blur(255));
  ASSERT_TRUE(gentle->Effect_Blur(16));
  EXPECT_LT(Roughness(*full), 0.7 * Roughness(*original));
  EXPECT_LT(Roughness(*gentle), Roughness(*original));
  // The bright window's left edge (x = 60) stays a hard step under the gentle blur.
  for (int x : {59, 60}) {
    EXPECT_LE(Distance(PixelAt(*gentle, x, 18), PixelAt(*original, x, 18)), 6) << x;
    EXPECT_GT(Distance(PixelAt(*full, x, 18), PixelAt(*original, x, 18)), 30) << x;
  }
}

TEST(Effects, SharpenRaisesDetailAndSharpenMoreRaisesItFurther) {
  auto gentle = MakePhoto(), strong = MakePhoto(), original = MakePhoto();
  ASSERT_TRUE(gentle->Effect_Sharpen());
  ASSERT_TRUE(strong->Effect_SharpenMore());
  EXPECT_GT(Roughness(*gentle), 1.1 * Roughness(*original));
  EXPECT_GT(Roughness(*strong), 1.3 * Roughness(*gentle));
  // Overshoot at a hard step clips instead of wrapping round.
  auto step = Make(16, 4, [](int x, int) { return x < 8 ? Rgb{0, 0, 0} : Rgb{255, 255, 255}; });
  ASSERT_TRUE(step->Effect_SharpenMore());
  EXPECT_EQ(PixelAt(*step, 7, 1), (Rgb{0, 0, 0}));
  EXPECT_EQ(PixelAt(*step, 8, 1), (Rgb{255, 255, 255}));
  // A flat picture has no detail to raise.
  auto flat = Make(16, 16, [](int, int) { return Rgb{120, 80, 40}; });
  ASSERT_TRUE(flat->Effect_SharpenMore());
  EXPECT_EQ(PixelAt(*flat, 8, 8), (Rgb{120, 80, 40}));
  EXPECT_EQ(PixelAt(*flat, 0, 0), (Rgb{120, 80, 40}));
}

TEST(Effects, OutlineIsDarkOnFlatAreasAndBrightOnEdges) {
  auto image = Make(40, 40, [](int x, int) {
    return x < 20 ? Rgb{20, 20, 20} : Rgb{220, 220, 220};
  });
  ASSERT_TRUE(image->Effect_DetectOutline());
  EXPECT_EQ(PixelAt(*image, 5, 20), (Rgb{0, 0, 0}));
  EXPECT_EQ(PixelAt(*image, 35, 20), (Rgb{0, 0, 0}));
  EXPECT_GT(Lum(PixelAt(*image, 19, 20)), 200);
  EXPECT_GT(Lum(PixelAt(*image, 20, 20)), 200);
}

TEST(Effects, DelateSpreadsBrightPixelsByAmount) {
  auto full = Make(9, 9, [](int x, int y) {
    return x == 4 && y == 4 ? Rgb{250, 250, 250} : Rgb{50, 50, 50};
  });
  auto half = full->GetNewInstance();
  ASSERT_TRUE(full->Effect_Delate(255));
  ASSERT_TRUE(half->Effect_Delate(128));
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 9; ++x) {
      const bool near = std::abs(x - 4) <= 1 && std::abs(y - 4) <= 1;
      ASSERT_EQ(PixelAt(*full, x, y)[0], near ? 250 : 50) << x << "," << y;
      ASSERT_EQ(PixelAt(*half, x, y)[0], x == 4 && y == 4 ? 250 : near ? 150 : 50) << x << "," << y;
    }
}

TEST(Effects, RemoveNoiseClearsSaltAndPepper) {
  auto image = MakePhoto();
  auto noisy = MakePhoto();
  QImage surface = noisy->Surface();
  int dots = 0;
  for (int y = 2; y < kH - 2; y += 5)
    for (int x = 3; x < kW - 2; x += 7, ++dots) {
      std::uint8_t* p = surface.scanLine(y) + 3 * x;
      p[0] = p[1] = p[2] = dots % 2 ? 255 : 0;
    }
  ASSERT_TRUE(noisy->Effect_RemoveNoise(3));
  for (int y = 2; y < kH - 2; y += 5)
    for (int x = 3; x < kW - 2; x += 7) {
      const Rgb got = PixelAt(*noisy, x, y);
      EXPECT_LE(Distance(got, Photo(x, y)), 40) << x << "," << y;
      EXPECT_NE(Lum(got), 0);
      EXPECT_NE(Lum(got), 255);
    }
}

TEST(Effects, RotationSizesFollowTheBoundingBox) {
  struct Case {
    double angle;
    int width, height;
  };
  for (const Case& c :
       {Case{0, 200, 100}, Case{90, 100, 200}, Case{-90, 100, 200}, Case{45, 213, 213},
        Case{-30, 224, 187}, Case{180, 200, 100}, Case{-135, 213, 213}}) {
    SCOPED_TRACE(c.angle);
    int w = 0, h = 0;
    clsImage::RotatedSize(200, 100, c.angle, w, h);
    EXPECT_EQ(w, c.width);
    EXPECT_EQ(h, c.height);
    auto image = Make(200, 100, [](int, int) { return Rgb{10, 20, 30}; });
    ASSERT_TRUE(image->Effect_Rotate(c.angle, true));
    EXPECT_EQ(image->Width(), c.width);
    EXPECT_EQ(image->Height(), c.height);
  }
}

TEST(Effects, OddSidesKeepTheirSize) {
  for (double angle : {0.0, 90.0, -180.0}) {
    int w = 0, h = 0;
    clsImage::RotatedSize(201, 101, angle, w, h);
    EXPECT_EQ(w, angle == 90 ? 101 : 201) << angle;
    EXPECT_EQ(h, angle == 90 ? 201 : 101) << angle;
  }
}

TEST(Effects, QuarterTurnIsClockwiseAndExact) {
  auto image = Make(kWidth, kHeight, Pattern);
  ASSERT_TRUE(image->Effect_Rotate(90, true));
  // The same picture as an upright EXIF orientation 6 file: a clockwise quarter turn.
  EXPECT_TRUE(MatchesPattern(*image, 0, true));
  ASSERT_TRUE(image->Effect_Rotate(-90, true));
  EXPECT_TRUE(MatchesPattern(*image));
}

TEST(Effects, RotationFillsUncoveredCornersWithWhite) {
  auto image = Make(200, 100, [](int, int) { return Rgb{10, 20, 30}; });
  ASSERT_TRUE(image->Effect_Rotate(45, true));
  EXPECT_EQ(PixelAt(*image, 0, 0), (Rgb{255, 255, 255}));
  EXPECT_EQ(PixelAt(*image, 212, 212), (Rgb{255, 255, 255}));
  EXPECT_LE(Distance(PixelAt(*image, 106, 106), Rgb{10, 20, 30}), 1);
  auto kept = Make(200, 100, [](int, int) { return Rgb{10, 20, 30}; });
  ASSERT_TRUE(kept->Effect_Rotate(30, false));
  EXPECT_EQ(kept->Width(), 200);
  EXPECT_EQ(kept->Height(), 100);
  EXPECT_EQ(PixelAt(*kept, 0, 0), (Rgb{255, 255, 255}));
}

TEST(Effects, HugeAnglesTurnByWhatIsLeftOfAFullTurn) {
  // -1.6497e308 is the angle of the kept fuzz input rotate-nan-angle: in radians it overflowed
  // to infinity and the size became NaN cast to int.
  for (double angle : {-1.6497303244615378e+308, 1e300, 360.0 * 1e12 + 90, -360.0 * 1e9 - 45}) {
    SCOPED_TRACE(angle);
    int w = 0, h = 0, rw = 0, rh = 0;
    clsImage::RotatedSize(32, 31, angle, w, h);
    clsImage::RotatedSize(32, 31, std::remainder(angle, 360.0), rw, rh);
    EXPECT_EQ(w, rw);
    EXPECT_EQ(h, rh);
    auto image = Make(32, 31, [](int, int) { return Rgb{10, 20, 30}; });
    ASSERT_TRUE(image->Effect_Rotate(angle, true));
    EXPECT_EQ(image->Width(), w);
    EXPECT_EQ(image->Height(), h);
  }
  int w = 0, h = 0;
  clsImage::RotatedSize(32, 31, 360.0 * 1e12 + 90, w, h);
  EXPECT_EQ(w, 31);  // an exact quarter turn
  EXPECT_EQ(h, 32);
}

TEST(Effects, AnglesThatAreNoNumberKeepTheSizeAndFail) {
  for (double angle : {std::nan(""), HUGE_VAL, -HUGE_VAL}) {
    SCOPED_TRACE(angle);
    int w = 0, h = 0;
    clsImage::RotatedSize(32, 31, angle, w, h);
    EXPECT_EQ(w, 32);
    EXPECT_EQ(h, 31);
    auto image = Make(32, 31, [](int x, int) { return Rgb{x, 0, 0}; });
    EXPECT_FALSE(image->Effect_Rotate(angle, true));
    EXPECT_EQ(image->Width(), 32);
    EXPECT_EQ(PixelAt(*image, 5, 5), (Rgb{5, 0, 0}));
  }
}

TEST(Effects, FailedRotationLeavesThePicture) {
  // A 45 degree turn of a long strip would need more pixels than the engine allows.
  auto strip = Make(60000, 8, [](int x, int) { return Rgb{x % 256, 0, 0}; });
  ASSERT_EQ(strip->Width(), 60000);
  const int dc = strip->hDC();
  EXPECT_FALSE(strip->Effect_Rotate(45, true));
  EXPECT_FALSE(strip->Effect_Rotate(std::nan(""), true));
  EXPECT_EQ(strip->Width(), 60000);
  EXPECT_EQ(strip->Height(), 8);
  EXPECT_EQ(strip->hDC(), dc);
  EXPECT_EQ(PixelAt(*strip, 300, 4), (Rgb{300 % 256, 0, 0}));
}
