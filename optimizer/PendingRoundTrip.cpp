#include "optimizer/PendingRoundTrip.h"

#include <QAbstractSlider>
#include <utility>

PendingRoundTrip::PendingRoundTrip(QObject* parent, std::function<void()> run)
    : QObject(parent), run_(std::move(run)) {
  // A zero timer fires after the input already queued is handled: every key repeat or
  // mouse move that came in during the last round trip only moves the slider.
  timer_.setSingleShot(true);
  timer_.setInterval(0);
  connect(&timer_, &QTimer::timeout, this, [this] {
    if (std::exchange(pending_, false)) run_();
  });
}

void PendingRoundTrip::Watch(QAbstractSlider* slider) {
  // Emitted just before the slider sets the value the user's action gives it.
  connect(slider, &QAbstractSlider::actionTriggered, this, [this] { timer_.start(); });
}

void PendingRoundTrip::Changed() {
  if (timer_.isActive())
    pending_ = true;
  else
    run_();
}

void PendingRoundTrip::Flush() {
  if (std::exchange(pending_, false)) run_();
}

void PendingRoundTrip::Later() {
  pending_ = true;
  timer_.start();
}
