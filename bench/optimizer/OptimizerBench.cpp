// optimizer_bench make FILE [WIDTH HEIGHT] | quality FILE [RUNS] | drag FILE | memory FILE |
//                 pointer FILE [DRAGS]
//   make:    writes a photograph-like JPEG (12 megapixels by default).
//   quality: median time from a quality change in the optimiser window to updated statistics
//            and Optimized preview, against the bare engine round trip of the same picture.
//   drag:    a held arrow key (20 repeats at 30 a second) on the quality slider: time from
//            the last repeat to the final statistics, in bare round trips.
//   pointer: real pointer drags of the quality handle on an X display (PointerDrag.cpp).
//   memory:  peak resident memory of the window holding the picture, over the process before
//            it opened, in multiples of the 24-bit picture size. Run it in a fresh process.
// Runs on the offscreen platform, pointer on the X display.
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QTimer>
#include <QLabel>
#include <QRandomGenerator>
#include <QSlider>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "DemoScene.h"
#include "PointerDrag.h"
#include "core/PreviewSession.h"
#include "core/StatisticsText.h"
#include "engine/clsImage.h"
#include "optimizer/frmImgOpt.h"
#include "settings/clsLanguage.h"

namespace {

long StatusKb(const char* field) {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith(field))
      return line.mid(int(qstrlen(field))).trimmed().split(' ')[0].toLong();
  return -1;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

int Make(const QString& file, int width, int height) {
  auto image = DemoScene::Make(width, height);
  // Sensor-like grain, so the JPEG is as hard to compress as a photograph.
  QImage surface = image->Surface();
  QRandomGenerator noise(7);
  for (int y = 0; y < height; ++y) {
    uchar* row = surface.scanLine(y);
    for (int x = 0; x < width * 3; ++x)
      row[x] = uchar(std::clamp(int(row[x]) + int(noise.bounded(13)) - 6, 0, 255));
  }
  if (!image->SaveIJLjpg(file, 90)) return 1;
  std::printf("wrote %s %dx%d, %lld bytes\n", qPrintable(file), width, height, QFile(file).size());
  return 0;
}

int Quality(const QString& file, int runs) {
  auto* window = new frmImgOpt;
  window->show();
  window->LoadPicture(file, true);
  QApplication::processEvents();
  auto* slider = window->findChild<QSlider*>(QStringLiteral("sldQuality"));
  auto* size = window->findChild<QLabel*>(QStringLiteral("txtOptimizedSize"));
  const auto working = window->WorkingPicture();
  if (!working || working->hDC() == 0) return 1;
  std::printf("picture %dx%d\n", working->Width(), working->Height());

  std::vector<double> bare, windowed;
  auto dest = std::make_shared<clsImage>();
  for (int i = 0; i < runs; ++i) {
    const int quality = 60 + (i % 2);
    QElapsedTimer t;
    t.start();
    int bytes = 0;
    dest = working->GetOptimizedInstance(quality, dest, &bytes);
    bare.push_back(t.nsecsElapsed() / 1e6);

    t.start();
    slider->setValue(quality == 60 ? 61 : 60);  // the Change: round trip, texts, preview
    QApplication::processEvents();              // the preview's pending repaint
    windowed.push_back(t.nsecsElapsed() / 1e6);
    if (size->text().isEmpty()) return 1;
  }
  const double b = Median(bare), w = Median(windowed);
  std::printf("bare GetOptimizedInstance  %8.1f ms\n", b);
  std::printf("window quality change      %8.1f ms\n", w);
  std::printf("ratio                      %8.2f (target <= 1.2)\n", w / b);
  delete window;
  return 0;
}

int Drag(const QString& file) {
  auto* window = new frmImgOpt;
  window->show();
  window->LoadPicture(file, true);
  QApplication::processEvents();
  auto* slider = window->findChild<QSlider*>(QStringLiteral("sldQuality"));
  auto* size = window->findChild<QLabel*>(QStringLiteral("txtOptimizedSize"));
  const auto working = window->WorkingPicture();
  if (!working || working->hDC() == 0) return 1;
  constexpr int kRepeats = 20, kStart = 40;
  slider->setValue(kStart);
  QApplication::processEvents();
  // One bare round trip, and the size the last position must show.
  auto dest = std::make_shared<clsImage>();
  int finalBytes = 0;
  QElapsedTimer t;
  t.start();
  dest = working->GetOptimizedInstance(kStart + kRepeats, dest, &finalBytes);
  const double roundTrip = t.nsecsElapsed() / 1e6;
  const QString finalText = StatisticsText::SizeText(finalBytes);

  // The repeats come from another thread, as the X server's do: they queue up while the
  // window is busy instead of waiting for it.
  int changes = 0;
  std::atomic<qint64> lastKeyAt{-1};
  qint64 doneAt = -1;
  QString seen = size->text();
  QEventLoop loop;
  QTimer poll;
  t.start();
  std::thread keys([&] {
    for (int i = 0; i < kRepeats; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(33));
      QCoreApplication::postEvent(
          slider, new QKeyEvent(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier, QString(), true));
    }
    lastKeyAt = t.nsecsElapsed();
  });
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (size->text() != seen) {
      seen = size->text();
      ++changes;
    }
    if (lastKeyAt >= 0 && slider->value() == kStart + kRepeats && seen.startsWith(finalText)) {
      doneAt = t.nsecsElapsed();
      loop.quit();
    }
  });
  poll.start(1);
  QTimer::singleShot(60000, &loop, &QEventLoop::quit);
  loop.exec();
  keys.join();
  if (doneAt < 0) return 1;
  const double lag = (doneAt - lastKeyAt) / 1e6;
  std::printf("bare round trip             %8.1f ms\n", roundTrip);
  std::printf("held key, %d repeats        %8.1f ms from the last repeat to its figures\n",
              kRepeats, lag);
  std::printf("                            %8.2f round trips behind (target <= 2: the one running,\n"
              "                                     then the newest position)\n", lag / roundTrip);
  std::printf("statistics updates          %8d (one per repeat if each were computed in turn)\n",
              changes);
  delete window;
  return 0;
}

