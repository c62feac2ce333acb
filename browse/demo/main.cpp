// trimjet-preview-demo [FILE | scene:WIDTHxHEIGHT] [fit | PERCENT]
// Opens a preview window on a picture file (or a drawn scene) at fit or at a zoom in percent.
#include <QApplication>
#include <QFileInfo>
#include <QSlider>
#include <QTimer>
#include <cstdio>

#include "DemoScene.h"
#include "browse/ImageView.h"
#include "browse/frmPicturePreview.h"
#include "engine/clsImage.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QStringList args = app.arguments().mid(1);
  const QString source = args.value(0, QStringLiteral("scene:1200x800"));
  const QString zoom = args.value(1, QStringLiteral("fit"));

  std::shared_ptr<clsImage> image;
  if (source.startsWith(QLatin1String("scene:"))) {
    const QStringList size = source.mid(6).split(QLatin1Char('x'));
    image = DemoScene::Make(size.value(0).toInt(), size.value(1).toInt());
  } else {
    image = std::make_shared<clsImage>();
    if (!image->CreateFromFile(source)) {
      std::fprintf(stderr, "cannot load %s\n", qPrintable(source));
      return 1;
    }
  }

  frmPicturePreview preview;
  preview.setWindowTitle(QFileInfo(source).fileName());
  preview.move(40, 40);
  preview.SetImage(image);
  preview.show();
  // Once shown the window has its final size; then choose the zoom.
  QTimer::singleShot(200, &preview, [&] {
    if (zoom == QLatin1String("fit"))
      preview.View()->ZoomToFit();
    else
      preview.View()
          ->findChild<QSlider*>(QStringLiteral("ZoomSlider"))
          ->setValue(static_cast<int>(zoom.toDouble() * 5));
  });
  return app.exec();
}
