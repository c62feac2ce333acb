#include <gtest/gtest.h>

#include <ostream>

#include "browse/ViewGeometry.h"

using namespace ViewGeometry;

namespace ViewGeometry {
void PrintTo(const ScrollAxis& a, std::ostream* os) {
  *os << "{" << a.enabled << ", max " << a.maximum << ", large " << a.largeChange << "}";
}
void PrintTo(const AxisPlacement& p, std::ostream* os) {
  *os << "{dest " << p.dest << "+" << p.destLen << ", src " << p.src << "+" << p.srcLen << "}";
}
void PrintTo(const PanStep& s, std::ostream* os) {
  *os << "{delta " << s.delta << ", anchor " << s.anchor << "}";
}
}  // namespace ViewGeometry

TEST(ViewGeometryTest, ReadOutIsThePercentShown) {
  const struct {
    int value;
    const char* readOut;
  } rows[] = {{500, "100 %"}, {1000, "200 %"}, {160, "32 %"}, {1, "0.2 %"},
              {49, "9.8 %"},  {52, "10 %"},    {502, "100 %"}, {503, "101 %"}};
  for (const auto& r : rows) EXPECT_EQ(ZoomReadOut(r.value), r.readOut) << r.value;
  EXPECT_DOUBLE_EQ(ZoomPercent(1), 0.2);
  EXPECT_DOUBLE_EQ(ZoomPercent(500), 100.0);
}

struct FitRow {
  int viewW, viewH, w, h;
  std::optional<int> slider;
};
class FitTest : public testing::TestWithParam<FitRow> {};

TEST_P(FitTest, SliderValue) {
  const FitRow& r = GetParam();
  EXPECT_EQ(FitSliderValue(r.viewW, r.viewH, r.w, r.h), r.slider);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FitTest,
    testing::Values(FitRow{400, 300, 2000, 1000, 100},  // width decides: 20 %
                    FitRow{400, 300, 1000, 2000, 75},   // height decides: 15 %
                    FitRow{400, 300, 800, 600, 250},    // both equal: 50 %
                    FitRow{400, 300, 100, 100, 1000},   // asks 300 %, limited to 200 %
                    FitRow{400, 300, 400000, 10, 1},    // below 0.2 %, limited
                    FitRow{400, 300, 80000, 10, 2},     // exactly 2.5: half to even
                    FitRow{400, 300, 16000, 10, 12},    // exactly 12.5
                    FitRow{0, 300, 100, 100, std::nullopt},
                    FitRow{400, 300, 0, 100, std::nullopt}));

struct ScrollRow {
  int view, image;
  double zoom;
  ScrollAxis expected;
};
class ScrollTest : public testing::TestWithParam<ScrollRow> {};

