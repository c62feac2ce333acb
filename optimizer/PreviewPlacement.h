#pragma once
// Puts the Original and Optimized previews of the optimiser window or the batch wizard where
// WindowArrangement says, on the screen of their owner (the main window) when they have one,
// else of the window.
#include "optimizer/WindowArrangement.h"

class QWidget;
class frmPicturePreview;

namespace PreviewPlacement {

// own: the window that goes below the previews; owner: the reference frame, or null. A preview
// larger than its area shrinks to it. The caller moves own (MoveOwn) when it wants to.
WindowArrangement Place(const QWidget* own, const QWidget* owner, frmPicturePreview* original,
                        frmPicturePreview* optimized);
// Moves own's frame where a says (its left kept unless it goes beside the previews), also
// before the window manager has framed it.
void MoveOwn(QWidget* own, const WindowArrangement& a);

}  // namespace PreviewPlacement
