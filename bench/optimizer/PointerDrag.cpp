// optimizer_bench pointer FILE [DRAGS]: drags the optimiser's quality handle with the real
// pointer (xdotool on an X display, as a person drags: press, 16 moves 40 ms apart, release)
// and measures, for each drag, how long after the release the statistics show the released
// position, in the window's round trips of that position, and whether they showed a position
// the handle had left.
#include "PointerDrag.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QRandomGenerator>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "core/StatisticsText.h"
#include "engine/clsImage.h"
#include "optimizer/frmImgOpt.h"

namespace {

constexpr int kMoves = 16;
constexpr int kMoveMs = 40;

// The screen point of the handle's middle at value.
QPoint HandleAt(QSlider* slider, int value) {
  QStyleOptionSlider option;
  option.initFrom(slider);
  option.orientation = slider->orientation();
  option.minimum = slider->minimum();
  option.maximum = slider->maximum();
  option.sliderPosition = value;
  option.sliderValue = value;
  const QRect handle =
      slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider);
  return slider->mapToGlobal(handle.center());
}

void Xdotool(const QString& args) {
  const QByteArray command = "xdotool " + args.toLatin1();
  if (std::system(command.constData()) != 0) std::fprintf(stderr, "failed: %s\n", command.data());
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int PointerDrag(const QString& file, int drags) {
  auto* window = new frmImgOpt;
  window->show();
  window->LoadPicture(file, true);
  window->raise();
  window->activateWindow();
  QApplication::processEvents();
  auto* slider = window->findChild<QSlider*>(QStringLiteral("sldQuality"));
  auto* size = window->findChild<QLabel*>(QStringLiteral("txtOptimizedSize"));
  const auto working = window->WorkingPicture();
  if (!slider || !size || !working || working->hDC() == 0) return 1;
  std::printf("picture %dx%d\n", working->Width(), working->Height());

  QRandomGenerator random(11);
  std::vector<double> settles, trips;
  int staleDrags = 0;
  QElapsedTimer clock;
  clock.start();
  for (int d = 0; d < drags; ++d) {
    // Settled first: the drag starts from a quiet window.
    for (int i = 0; i < 50; ++i) QApplication::processEvents(QEventLoop::AllEvents, 10);
    const int from = slider->value();
    int to = int(random.bounded(slider->minimum() + 5, slider->maximum() - 5));
    if (std::abs(to - from) < 10) to = from < 50 ? from + 25 : from - 25;
    const QPoint a = HandleAt(slider, from), b = HandleAt(slider, to);

    // The changes the window shows: time and text, read whenever its event loop is free.
    std::vector<std::pair<qint64, QString>> shown;
    QString seen = size->text();
    std::atomic<qint64> releasedAt{-1};
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      if (size->text() != seen) {
        seen = size->text();
        shown.emplace_back(clock.nsecsElapsed(), seen);
      }
    });
    poll.start(1);
    std::thread hand([&] {
      Xdotool(QStringLiteral("mousemove %1 %2 mousedown 1").arg(a.x()).arg(a.y()));
      for (int i = 1; i <= kMoves; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(kMoveMs));
        const QPoint p = a + (b - a) * i / kMoves;
        Xdotool(QStringLiteral("mousemove %1 %2").arg(p.x()).arg(p.y()));
      }
      Xdotool(QStringLiteral("mouseup 1"));
      releasedAt = clock.nsecsElapsed();
    });
    // Long enough for any lag to end: the last change is the settled one.
    while (releasedAt < 0 || clock.nsecsElapsed() - releasedAt < 3'000'000'000)
      QApplication::processEvents(QEventLoop::AllEvents, 5);
    hand.join();
    poll.stop();

    // What the released position must show, and one bare round trip of it.
    const int released = slider->value();
    int bytes = 0;
    QElapsedTimer t;
    t.start();
    working->GetOptimizedInstance(released, std::make_shared<clsImage>(), &bytes);
    const double trip = t.nsecsElapsed() / 1e6;
    const QString finalText = StatisticsText::SizeText(bytes);
    qint64 settledAt = releasedAt;
    int stale = 0;
    for (const auto& [at, text] : shown) {
      if (at < releasedAt) continue;
      if (text.startsWith(finalText))
        settledAt = std::max(settledAt, at);
      else
        ++stale;  // shown after the release, for a position the handle had left
    }
    if (!shown.empty() && !shown.back().second.startsWith(finalText)) {
      std::printf("drag %d: the figures never showed %d\n", d + 1, released);
      return 1;
    }
    const double settle = (settledAt - releasedAt) / 1e6;
    if (qEnvironmentVariableIsSet("DRAG_DEBUG"))
      for (const auto& [at, text] : shown)
        std::printf("   %+8.1f ms %s\n", (at - releasedAt) / 1e6, qPrintable(text));
    // The window's own round trip of that position (figures and preview shown), the unit a
    // person waits in: away and back by code, which computes at once.
    slider->setValue(released == slider->minimum() ? released + 1 : released - 1);
    QApplication::processEvents();
    t.start();
    slider->setValue(released);
    QApplication::processEvents();
    const double windowTrip = t.nsecsElapsed() / 1e6;
    settles.push_back(settle / windowTrip);
    trips.push_back(windowTrip);
    staleDrags += stale > 0;
    std::printf("drag %2d: %2d -> %2d, round trip %6.1f ms (bare %6.1f), settled %6.1f ms after "
                "the release = %4.2f round trips, %d stale value(s) after it, %zu updates\n",
                d + 1, from, released, windowTrip, trip, settle, settle / windowTrip, stale,
                shown.size());
  }
  std::printf("median %.2f round trips (goal <= 1), worst %.2f (goal <= 2), drags showing a "
              "left value after the release: %d of %d (goal 0); window round trip median "
              "%.1f ms\n",
              Median(settles), *std::max_element(settles.begin(), settles.end()), staleDrags,
              drags, Median(trips));
  delete window;
  return 0;
}
