#include "app/MainLayout.h"

#include <algorithm>

std::optional<int> MainLayout::BrowserWidth(int clientWidth, int browserLeft) {
  const int width = clientWidth - browserLeft - kBrowserMargin;
  if (width < 0) return std::nullopt;
  return width;
}

MainLayout::LeftBarParts MainLayout::LeftBar(int leftBarHeight, int previewHeight,
                                             int sizerHeight) {
  LeftBarParts parts{};
  parts.previewTop = leftBarHeight - previewHeight - kGap;
  parts.sizerTop = parts.previewTop - sizerHeight;
  parts.treeHeight = std::max(0, parts.sizerTop);
  return parts;
}

std::optional<int> MainLayout::DragLeftBar(int leftBarWidth, int delta, int clientWidth,
                                           int sizerWidth) {
  const int width = leftBarWidth + delta;
  if (width < 0 || !BrowserWidth(clientWidth, width + sizerWidth)) return std::nullopt;
  return width;
}

std::optional<int> MainLayout::DragPreview(int previewHeight, int delta, int leftBarHeight,
                                           int sizerHeight) {
  const int height = previewHeight - delta;
  // Moving up past the top is refused; moving down is allowed even from a bar that is
  // already too short, so the user can always win the tree back.
  if (height < 0 || (delta < 0 && LeftBar(leftBarHeight, height, sizerHeight).sizerTop < 0))
    return std::nullopt;
  return height;
}

MainLayout::BottomBarParts MainLayout::BottomBar(int barWidth, int cancelWidth, int sizeWidth,
                                                 int dimensionsWidth) {
  BottomBarParts parts{};
  parts.cancelLeft = barWidth - cancelWidth - kGap;
  parts.picsLeft = parts.cancelLeft;
  parts.sizeLeft = parts.picsLeft - sizeWidth - kGap;
  parts.dimensionsLeft = parts.sizeLeft - dimensionsWidth - kGap;
  if (parts.dimensionsLeft - kGap >= 0) parts.progressWidth = parts.dimensionsLeft - kGap;
  return parts;
}
