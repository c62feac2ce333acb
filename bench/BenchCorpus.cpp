#include "BenchCorpus.h"

#include <QFile>
#include <QProcess>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "engine/clsImage.h"

namespace BenchCorpus {

std::shared_ptr<clsImage> MakePhoto(int width, int height, int variant) {
  auto image = std::make_shared<clsImage>();
  if (image->Create(width, height, 24) != 0) return image;
  QImage surface = image->Surface();
  // Tables keep generation fast; std::sin gives the same values on every run here.
  std::vector<int> texX(static_cast<std::size_t>(width)), texY(static_cast<std::size_t>(height));
  for (int x = 0; x < width; ++x)
    texX[std::size_t(x)] = int(18 * std::sin(x / (5.3 + variant)) + 9 * std::sin(x / 41.0));
  for (int y = 0; y < height; ++y)
    texY[std::size_t(y)] = int(14 * std::cos(y / (4.1 + variant)) + 11 * std::sin(y / 67.0));
  std::uint32_t seed = 12345u + std::uint32_t(variant) * 7919u;
  const int cx = width / 3 + variant * 97, cy = height / 2, r2 = (height / 4) * (height / 4);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = surface.scanLine(y);
    for (int x = 0; x < width; ++x) {
      seed = seed * 1664525u + 1013904223u;
      const int noise = int(seed >> 27) - 16;  // -16..15
      int r = 40 + 170 * x / width, g = 60 + 150 * y / height,
          b = 200 - 120 * (x + y) / (width + height);
      const int tex = texX[std::size_t(x)] + texY[std::size_t(y)];
      const int dx = x - cx, dy = y - cy;
      if (dx * dx + dy * dy < r2) {  // a sunlit disc with a hard rim
        r = 235, g = 190, b = 70;
      } else if (x > width * 2 / 3 && y > height / 5 && y < height * 3 / 5) {  // a wall with bricks
        const bool mortar = (y % 48) < 4 || ((x + ((y / 48) % 2) * 60) % 120) < 4;
        r = mortar ? 200 : 150, g = mortar ? 200 : 70, b = mortar ? 190 : 50;
      } else if (y > height * 4 / 5) {  // grass: strong fine texture
        r = 50, g = 120 + 2 * tex, b = 40;
      }
      row[3 * x + 0] = std::uint8_t(std::clamp(r + tex + noise, 0, 255));
      row[3 * x + 1] = std::uint8_t(std::clamp(g + tex + noise, 0, 255));
      row[3 * x + 2] = std::uint8_t(std::clamp(b + tex / 2 + noise, 0, 255));
    }
  }
  return image;
}

bool WritePpm(const clsImage& image, const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  file.write(QString("P6\n%1 %2\n255\n").arg(image.Width()).arg(image.Height()).toLatin1());
  const ImageDescriptor& pixels = image.Pixels();
  for (int y = 0; y < pixels.Height(); ++y)
    file.write(reinterpret_cast<const char*>(pixels.Row(y)), qint64(pixels.Width()) * 3);
  return file.error() == QFile::NoError;
}

QStringList WriteSmallFormats(const clsImage& image, const QString& folder) {
  const QString ppm = folder + "/small.ppm";
  QStringList files;
  if (!WritePpm(image, ppm)) return files;
  for (const char* ext : {"bmp", "jpg", "gif", "tif", "png", "pcx", "tga"}) {
    const QString out = folder + "/small." + ext;
    if (QProcess::execute("convert", {ppm, "-strip", out}) == 0) files << out;
  }
  return files;
}

}  // namespace BenchCorpus
