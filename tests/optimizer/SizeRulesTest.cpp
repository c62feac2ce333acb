#include <gtest/gtest.h>

#include "engine/Rounding.h"
#include "core/SizeRules.h"
#include "core/Twips.h"
#include "optimizer/EffectPicture.h"
#include "optimizer/OptionSliders.h"
#include "optimizer/WindowArrangement.h"

namespace {

TEST(TwipsTest, FifteenTwipsAPixelHalvesToEven) {
  EXPECT_EQ(Twips::ToPixels(1200), 80);
  EXPECT_EQ(Twips::ToPixels(50), 3);
  EXPECT_EQ(Twips::ToPixels(100), 7);
  EXPECT_EQ(Twips::ToPixels(7.5), 0);   // half a pixel rounds to the even 0
  EXPECT_EQ(Twips::ToPixels(22.5), 2);  // one and a half rounds to 2
  EXPECT_EQ(Twips::ToPixels(-50), -3);
  EXPECT_EQ(Twips::FromPixels(80), 1200);
}

struct ScaleCase {
  QSize picture;
  int scale;
  QSize expected;
};
class ScaledSizeTest : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(ScaledSizeTest, RoundsEachSideHalvesToEven) {
  EXPECT_EQ(SizeRules::ScaledSize(GetParam().picture, GetParam().scale), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScaledSizeTest,
    ::testing::Values(ScaleCase{{50, 30}, 1, {0, 0}},   // 0.5 and 0.3 both go to 0
                      ScaleCase{{3, 3}, 150, {4, 4}},   // 4.5 to the even 4
                      ScaleCase{{5, 7}, 150, {8, 10}},  // 7.5 to 8, 10.5 to 10
                      ScaleCase{{640, 480}, 100, {640, 480}},
                      ScaleCase{{4000, 3000}, 500, {20000, 15000}},
                      ScaleCase{{150, 250}, 1, {2, 2}}));  // 1.5 to 2, 2.5 to 2

TEST(SizeRulesTest, RoundHalfEvenOfNegativeNumerators) {
  EXPECT_EQ(Rounding::HalfEven(-5, 10), 0);
  EXPECT_EQ(Rounding::HalfEven(-15, 10), -2);
  EXPECT_EQ(Rounding::HalfEven(-16, 10), -2);
  EXPECT_EQ(Rounding::HalfEven(25, 10), 2);
}

TEST(SizeRulesTest, TypedSizeAboveTheLimitBecomesOneHundred) {
  EXPECT_EQ(SizeRules::LimitTypedSize("10000"), QString("100"));
  EXPECT_EQ(SizeRules::LimitTypedSize("99999999"), QString("100"));
  EXPECT_EQ(SizeRules::LimitTypedSize("9999"), std::nullopt);
  EXPECT_EQ(SizeRules::LimitTypedSize(""), std::nullopt);
  EXPECT_EQ(SizeRules::LimitTypedSize("12a"), std::nullopt);
  EXPECT_EQ(SizeRules::LimitTypedSize("-20000"), std::nullopt);
}

TEST(SizeRulesTest, AspectPartnerDropsTheFraction) {
  EXPECT_EQ(SizeRules::AspectPartner(400, 600, 800), 300);
  EXPECT_EQ(SizeRules::AspectPartner(333, 600, 800), 249);  // 249.75
  EXPECT_EQ(SizeRules::AspectPartner(300, 800, 600), 400);
  EXPECT_EQ(SizeRules::AspectPartner(5, 1, 0), std::nullopt);
  // The product would overflow 32 bits; the result itself fits.
  EXPECT_EQ(SizeRules::AspectPartner(9999, 1000000, 1000000), 9999);
}

TEST(SizeRulesTest, BoxValues) {
  EXPECT_EQ(SizeRules::BoxValue("640"), 640);
  EXPECT_EQ(SizeRules::BoxValue(" 12 "), 12);
  EXPECT_EQ(SizeRules::BoxValue("abc"), 0);
  EXPECT_EQ(SizeRules::BoxValue(""), 0);
  EXPECT_EQ(SizeRules::ShortValue("32767"), 32767);
  EXPECT_EQ(SizeRules::ShortValue("32768"), std::nullopt);
}

struct ManualCase {
  QString width, height;
  QSize picture;
  std::optional<QSize> expected;
};
class ManualSizeTest : public ::testing::TestWithParam<ManualCase> {};

TEST_P(ManualSizeTest, MissingSideFollowsThePicture) {
  const ManualCase& c = GetParam();
  EXPECT_EQ(SizeRules::ManualSize(c.width, c.height, c.picture), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ManualSizeTest,
                         ::testing::Values(ManualCase{"800", "", {1600, 1200}, QSize(800, 600)},
                                           ManualCase{"800", "", {1200, 1600}, QSize(800, 1066)},
                                           ManualCase{"", "300", {800, 600}, QSize(400, 300)},
                                           ManualCase{"120", "90", {800, 600}, QSize(120, 90)},
                                           ManualCase{"", "", {800, 600}, std::nullopt},
                                           ManualCase{"40000", "", {800, 600}, std::nullopt}));

TEST(OptionSlidersTest, LabelsAddTwoToTheQuality) {
  EXPECT_EQ(OptionSliders::QualityText(98), "100%");
  EXPECT_EQ(OptionSliders::QualityText(7), "9%");
  EXPECT_EQ(OptionSliders::QualityText(70), "72%");
  EXPECT_EQ(OptionSliders::ScaleText(100), "100%");
}

TEST(WindowArrangementTest, PreviewsSideBySideAndTheWindowBelow) {
  const auto a = WindowArrangement::Compute({0, 0, 1600, 1000}, {600, 400}, {300, 300});
  EXPECT_EQ(a.original, QPoint(197, 80));   // 12000 - 9000 - 50 twips
  EXPECT_EQ(a.optimized, QPoint(803, 80));  // 12050 twips
  EXPECT_EQ(a.ownTop, 487);                 // 1200 + 6000 + 100 twips
  // The Original keeps to its half, up to 50 twips before the centre; the Optimized gets as
  // much width (so one picture size gives one frame size and one fitted zoom); both end where
  // the window's gap begins.
  EXPECT_EQ(a.originalArea, QRect(QPoint(197, 80), QPoint(796, 479)));
  EXPECT_EQ(a.optimizedArea, QRect(QPoint(803, 80), QPoint(1402, 479)));
}

TEST(WindowArrangementTest, WideOriginalKeepsTheLeftMargin) {
  const auto a = WindowArrangement::Compute({0, 0, 1600, 1000}, {900, 400}, {300, 300});
  EXPECT_EQ(a.original.x(), 7);
}

TEST(WindowArrangementTest, TallOriginalPushesTheWindowToTheBottomLimit) {
  const auto a = WindowArrangement::Compute({0, 0, 1600, 1000}, {600, 800}, {300, 300});
  EXPECT_EQ(a.ownTop, 692);  // 15000 - 4500 - 120 twips
  // The previews then end 100 twips above the window instead of hiding it or being hidden.
  EXPECT_EQ(a.originalArea.bottom(), 684);
  EXPECT_EQ(a.optimizedArea.bottom(), 684);
  EXPECT_EQ(a.originalArea.top(), 80);
}

// A low screen (1366 x 768 less a panel) leaves no room above a tall window: it goes to the
// left, and the previews beside it keep a useful height without covering its title bar.
TEST(WindowArrangementTest, WindowWithNoRoomAboveGoesBesideThePreviews) {
  for (const QSize own : {QSize(560, 700), QSize(300, 700), QSize(560, 620)}) {
    SCOPED_TRACE(own.height());
    const QRect screen(0, 0, 1366, 740);
    const auto a = WindowArrangement::Compute(screen, {600, 800}, own);
    const QRect window(QPoint(a.ownLeft, a.ownTop), own);
    EXPECT_EQ(window.topLeft(), QPoint(7, 80));
    for (const QRect& area : {a.originalArea, a.optimizedArea}) {
      EXPECT_FALSE(area.intersects(window));
      EXPECT_TRUE(screen.contains(area));
      EXPECT_GE(area.height(), 600);
    }
    EXPECT_FALSE(a.originalArea.intersects(a.optimizedArea));
    EXPECT_EQ(a.originalArea.size(), a.optimizedArea.size());
  }
  // Room above it: it stays where it is, below the previews.
  EXPECT_EQ(WindowArrangement::Compute({0, 0, 1920, 1050}, {600, 400}, {560, 600}).ownLeft, -1);
}

TEST(WindowArrangementTest, FollowsTheReferenceFrame) {
  // A main window at (100, 50), 1601 wide: half its width is 12007.5 twips, rounded to even.
  const auto a = WindowArrangement::Compute({100, 50, 1601, 900}, {600, 400}, {300, 300});
  EXPECT_EQ(a.original, QPoint(297, 130));
  EXPECT_EQ(a.optimized, QPoint(904, 130));
}

TEST(EffectPictureTest, CentredWithHalvesToEven) {
  EXPECT_EQ(EffectPicture::CentredOrigin({400, 300}, {100, 100}), QPoint(150, 100));
  EXPECT_EQ(EffectPicture::CentredOrigin({101, 103}, {100, 100}), QPoint(0, 2));  // .5, 1.5
  EXPECT_EQ(EffectPicture::CentredOrigin({100, 100}, {200, 50}), QPoint(-50, 25));
}

}  // namespace
