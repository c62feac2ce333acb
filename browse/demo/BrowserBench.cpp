// trimjet-browser-bench FOLDER [--no-helper]
// Times the picture browser on a folder: the scan, the first full page of thumbnails on a
// 1000 x 800 surface, the longest time the window thread did not answer meanwhile, and every
// thumbnail of the folder through the same background loader. --no-helper leaves the files
// other than JPEG to the window thread, as without the thumbnail helper program.
// Prints "key value" lines for bench/browse.sh.
#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>

#include "browse/BrowserHost.h"
#include "browse/PictureBrowser.h"
#include "browse/ThumbnailClient.h"
#include "browse/ThumbnailLoader.h"
#include "browse/clsBrowsePic.h"
#include "browse/clsDirPics.h"

namespace {

// Counts the scan's end, so that the scan alone can be timed.
class TimingHost : public BrowserHost {
 public:
  void BeginScan() override {}
  void SetScanRange(int) override {}
  void SetScanValue(int) override {}
  bool ScanCancelled() override { return false; }
  void LetEventsRun() override {}
  void EndScan() override { scanMs = clock->elapsed(); }
  void ShowPictureCount(int) override {}
  QElapsedTimer* clock = nullptr;
  qint64 scanMs = 0;
};

void WaitFor(const std::function<bool()>& done) {
  while (!done()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: trimjet-browser-bench FOLDER [--no-helper]\n");
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  if (argc > 2 && QByteArray(argv[2]) == "--no-helper")
    ThumbnailClient::SetDefaultHelper(QStringLiteral("/nonexistent/trimjet-thumbnailer"));

  PictureBrowser browser;
  TimingHost host;
  QElapsedTimer clock;
  host.clock = &clock;
  browser.SetHost(&host);
  browser.resize(1000 + browser.VScroll()->sizeHint().width(), 800);
  browser.show();
  QCoreApplication::processEvents();

  // A tick every 5 ms; the widest gap between two is the longest the window stood still.
  QElapsedTimer sinceTick;
  qint64 stallMs = 0;
  QTimer ticker;
  ticker.setInterval(5);
  QObject::connect(&ticker, &QTimer::timeout,
                   [&] { stallMs = std::max(stallMs, sinceTick.restart()); });
  clock.start();
  sinceTick.start();
  ticker.start();
  browser.SetDirectory(folder);
  WaitFor([&] { return !browser.ThumbnailsPending(); });
  const qint64 firstPage = clock.elapsed();
  stallMs = std::max(stallMs, sinceTick.elapsed());
  ticker.stop();
  const clsDirPics* model = browser.Current();
  int onPage = 0;
  for (int i = 1; i <= model->GetImagesCount(); ++i)
    if (model->Item(i)->HasThumbnail() || model->Item(i)->LoadFailed()) ++onPage;

  // Every file of the folder, as if each had come on screen at once.
  std::vector<ThumbnailLoader::Job> jobs;
  clsDirPics all;
  all.SetDirectory(folder);
  all.RebuildImageList(nullptr);
  for (int i = 1; i <= all.GetImagesCount(); ++i)
    jobs.push_back({all.Item(i)->Id(), all.Item(i)->FullPath()});
  int made = 0, failed = 0;
  ThumbnailLoader loader;
  QObject::connect(&loader, &ThumbnailLoader::Ready,
                   [&](quint64, const ThumbnailResult& r) { r.ok ? ++made : ++failed; });
  clock.restart();
  loader.Want(jobs);
  WaitFor([&] { return made + failed == int(jobs.size()); });
  const qint64 allMs = clock.elapsed();

  std::printf("files %d\nscan_ms %lld\npage_cells %d\nfirst_page_ms %lld\nmax_stall_ms %lld\n",
              int(jobs.size()), host.scanMs, onPage, firstPage, stallMs);
  std::printf("all_ms %lld\nmade %d\nfailed %d\n", allMs, made, failed);
  return failed == 0 ? 0 : 1;
}
