#include <gtest/gtest.h>

#include "controls/modControls.h"
#include "engine/Rounding.h"

namespace {

struct Rounded {
  double in;
  int out;
};
class RoundHalfEvenTest : public ::testing::TestWithParam<Rounded> {};

TEST_P(RoundHalfEvenTest, RoundsHalvesToEven) {
  EXPECT_EQ(Rounding::HalfEven(GetParam().in), GetParam().out);
}
INSTANTIATE_TEST_SUITE_P(Values, RoundHalfEvenTest,
                         ::testing::Values(Rounded{0.5, 0}, Rounded{1.5, 2}, Rounded{2.5, 2},
                                           Rounded{37.5, 38}, Rounded{12.5, 12}, Rounded{-2.5, -2},
                                           Rounded{2.4999, 2}, Rounded{2.5001, 3},
                                           Rounded{1e12, 2147483647}));

struct Percent {
  qint64 min, max, value;
  int percent;
};
class ProgressPercentTest : public ::testing::TestWithParam<Percent> {};

TEST_P(ProgressPercentTest, GivesThePercentageWithHalvesToEven) {
  const Percent& p = GetParam();
  EXPECT_EQ(modControls::ProgressPercent(p.value, p.min, p.max), p.percent);
}
INSTANTIATE_TEST_SUITE_P(Values, ProgressPercentTest,
                         ::testing::Values(Percent{0, 8, 3, 38}, Percent{0, 8, 1, 12},
                                           Percent{0, 200, 1, 0}, Percent{0, 200, 3, 2},
                                           Percent{10, 20, 15, 50}, Percent{-100, 100, 0, 50},
                                           // a range wider than 32 bits must not overflow
                                           Percent{-2147483647 - 1, 2147483647, 2147483647, 100}));

TEST(ProgressBarWidthTest, ScalesTheInnerWidth) {
  EXPECT_EQ(modControls::ProgressBarWidth(3, 0, 8, 200), 75);
  EXPECT_EQ(modControls::ProgressBarWidth(1, 0, 8, 100), 12);    // 12.5 -> 12
  EXPECT_EQ(modControls::ProgressBarWidth(3, 0, 8, 100), 38);    // 37.5 -> 38
  EXPECT_EQ(modControls::ProgressBarWidth(15, 10, 20, 99), 50);  // 49.5 -> 50
}

TEST(FitFontPointSizeTest, TakesOnePointBelowTheFirstSizeThatFits) {
  auto twicePoints = [](int points) { return 2 * points; };
  EXPECT_EQ(modControls::FitFontPointSize(twicePoints, 30), 13);    // 14 is the first to fit
  EXPECT_EQ(modControls::FitFontPointSize(twicePoints, 1000), 77);  // 78 already fits
  EXPECT_EQ(modControls::FitFontPointSize(twicePoints, 15), 6);     // 7 fits, one smaller
  EXPECT_EQ(modControls::FitFontPointSize(twicePoints, 14), 7);     // nothing fits
}

TEST(SizerLineStartTest, CentresTheLine) {
  EXPECT_EQ(modControls::SizerLineStart(10), 4);
  EXPECT_EQ(modControls::SizerLineStart(11), 4);  // 4.5 -> 4
  EXPECT_EQ(modControls::SizerLineStart(13), 6);  // 5.5 -> 6
  EXPECT_EQ(modControls::SizerLineStart(300), 149);
}

TEST(EventCodesTest, MapButtonsAndModifiers) {
  EXPECT_EQ(modControls::ButtonCode(Qt::LeftButton), 1);
  EXPECT_EQ(modControls::ButtonCode(Qt::RightButton), 2);
  EXPECT_EQ(modControls::ButtonCode(Qt::MiddleButton), 4);
  EXPECT_EQ(modControls::ButtonCode(Qt::LeftButton | Qt::RightButton), 3);
  EXPECT_EQ(modControls::ButtonCode(Qt::NoButton), 0);
  EXPECT_EQ(modControls::ShiftCode(Qt::ShiftModifier), 1);
  EXPECT_EQ(modControls::ShiftCode(Qt::ControlModifier | Qt::AltModifier), 6);
  EXPECT_EQ(modControls::ShiftCode(Qt::KeypadModifier), 0);
}

}  // namespace
