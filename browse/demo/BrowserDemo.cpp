// trimjet-browser-demo FOLDER [--select 1,3-5] [--line N]
// A picture browser on a folder with a small status strip: the scan's progress and Cancel,
// the picture count and the selection, to look at the browser as a user would.
#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdio>

#include "browse/BrowserHost.h"
#include "browse/PictureBrowser.h"
#include "browse/clsBrowsePic.h"
#include "browse/clsDirPics.h"

namespace {

class DemoWindow : public QWidget, public BrowserHost {
 public:
  DemoWindow() {
    setWindowTitle(QStringLiteral("Picture browser"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser = new PictureBrowser(this), 1);
    auto* strip = new QHBoxLayout;
    strip->addWidget(progress = new QProgressBar(this), 1);
    strip->addWidget(selection = new QLabel(this));
    strip->addWidget(count = new QLabel(QStringLiteral("Image count"), this));
    strip->addWidget(cancel = new QPushButton(QStringLiteral("Cancel"), this));
    layout->addLayout(strip);
    cancel->hide();
    connect(cancel, &QPushButton::clicked, this, [this] { cancelled = true; });
    browser->SetHost(this);
    connect(browser, &PictureBrowser::SelectionChanged, this, [this] {
      selection->setText(QString("%1 selected").arg(browser->Current()->GetSelectedCount()));
    });
  }
  void BeginScan() override {
    cancelled = false;
    cancel->show();
    cancel->setFocus();
    browser->SetEnabled(false);
  }
  void SetScanRange(int n) override {
    progress->setRange(0, n);
    progress->setValue(0);
  }
  void SetScanValue(int value) override { progress->setValue(value); }
  bool ScanCancelled() override { return cancelled; }
  void EndScan() override {
    browser->SetEnabled(true);
    cancel->hide();
    progress->setValue(0);
  }
  void ShowPictureCount(int n) override { count->setText(QString::number(n)); }

  PictureBrowser* browser;
  QProgressBar* progress;
  QLabel* selection;
  QLabel* count;
  QPushButton* cancel;
  bool cancelled = false;
};

// "1,3-5" -> 1, 3, 4, 5
QList<int> Indices(const QString& text) {
  QList<int> out;
  for (const QString& part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
    const QStringList range = part.split(QLatin1Char('-'));
    for (int i = range.value(0).toInt(); i <= range.value(range.size() - 1).toInt(); ++i)
      out.push_back(i);
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QStringList args = app.arguments().mid(1);
  if (args.isEmpty()) {
    std::fprintf(stderr, "usage: trimjet-browser-demo FOLDER [--select 1,3-5] [--line N]\n");
    return 2;
  }
  DemoWindow window;
  window.resize(880, 640);
  window.move(30, 30);
  window.show();
  const QString folder = args.value(0);
  const QList<int> select = Indices(args.value(args.indexOf(QStringLiteral("--select")) + 1));
  const int line = args.contains(QStringLiteral("--line"))
                       ? args.value(args.indexOf(QStringLiteral("--line")) + 1).toInt()
                       : 1;
  QTimer::singleShot(100, &window, [&] {
    window.browser->SetDirectory(folder);
    window.browser->VScroll()->setValue(line);
    if (!args.contains(QStringLiteral("--select"))) return;
    for (int i : select)
      if (clsBrowsePic* item = window.browser->Current()->Item(i)) item->SetSelected(true);
    window.browser->ReDraw();
    Q_EMIT window.browser->SelectionChanged();
  });
  return app.exec();
}
