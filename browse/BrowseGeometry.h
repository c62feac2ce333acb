#pragma once
// The arithmetic of the thumbnail grid: thumbnail fitting, cells, lines and pages, which
// item a click hits and the scroll range. Pixels; rounding to nearest with halves to even.
#include <QRect>
#include <QSize>

namespace BrowseGeometry {

inline constexpr int kCellWidth = 120;
inline constexpr int kCellHeight = 130;
inline constexpr int kThumbBox = 100;
inline constexpr int kCellInset = 3;

// Size of the thumbnail of a width x height picture: fitted into 100 x 100, never enlarged,
// no side below 1.
QSize ThumbnailSize(int width, int height);

// Cells per line of a page; 0 when nothing is listed.
int ImagesPerLine(int itemCount, int pageWidth);
// Whole lines that fit in a page; 0 when nothing is listed.
int PageSize(int itemCount, int pageHeight);
// Lines the whole list needs; 0 when nothing is listed or no cell fits in a line.
int TotalLines(int itemCount, int pageWidth);
// Index (1-based) of the item in the top-left cell of a page starting at grid line startLine.
int FirstIndexOfPage(int startLine, int perLine);

// The item (1-based) under a click, or 0 when the click is right of the last column,
// below the last item or outside the page.
int HitIndex(int x, int y, int perLine, int startLine, int itemCount);

// Inner rectangle of the cell at (row, column), already shrunk by the inset.
QRect InnerCell(int row, int column);
// Top-left where a w x h thumbnail is drawn in an inner cell: centred across, and down
// inside the square at the top of the cell.
QPoint ThumbnailOrigin(const QRect& inner, int w, int h);
// Where the caption goes inside an inner cell.
QRect CaptionRect(const QRect& inner);

// The vertical scroll bar of a page: the value is the first line shown (1-based).
struct ScrollRange {
  int minimum = 1;
  int maximum = 1;
  int pageStep = 0;
  bool operator==(const ScrollRange&) const = default;
};
// When everything fits one page the range stays at 1 so the list starts at the top.
ScrollRange ScrollFor(int itemCount, int pageWidth, int pageHeight);

}  // namespace BrowseGeometry
