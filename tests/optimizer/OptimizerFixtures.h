#pragma once
// Picture files for the optimiser tests, written into a temporary folder of the test.
#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <ostream>

#include "engine/clsImage.h"
#include "settings/clsLanguage.h"

// Readable texts in failure messages.
inline void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}

namespace OptimizerFixtures {

// The built-in English messages, as start-up adds them.
inline void UseDefaultTexts() { Language().AddDefaultStrings(); }

// A smooth gradient with a dark corner mark, so that orientation and scaling show.
inline QImage Gradient(int width, int height) {
  QImage image(width, height, QImage::Format_RGB888);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      image.setPixelColor(
          x, y, QColor(x * 255 / std::max(1, width - 1), y * 255 / std::max(1, height - 1), 128));
  for (int y = 0; y < height / 4; ++y)
    for (int x = 0; x < width / 4; ++x) image.setPixelColor(x, y, Qt::black);
  return image;
}

// Writes a picture; the format follows the extension (JPEG through the engine's encoder).
inline QString Write(const QTemporaryDir& dir, const QString& name, const QImage& image) {
  const QString path = dir.filePath(name);
  if (name.endsWith(QLatin1String(".jpg"))) {
    clsImage picture;
    picture.Create(image.width(), image.height(), 24);
    QImage surface = picture.Surface();
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) surface.setPixelColor(x, y, image.pixelColor(x, y));
    picture.SaveIJLjpg(path, 90);
  } else {
    image.save(path);
  }
  return path;
}

inline QByteArray Bytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace OptimizerFixtures
