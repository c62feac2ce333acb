#pragma once
// Puts the Original and Optimized previews of the optimiser window or the batch wizard where
// WindowArrangement says, against the main window when it is open, else the screen.
#include "WindowArrangement.h"

class QWidget;
class frmPicturePreview;

namespace PreviewPlacement {

// own: the window that goes below the previews. A preview larger than its area shrinks to it.
// The caller moves own to the returned ownTop when it wants to.
WindowArrangement Place(const QWidget* own, frmPicturePreview* original,
                        frmPicturePreview* optimized);

}  // namespace PreviewPlacement