TEST_P(ScrollTest, Range) {
  const ScrollRow& r = GetParam();
  EXPECT_EQ(ScrollFor(r.view, r.image, r.zoom), r.expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, ScrollTest,
                         testing::Values(ScrollRow{400, 2000, 100, {true, 1600, 400}},
                                         ScrollRow{300, 1000, 100, {true, 700, 300}},
                                         ScrollRow{400, 2000, 200, {true, 1800, 200}},
                                         ScrollRow{400, 2000, 50, {true, 1200, 800}},
                                         ScrollRow{400, 2000, 30, {true, 667, 1333}},
                                         ScrollRow{400, 2000, 20, {}},   // fits exactly
                                         ScrollRow{400, 400, 100, {}},   // same length
                                         ScrollRow{400, 2000, 0, {}}));  // no zoom

struct PlaceRow {
  int view, scroll, image;
  double zoom;
  AxisPlacement expected;
};
class PlaceTest : public testing::TestWithParam<PlaceRow> {};

TEST_P(PlaceTest, Axis) {
  const PlaceRow& r = GetParam();
  EXPECT_EQ(PlaceAxis(r.view, r.scroll, r.image, r.zoom), r.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PlaceTest,
    testing::Values(PlaceRow{400, 0, 2000, 20, {0, 400, 0, 2000}},   // fit, across
                    PlaceRow{300, 0, 1000, 20, {50, 200, 0, 1000}},  // fit, centred down
                    PlaceRow{400, 0, 100, 100, {150, 100, 0, 100}},  // small picture
                    PlaceRow{300, 0, 100, 100, {100, 100, 0, 100}},
                    PlaceRow{400, 0, 100, 200, {100, 200, 0, 100}},  // enlarged
                    PlaceRow{400, 700, 2000, 100, {0, 400, 700, 400}},
                    PlaceRow{400, 100, 2000, 200, {0, 400, 100, 200}},
                    PlaceRow{400, 800, 2000, 50, {0, 400, 800, 800}},
                    PlaceRow{301, 0, 200, 100, {50, 200, 0, 200}},  // 50.5 rounds to 50
                    // At the end of the range rounding lets the view reach past the picture.
                    PlaceRow{400, 667, 2000, 30, {0, 400, 667, 1333}},
                    PlaceRow{400, 0, 2000, 0, {}}));

TEST(ViewGeometryTest, PanMovesAgainstTheMouseInImagePixels) {
  EXPECT_EQ(Pan(100, 90, 50), (PanStep{20, 90}));      // 10 px left at 50 %: 20 image px
  EXPECT_EQ(Pan(100, 110, 100), (PanStep{-10, 110}));  // right at 100 %
  EXPECT_EQ(Pan(100, 99, 200), (PanStep{0, 100}));     // half a pixel stays pending
  EXPECT_EQ(Pan(100, 98, 200), (PanStep{1, 98}));
  EXPECT_EQ(Pan(100, 97, 200), (PanStep{2, 96}));  // 1.5 rounds to 2, anchor passes
  EXPECT_EQ(Pan(100, 90, 0), (PanStep{0, 100}));
}

TEST(ViewGeometryTest, PanAt200PercentLosesNoMovement) {
  // Twenty 1-pixel moves at 200 % make ten image pixels; the anchor stays within a pixel.
  int anchor = 300, total = 0;
  for (int x = 299; x >= 280; --x) {
    const PanStep step = Pan(anchor, x, 200);
    total += step.delta;
    anchor = step.anchor;
    EXPECT_LE(std::abs(anchor - x), 1) << x;
  }
  EXPECT_EQ(total, 10);
}

TEST(ViewGeometryTest, FittedBox) {
  EXPECT_EQ(FittedBox({200, 100}, {400, 400}), QRect(50, 0, 100, 100));  // height decides
  EXPECT_EQ(FittedBox({200, 100}, {50, 10}), QRect(0, 30, 200, 40));     // enlarged
  EXPECT_EQ(FittedBox({200, 100}, {400, 200}), QRect(0, 0, 200, 100));
  EXPECT_EQ(FittedBox({201, 100}, {100, 100}), QRect(50, 0, 100, 100));  // 50.5 truncated
  EXPECT_EQ(FittedBox({200, 100}, {100000, 10}), QRect(0, 49, 200, 1));  // still one line
  EXPECT_TRUE(FittedBox({0, 100}, {50, 10}).isEmpty());
  EXPECT_TRUE(FittedBox({200, 100}, {0, 0}).isEmpty());
}

TEST(ViewGeometryTest, PreviewFrameStaysOnTheScreen) {
  const QRect screen(0, 0, 1600, 1000);
  const QSize extra(40, 50);
  // Fits: keeps its corner, view area = picture.
  EXPECT_EQ(PreviewFrame({100, 80, 300, 200}, {640, 480}, extra, screen), QRect(100, 80, 680, 530));
  // Too wide and too tall: the screen's size, moved fully onto it.
  EXPECT_EQ(PreviewFrame({100, 80, 300, 200}, {4000, 3000}, extra, screen),
            QRect(0, 0, 1600, 1000));
  // Would hang over the right edge: pulled back left; above the top: pulled down.
  EXPECT_EQ(PreviewFrame({1200, -30, 300, 200}, {640, 480}, extra, screen),
            QRect(920, 0, 680, 530));
  // A screen area that does not start at the origin.
  EXPECT_EQ(PreviewFrame({0, 0, 10, 10}, {2000, 100}, extra, QRect(1600, 30, 1024, 738)),
            QRect(1600, 30, 1024, 150));
  // No screen known: no limit.
  EXPECT_EQ(PreviewFrame({5, 6, 10, 10}, {4000, 3000}, extra, QRect()), QRect(5, 6, 4040, 3050));
}

TEST(ViewGeometryTest, CascadeStepsDownAndStartsAgainPastTheMiddle) {
  const QRect screen(0, 0, 1000, 800);  // 400 px of room: 13 windows a round at 32 px
  struct Row {
    QRect available;
    int index;
    QPoint expected;
  };
  for (const Row& row : {Row{screen, 0, {0, 0}}, Row{screen, 1, {32, 32}},
                         Row{screen, 12, {384, 384}}, Row{screen, 13, {16, 0}},
                         Row{screen, 14, {48, 32}}, Row{screen, 26, {32, 0}},
                         Row{QRect(100, 50, 1000, 800), 2, {164, 114}},
                         Row{QRect(0, 0, 20, 20), 3, {48, 0}}}) {
    SCOPED_TRACE(row.index);
    EXPECT_EQ(CascadePosition(row.available, row.index, 32), row.expected);
  }
}
