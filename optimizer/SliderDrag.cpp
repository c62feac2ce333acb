#include "optimizer/SliderDrag.h"

#include <QCoreApplication>
#include <QEvent>
#include <QSlider>

void SliderDrag::Watch(QSlider* slider) { slider->installEventFilter(this); }

bool SliderDrag::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress) {
    dragging_ = true;
  } else if (event->type() == QEvent::MouseButtonRelease && !forwarding_) {
    // Let the slider finish its drag first, so that its new value (the Change) comes before
    // the owner's mouse-up work.
    forwarding_ = true;
    QCoreApplication::sendEvent(watched, event);
    forwarding_ = false;
    emit MouseUp(static_cast<QSlider*>(watched));
    return true;
  }
  return QObject::eventFilter(watched, event);
}
