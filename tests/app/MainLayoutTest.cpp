// The main window's layout arithmetic, in twips.
#include <gtest/gtest.h>

#include "app/MainLayout.h"

namespace {

struct BrowserCase {
  int client, left;
  std::optional<int> width;
};
class BrowserWidthTest : public ::testing::TestWithParam<BrowserCase> {};

TEST_P(BrowserWidthTest, LeavesTheMarginAndRefusesNegativeWidths) {
  EXPECT_EQ(MainLayout::BrowserWidth(GetParam().client, GetParam().left), GetParam().width);
}
INSTANTIATE_TEST_SUITE_P(Widths, BrowserWidthTest,
                         ::testing::Values(BrowserCase{12000, 3450, 8450},
                                           BrowserCase{3550, 3450, 0},
                                           BrowserCase{3500, 3450, std::nullopt}));

TEST(MainLayoutTest, LeftBarPutsThePreviewFiftyAboveTheBottomAndTheTreeAbove) {
  const auto parts = MainLayout::LeftBar(6000, 3000, 150);
  EXPECT_EQ(parts.previewTop, 2950);
  EXPECT_EQ(parts.sizerTop, 2800);
  EXPECT_EQ(parts.treeHeight, 2800);
}

TEST(MainLayoutTest, ShortLeftBarGivesAnEmptyTreeNotANegativeOne) {
  const auto parts = MainLayout::LeftBar(2000, 3000, 150);
  EXPECT_EQ(parts.previewTop, -1050);
  EXPECT_EQ(parts.treeHeight, 0);
}

TEST(MainLayoutTest, DraggingTheHorizontalBarDownMovesHeightFromPreviewToTree) {
  const int leftBar = 6000, sizer = 150;
  const auto before = MainLayout::LeftBar(leftBar, 3000, sizer);
  const auto height = MainLayout::DragPreview(3000, 300, leftBar, sizer);
  ASSERT_TRUE(height);
  EXPECT_EQ(*height, 2700);
  const auto after = MainLayout::LeftBar(leftBar, *height, sizer);
  EXPECT_EQ(after.treeHeight, before.treeHeight + 300);
  EXPECT_EQ(after.previewTop + *height, leftBar - MainLayout::kGap);
}

struct PreviewDrag {
  int preview, delta, leftBar;
  std::optional<int> result;
};
class DragPreviewTest : public ::testing::TestWithParam<PreviewDrag> {};

TEST_P(DragPreviewTest, KeepsTheLeftBarUsable) {
  const PreviewDrag& c = GetParam();
  EXPECT_EQ(MainLayout::DragPreview(c.preview, c.delta, c.leftBar, 150), c.result);
}
INSTANTIATE_TEST_SUITE_P(
    Drags, DragPreviewTest,
    ::testing::Values(PreviewDrag{3000, -300, 6000, 3300},           // up: preview grows
                      PreviewDrag{3000, 3000, 6000, 0},              // down to nothing
                      PreviewDrag{3000, 3001, 6000, std::nullopt},   // below nothing
                      PreviewDrag{3000, -2800, 6000, 5800},          // tree closes exactly
                      PreviewDrag{3000, -2801, 6000, std::nullopt},  // splitter past the top
                      PreviewDrag{3000, 100, 2000, 2900}));          // too short: down helps

struct LeftBarDrag {
  int width, delta, client;
  std::optional<int> result;
};
class DragLeftBarTest : public ::testing::TestWithParam<LeftBarDrag> {};

TEST_P(DragLeftBarTest, RefusesNegativeBarOrBrowserWidths) {
  const LeftBarDrag& c = GetParam();
  EXPECT_EQ(MainLayout::DragLeftBar(c.width, c.delta, c.client, 150), c.result);
}
INSTANTIATE_TEST_SUITE_P(Drags, DragLeftBarTest,
                         ::testing::Values(LeftBarDrag{3300, 165, 12000, 3465},
                                           LeftBarDrag{3300, -3300, 12000, 0},
                                           LeftBarDrag{3300, -3301, 12000, std::nullopt},
                                           LeftBarDrag{3300, 8450, 12000, 11750},
                                           LeftBarDrag{3300, 8451, 12000, std::nullopt}));

TEST(MainLayoutTest, BottomBarLaysOutFromTheRightWithGaps) {
  const auto parts = MainLayout::BottomBar(12000, 1200, 1500, 1500);
  EXPECT_EQ(parts.cancelLeft, 10750);
  EXPECT_EQ(parts.picsLeft, parts.cancelLeft);
  EXPECT_EQ(parts.sizeLeft, 9200);
  EXPECT_EQ(parts.dimensionsLeft, 7650);
  EXPECT_EQ(parts.progressWidth, 7600);
}

TEST(MainLayoutTest, NarrowBottomBarKeepsTheProgressWidth) {
  EXPECT_EQ(MainLayout::BottomBar(4399, 1200, 1500, 1500).progressWidth, std::nullopt);
  EXPECT_EQ(MainLayout::BottomBar(4400, 1200, 1500, 1500).progressWidth, 0);
}

}  // namespace
