// optimizer_bench make FILE [WIDTH HEIGHT] | quality FILE [RUNS] | memory FILE
//   make:    writes a photograph-like JPEG (12 megapixels by default).
//   quality: median time from a quality change in the optimiser window to updated statistics
//            and Optimized preview, against the bare engine round trip of the same picture.
//   memory:  peak resident memory of the window holding the picture, over the process before
//            it opened, in multiples of the 24-bit picture size. Run it in a fresh process.
// Runs on the offscreen platform.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QRandomGenerator>
#include <QSlider>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "DemoScene.h"
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
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  Language().AddDefaultStrings();
  const QStringList args = app.arguments().mid(1);
  if (args.size() < 2) {
    std::fprintf(stderr, "usage: optimizer_bench make|quality|memory FILE [...]\n");
    return 2;
  }
  if (args[0] == QLatin1String("make"))
    return Make(args[1], args.value(2, "4000").toInt(), args.value(3, "3000").toInt());
  if (args[0] == QLatin1String("quality")) return Quality(args[1], args.value(2, "9").toInt());
  if (args[0] == QLatin1String("memory")) return Memory(args[1]);
  return 2;
}
