#pragma once
// The drag flag the optimiser and the options panel keep for their two sliders: set by a
// mouse button press on either slider, cleared by the owner (on release, or after an error).
#include <QObject>

class QSlider;

class SliderDrag : public QObject {
  Q_OBJECT
 public:
  explicit SliderDrag(QObject* parent = nullptr) : QObject(parent) {}

  void Watch(QSlider* slider);
  bool Dragging() const { return dragging_; }
  void Clear() { dragging_ = false; }

 signals:
  // The mouse button went up on slider; the owner decides whether to clear the flag.
  void MouseUp(QSlider* slider);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool dragging_ = false;
  bool forwarding_ = false;
};
