#pragma once
// Gives a top-level window an owner that the window system keeps it above. On X11 Qt writes
// the owner (WM_TRANSIENT_FOR) only for dialog-type windows, so an owned window becomes one;
// it keeps its minimise and maximise buttons. There is no QObject parent: an owned window is
// not deleted with its owner, it closes by its own steps.
class QWidget;

namespace WindowOwner {

// Before window is shown; a null owner leaves window as it is.
void Own(QWidget* window, QWidget* owner);

}  // namespace WindowOwner
