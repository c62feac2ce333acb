#pragma once
// The main window's layout arithmetic in twips: browser width, the left bar's three parts, the
// two splitter drags and the status strip. Results that would be negative are not applied.
#include <optional>

class MainLayout {
 public:
  static constexpr int kGap = 50;             // between status fields and below the preview
  static constexpr int kBrowserMargin = 100;  // right of the browser

  struct LeftBarParts {
    int previewTop;
    int sizerTop;
    int treeHeight;  // from top 0
  };
  struct BottomBarParts {
    int cancelLeft;
    int picsLeft;
    int sizeLeft;
    int dimensionsLeft;
    std::optional<int> progressWidth;  // empty: too narrow, keep the old width
  };

  // Width for the browser, whose left edge follows the left bar and the splitter.
  static std::optional<int> BrowserWidth(int clientWidth, int browserLeft);
  // Preview at the bottom (50 above the edge), the splitter on it, the tree above. A bar too
  // short for preview and splitter gets a tree of height 0 rather than a negative one.
  static LeftBarParts LeftBar(int leftBarHeight, int previewHeight, int sizerHeight);
  // New left bar width after the vertical splitter moved by delta; empty when the bar or the
  // browser right of it would get a negative width.
  static std::optional<int> DragLeftBar(int leftBarWidth, int delta, int clientWidth,
                                        int sizerWidth);
  // New preview height after the horizontal splitter moved down by delta; empty when the
  // preview would get a negative height or the splitter would be pushed above the bar.
  static std::optional<int> DragPreview(int previewHeight, int delta, int leftBarHeight,
                                        int sizerHeight);
  // Status fields laid out from the right edge; Cancel and the picture count share a place.
  static BottomBarParts BottomBar(int barWidth, int cancelWidth, int sizeWidth,
                                  int dimensionsWidth);
};
