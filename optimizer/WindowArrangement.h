#pragma once
// Where the optimiser puts its two previews and itself when a picture is loaded: the previews
// side by side below the top of the reference frame (the screen), the optimiser below them but
// never past the frame's bottom; where that leaves the previews too little height, the
// optimiser at the left and the previews beside it. Computed in twips, placed in pixels.
#include <QPoint>
#include <QRect>
#include <QSize>

struct WindowArrangement {
  QPoint original;   // frame top-left of the Original preview
  QPoint optimized;  // frame top-left of the Optimized preview
  int ownTop = 0;    // frame top of the optimiser
  // Frame left of the optimiser when it must go beside the previews (a screen too low for the
  // previews above it); -1: its left stays where it is.
  int ownLeft = -1;
  // The most each preview's frame may cover, so that a large picture leaves the two side by
  // side instead of one over the other, and both clear of the optimiser below them (the
  // view's scroll bars show the rest). The previews keep to it when their pictures change.
  QRect originalArea;
  QRect optimizedArea;

  // reference, originalFrame and ownFrame in pixels (frame sizes include the title bar).
  static WindowArrangement Compute(QRect reference, QSize originalFrame, QSize ownFrame);
};
