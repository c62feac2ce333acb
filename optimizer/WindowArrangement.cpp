#include "optimizer/WindowArrangement.h"

#include <algorithm>
#include <cmath>

#include "engine/Rounding.h"
#include "core/Twips.h"

namespace {
constexpr double kPreviewsBelowTop = 1200;
constexpr double kGapToCentre = 50;
constexpr double kLeftMargin = 100;
constexpr double kGapBelowPreviews = 100;
constexpr double kBottomMargin = 120;
// Previews cut short to keep the window clear of them keep at least this height (pixels).
constexpr int kShortestPreview = 120;
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
  const int bottom =
      std::min(reference.bottom(), std::max(ToPixels(ownTop - kGapBelowPreviews) - 1,
                                            result.original.y() + kShortestPreview - 1));
  result.originalArea =
      QRect(result.original, QPoint(ToPixels(l + w / 2 - kGapToCentre) - 1, bottom));
  result.optimizedArea = QRect(result.optimized, QPoint(reference.right(), bottom));
  return result;
}
