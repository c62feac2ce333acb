// trimjet-imageview-bench [WIDTH HEIGHT]: repaint times of the zoomable view on a large picture
// (12 megapixels by default) while panning at several zooms. Run on the offscreen platform.
#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QSlider>
#include <cstdio>

#include "DemoScene.h"
#include "browse/ImageView.h"
#include "engine/clsImage.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const int width = argc > 2 ? std::atoi(argv[1]) : 4000;
  const int height = argc > 2 ? std::atoi(argv[2]) : 3000;
  auto image = DemoScene::Make(width, height);
  std::printf("picture %dx%d\n", image->Width(), image->Height());

  ImageView view;
  view.resize(800 + 40, 600 + 20);
  view.show();
  view.SetImage(image);
  view.resize(800 + view.GetDeltaWidth(), 600 + view.GetDeltaHeight());
  app.processEvents();
  auto* slider = view.findChild<QSlider*>(QStringLiteral("ZoomSlider"));
  auto* hScroll = view.findChild<QScrollBar*>(QStringLiteral("HScroll"));
  auto* vScroll = view.findChild<QScrollBar*>(QStringLiteral("VScroll"));

  for (int value : {100, 250, 500, 1000}) {
    slider->setValue(value);
    app.processEvents();
    constexpr int kSteps = 200;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < kSteps; ++i) {
      // Each scroll change is one repaint, as one step of a drag is.
      QScrollBar* bar = (i % 2 || !hScroll->isEnabled()) ? vScroll : hScroll;
      if (!bar->isEnabled())
        view.Refresh();
      else
        bar->setValue((bar->value() + 7) % (bar->maximum() + 1));
      app.processEvents();
    }
    const double ms = timer.nsecsElapsed() / 1e6 / kSteps;
    std::printf("zoom %5.1f %%  view %dx%d  %.2f ms per pan repaint\n", view.GetZoomValue(),
                view.ViewSize().width(), view.ViewSize().height(), ms);
  }
  return 0;
}
