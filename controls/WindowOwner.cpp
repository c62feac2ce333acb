#include "controls/WindowOwner.h"

#include <QWidget>
#include <QWindow>

namespace WindowOwner {

void Own(QWidget* window, QWidget* owner) {
  if (!window || !owner) return;
  const bool visible = window->isVisible();
  window->setWindowFlags((window->windowFlags() & ~Qt::WindowType_Mask) | Qt::Dialog |
                         Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
  owner->winId();
  window->winId();
  window->windowHandle()->setTransientParent(owner->windowHandle());
  if (visible) window->show();
}

}  // namespace WindowOwner
