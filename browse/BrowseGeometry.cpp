#include "browse/BrowseGeometry.h"

#include <algorithm>
#include <cmath>

#include "engine/Rounding.h"

namespace BrowseGeometry {
namespace {

// Halves go to the even neighbour, as everywhere in the program's size arithmetic.
// A very thin picture would round to a side of 0, which no picture can have.
int Side(double value) { return std::max(1, Rounding::HalfEven(value)); }

}  // namespace

QSize ThumbnailSize(int width, int height) {
  if (width < height && height > kThumbBox)
    return {Side(double(width) * kThumbBox / height), kThumbBox};
  if (width > height && width > kThumbBox)
    return {kThumbBox, Side(double(height) * kThumbBox / width)};
  if (width == height && width > kThumbBox) return {kThumbBox, kThumbBox};
  return {width, height};
}

int ImagesPerLine(int itemCount, int pageWidth) {
  if (itemCount <= 0 || pageWidth <= 0) return 0;
  return pageWidth / kCellWidth;
}

int PageSize(int itemCount, int pageHeight) {
  if (itemCount <= 0 || pageHeight <= 0) return 0;
  return pageHeight / kCellHeight;
}

int TotalLines(int itemCount, int pageWidth) {
  const int perLine = ImagesPerLine(itemCount, pageWidth);
  if (perLine == 0) return 0;
  return (itemCount + perLine - 1) / perLine;
}

int FirstIndexOfPage(int startLine, int perLine) {
  return (std::max(startLine, 1) - 1) * perLine + 1;
}

int HitIndex(int x, int y, int perLine, int startLine, int itemCount) {
  if (x < 0 || y < 0 || perLine <= 0) return 0;
  const int column = x / kCellWidth;
  const int row = y / kCellHeight;
  if (column >= perLine) return 0;
  const long long index = (long long)(row + std::max(startLine, 1) - 1) * perLine + column + 1;
  return index > itemCount ? 0 : int(index);
}

QRect InnerCell(int row, int column) {
  const int left = kCellWidth * column, top = kCellHeight * row;
  return QRect(QPoint(left + kCellInset, top + kCellInset),
               QPoint(left + kCellWidth - kCellInset - 1, top + kCellHeight - kCellInset - 1));
}

QPoint ThumbnailOrigin(const QRect& inner, int w, int h) {
  // Edges as exclusive coordinates: x1 = right + 1.
  const int x0 = inner.left(), y0 = inner.top(), x1 = inner.right() + 1;
  return {Rounding::HalfEven((x0 + x1 - w) / 2.0), y0 + Rounding::HalfEven((x1 - x0 - h) / 2.0)};
}

QRect CaptionRect(const QRect& inner) {
  const int y1 = inner.bottom() + 1;
  return QRect(QPoint(inner.left(), y1 - 19), QPoint(inner.right(), y1 - 3));
}

ScrollRange ScrollFor(int itemCount, int pageWidth, int pageHeight) {
  const int page = PageSize(itemCount, pageHeight);
  const int total = TotalLines(itemCount, pageWidth);
  return {1, std::max(1, total - page + 1), page};
}

}  // namespace BrowseGeometry
