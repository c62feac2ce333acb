#include "optimizer/WindowArrangement.h"

#include <algorithm>
#include <cmath>

#include "core/Twips.h"
#include "engine/Rounding.h"

namespace {
constexpr double kPreviewsBelowTop = 1200;
constexpr double kGapToCentre = 50;
constexpr double kLeftMargin = 100;
constexpr double kGapBelowPreviews = 100;
constexpr double kBottomMargin = 120;
// Previews above the window keep at least their picture's height or this share of the
// frame's, whichever is less; else the window goes beside them.
constexpr int kShortestShare = 3;

// The Optimized preview's area: as wide as the Original's, so that two pictures of one size
// get frames of one size and the same fitted zoom, and never past the screen's right edge.
QRect SameWidth(QRect originalArea, QPoint at, int right) {
  return QRect(at, QPoint(std::min(right, at.x() + originalArea.width() - 1), originalArea.bottom()));
}
}  // namespace

WindowArrangement WindowArrangement::Compute(QRect reference, QSize originalFrame, QSize ownFrame) {
  using Twips::FromPixels;
  using Twips::ToPixels;
  const double l = FromPixels(reference.left());
  const double t = FromPixels(reference.top());
  const double w = FromPixels(reference.width());
  const double h = FromPixels(reference.height());
  const double originalWidth = FromPixels(originalFrame.width());
  const double originalHeight = FromPixels(originalFrame.height());
  const double ownHeight = FromPixels(ownFrame.height());

  const double top = t + kPreviewsBelowTop;
  double originalLeft = Rounding::HalfEven(l + w / 2 - originalWidth - kGapToCentre);
  if (originalLeft < l + kLeftMargin) originalLeft = l + kLeftMargin;
  const double optimizedLeft = l + w / 2 + kGapToCentre;
  double ownTop = top + originalHeight + kGapBelowPreviews;
  const double lowest = t + h - ownHeight - kBottomMargin;
  if (ownTop > lowest) ownTop = lowest;

  WindowArrangement result;
  result.original = QPoint(ToPixels(originalLeft), ToPixels(top));
  result.optimized = QPoint(ToPixels(optimizedLeft), ToPixels(top));
  result.ownTop = ToPixels(ownTop);
  // The previews end above the window, so neither hides the other: a window pushed up over
  // tall previews, or a picture that grows later (the view's scroll bars show the rest).
  const int bottom = std::min(reference.bottom(), ToPixels(ownTop - kGapBelowPreviews) - 1);
  const int shortest = std::min(originalFrame.height(), reference.height() / kShortestShare);
  if (bottom - result.original.y() + 1 >= shortest) {
    result.originalArea =
        QRect(result.original, QPoint(ToPixels(l + w / 2 - kGapToCentre) - 1, bottom));
    result.optimizedArea = SameWidth(result.originalArea, result.optimized, reference.right());
    return result;
  }
  // No room above the window (a low screen): it goes to the left at the previews' top, and
  // the two previews share the width beside it, down to the frame's bottom.
  result.ownLeft = ToPixels(l + kLeftMargin);
  result.ownTop = result.original.y();
  const int left = result.ownLeft + ownFrame.width() + ToPixels(2 * kGapToCentre);
  const int middle = (left + reference.right()) / 2;
  const int lowestPixel = ToPixels(t + h - kBottomMargin) - 1;
  result.original = QPoint(left, result.ownTop);
  result.optimized = QPoint(middle + ToPixels(kGapToCentre), result.ownTop);
  result.originalArea =
      QRect(result.original, QPoint(middle - ToPixels(kGapToCentre) - 1, lowestPixel));
  result.optimizedArea = SameWidth(result.originalArea, result.optimized, reference.right());
  return result;
}
