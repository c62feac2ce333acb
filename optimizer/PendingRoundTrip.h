#pragma once
// Keeps a slider's JPEG round trips level with the hand. A held arrow key or a drag queues
// many positions while one picture is encoded (0.1 to 0.3 s at 12 megapixels); computing each
// in turn leaves the window seconds behind. Positions the user passes are collected and the
// round trip runs once, on the newest one, when the queued input has been handled. A change
// made by code runs at once, so its caller reads the figures right after setValue.
#include <QObject>
#include <QTimer>
#include <functional>

class QAbstractSlider;

class PendingRoundTrip : public QObject {
 public:
  PendingRoundTrip(QObject* parent, std::function<void()> run);

  // Changes that follow the user's actions on slider (keys, wheel, clicks on the groove)
  // are collected.
  void Watch(QAbstractSlider* slider);
  // A value changed: runs now, or later when it came from the user.
  void Changed();
  // Runs later in any case (a drag's positions).
  void Later();
  // A round trip ran directly: nothing collected is left to do.
  void Cancel() { pending_ = false; }
  // Runs a collected round trip now (before a save reads its result).
  void Flush();

 private:
  std::function<void()> run_;
  QTimer timer_;
  bool pending_ = false;
};