int Memory(const QString& file) {
  const long before = StatusKb("VmRSS:");
  auto* window = new frmImgOpt;
  window->show();
  window->LoadPicture(file, true);
  QApplication::processEvents();
  auto* slider = window->findChild<QSlider*>(QStringLiteral("sldQuality"));
  slider->setValue(40);
  QApplication::processEvents();
  const auto source = window->SourcePicture();
  if (!source || source->hDC() == 0) return 1;
  const double picture = double(source->Width()) * source->Height() * 3 / 1024;
  const long peak = StatusKb("VmHWM:");
  std::printf("picture %dx%d, 24-bit size %.1f MB\n", source->Width(), source->Height(),
              picture / 1024);
  std::printf("resident before the window %8.1f MB\n", before / 1024.0);
  std::printf("peak resident              %8.1f MB\n", peak / 1024.0);
  std::printf("window's peak              %8.1f MB = %.2f x the picture (target <= 6)\n",
              (peak - before) / 1024.0, (peak - before) / picture);
  delete window;
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const bool pointer = argc > 1 && qstrcmp(argv[1], "pointer") == 0;
  qputenv("QT_QPA_PLATFORM", pointer ? "xcb" : "offscreen");
  PreviewSession::ShareOneHeap();  // as the program does
  QApplication app(argc, argv);
  Language().AddDefaultStrings();
  const QStringList args = app.arguments().mid(1);
  if (args.size() < 2) {
    std::fprintf(stderr, "usage: optimizer_bench make|quality|drag|memory|pointer FILE [...]\n");
    return 2;
  }
  if (args[0] == QLatin1String("make"))
    return Make(args[1], args.value(2, "4000").toInt(), args.value(3, "3000").toInt());
  if (args[0] == QLatin1String("quality")) return Quality(args[1], args.value(2, "9").toInt());
  if (args[0] == QLatin1String("drag")) return Drag(args[1]);
  if (args[0] == QLatin1String("memory")) return Memory(args[1]);
  if (pointer) return PointerDrag(args[1], args.value(2, "10").toInt());
  return 2;
}
