#include <gtest/gtest.h>

#include "browse/BrowseGeometry.h"

namespace BG = BrowseGeometry;

namespace {

struct ThumbRow {
  int w, h, tw, th;
};
class ThumbnailSizeTest : public testing::TestWithParam<ThumbRow> {};

TEST_P(ThumbnailSizeTest, FitsIntoTheBoxWithoutEnlarging) {
  const ThumbRow r = GetParam();
  EXPECT_EQ(BG::ThumbnailSize(r.w, r.h), QSize(r.tw, r.th));
}

INSTANTIATE_TEST_SUITE_P(Sizes, ThumbnailSizeTest,
                         testing::Values(ThumbRow{400, 300, 100, 75}, ThumbRow{300, 400, 75, 100},
                                         ThumbRow{150, 150, 100, 100}, ThumbRow{80, 60, 80, 60},
                                         ThumbRow{250, 1000, 25, 100}, ThumbRow{100, 100, 100, 100},
                                         // 12.5 and 62.5 go to the even neighbour
                                         ThumbRow{800, 100, 100, 12}, ThumbRow{160, 100, 100, 62},
                                         ThumbRow{60, 200, 30, 100}, ThumbRow{1, 4000, 1, 100}));

TEST(BrowseGeometryTest, LinesOfAPage500Wide) {
  EXPECT_EQ(BG::ImagesPerLine(10, 500), 4);
  const struct { int items, lines; } rows[] = {{10, 3}, {8, 2}, {12, 3}, {1, 1}, {4, 1}, {5, 2}};
  for (const auto& r : rows) EXPECT_EQ(BG::TotalLines(r.items, 500), r.lines) << r.items;
  EXPECT_EQ(BG::PageSize(10, 400), 3);
  EXPECT_EQ(BG::PageSize(10, 389), 2);
}

TEST(BrowseGeometryTest, EmptyListsAndNarrowPagesGiveZero) {
  EXPECT_EQ(BG::ImagesPerLine(0, 500), 0);
  EXPECT_EQ(BG::PageSize(0, 400), 0);
  EXPECT_EQ(BG::TotalLines(0, 500), 0);
  EXPECT_EQ(BG::ImagesPerLine(5, 119), 0);
  EXPECT_EQ(BG::TotalLines(5, 119), 0);
  EXPECT_EQ(BG::HitIndex(10, 10, 0, 1, 5), 0);
}

TEST(BrowseGeometryTest, PageStarts) {
  EXPECT_EQ(BG::FirstIndexOfPage(1, 4), 1);
  EXPECT_EQ(BG::FirstIndexOfPage(2, 4), 5);
  EXPECT_EQ(BG::FirstIndexOfPage(3, 4), 9);
  // StartLine 2, 4 per line: the top-left cell is item 5.
  EXPECT_EQ(BG::HitIndex(5, 5, 4, 2, 10), 5);
}

TEST(BrowseGeometryTest, HitIndexOfClicks) {
  const struct {
    int x, y, startLine, items, index;
  } rows[] = {
      {0, 0, 1, 10, 1},     {119, 129, 1, 10, 1},  {120, 0, 1, 10, 2},
      {479, 0, 1, 10, 4},   {480, 0, 1, 10, 0},  // strip right of the last column
      {0, 130, 1, 10, 5},   {130, 260, 1, 10, 10}, {250, 260, 1, 10, 0},  // below the last
      {250, 130, 2, 10, 0}, {10, 10, 3, 10, 9},    {-1, 0, 1, 10, 0},
  };
  for (const auto& r : rows)
    EXPECT_EQ(BG::HitIndex(r.x, r.y, 4, r.startLine, r.items), r.index) << r.x << "," << r.y;
}

TEST(BrowseGeometryTest, CellPlacement) {
  EXPECT_EQ(BG::InnerCell(0, 0), QRect(3, 3, 114, 124));
  EXPECT_EQ(BG::InnerCell(1, 2), QRect(243, 133, 114, 124));
  // Centred across the cell; down inside the 114 x 114 square at its top.
  EXPECT_EQ(BG::ThumbnailOrigin(BG::InnerCell(0, 0), 100, 75), QPoint(10, 23));
  EXPECT_EQ(BG::ThumbnailOrigin(BG::InnerCell(0, 0), 25, 100), QPoint(48, 10));  // 47.5 -> 48
  EXPECT_EQ(BG::ThumbnailOrigin(BG::InnerCell(0, 0), 81, 61), QPoint(20, 29));   // 19.5, 26.5
  EXPECT_EQ(BG::CaptionRect(BG::InnerCell(0, 0)), QRect(QPoint(3, 108), QPoint(116, 124)));
}

TEST(BrowseGeometryTest, ScrollRanges) {
  // 500 x 400 with 23 pictures: 4 per line, 3 lines a page, 6 lines in all.
  EXPECT_EQ(BG::ScrollFor(23, 500, 400), (BG::ScrollRange{1, 4, 3}));
  // Everything on one page: the start line stays at 1.
  EXPECT_EQ(BG::ScrollFor(5, 500, 400), (BG::ScrollRange{1, 1, 3}));
  EXPECT_EQ(BG::ScrollFor(0, 500, 400), (BG::ScrollRange{1, 1, 0}));
  EXPECT_EQ(BG::ScrollFor(23, 100, 400), (BG::ScrollRange{1, 1, 3}));
}

}  // namespace
