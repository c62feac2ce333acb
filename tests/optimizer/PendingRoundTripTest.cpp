// A held key queues many slider steps while one JPEG round trip runs: only the newest position
// may be computed, and changes made by code must still show at once.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QSlider>
#include <vector>

#include "optimizer/PendingRoundTrip.h"

namespace {

struct Case {
  const char* what;
  int start;
  int keys;          // Right presses queued before the loop runs
  bool thenByCode;   // a setValue(10) by code right after the queued keys were handled
  std::vector<int> runsSeen;  // the slider value at each run
};

class PendingRoundTripTest : public ::testing::TestWithParam<Case> {};

TEST_P(PendingRoundTripTest, QueuedStepsRunOnceOnTheNewestPosition) {
  const Case& c = GetParam();
  QSlider slider(Qt::Horizontal);
  slider.setRange(0, 100);
  slider.setValue(c.start);
  std::vector<int> seen;
  PendingRoundTrip pacer(nullptr, [&] { seen.push_back(slider.value()); });
  pacer.Watch(&slider);
  QObject::connect(&slider, &QSlider::valueChanged, &pacer, [&] { pacer.Changed(); });
  for (int i = 0; i < c.keys; ++i)
    QCoreApplication::postEvent(&slider, new QKeyEvent(QEvent::KeyPress, Qt::Key_Right, {}));
  QCoreApplication::sendPostedEvents();
  EXPECT_TRUE(seen.empty()) << c.what << ": no round trip while steps are still queued";
  QApplication::processEvents();
  QApplication::processEvents();
  if (c.thenByCode) {
    slider.setValue(10);
    EXPECT_EQ(seen.empty() ? -1 : seen.back(), 10) << c.what << ": a change by code runs at once";
  }
  EXPECT_EQ(seen, c.runsSeen) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Steps, PendingRoundTripTest,
    ::testing::Values(Case{"twenty steps", 50, 20, false, {70}},
                      Case{"one step", 50, 1, false, {51}},
                      Case{"steps at the end of the range change nothing", 100, 5, false, {}},
                      Case{"code after keys", 50, 3, true, {53, 10}}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(PendingRoundTripFlush, ASaveBeforeTheLoopTurnsSeesTheNewestPosition) {
  QSlider slider(Qt::Horizontal);
  slider.setRange(0, 100);
  int runs = 0;
  PendingRoundTrip pacer(nullptr, [&] { ++runs; });
  pacer.Later();
  pacer.Later();
  pacer.Flush();
  EXPECT_EQ(runs, 1);
  QApplication::processEvents();
  EXPECT_EQ(runs, 1) << "flushed work is not run a second time";
  pacer.Later();
  pacer.Cancel();  // a direct round trip covered it
  QApplication::processEvents();
  EXPECT_EQ(runs, 1);
}

}  // namespace
