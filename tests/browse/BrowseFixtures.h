#pragma once
// Picture files for the browser tests, a stand-in for the main window's scan controls,
// and reading the folder list text back.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QStringList>
#include <cstdlib>
#include <string>
#include <vector>

#include "browse/BrowserHost.h"
#include "engine/clsImage.h"

namespace BrowseFixtures {

// A JPEG (through the engine) or any Qt-written format, one colour.
inline bool WritePicture(const QString& path, int w, int h, QColor colour = Qt::darkGreen) {
  if (path.endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive)) {
    clsImage image;
    if (image.Create(w, h, 24) != 0) return false;
    image.Surface().fill(colour);
    return image.SaveIJLjpg(path, 90);
  }
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(colour);
  return image.save(path);
}

// An uncompressed RGB TIFF (Qt writes none), one colour.
inline bool WriteTiff(const QString& path, int w, int h, QColor colour = Qt::darkGreen) {
  QByteArray tiff("II*\0", 4);
  const auto u16 = [&](unsigned v) { tiff.append(char(v & 0xFF)).append(char(v >> 8 & 0xFF)); };
  const auto u32 = [&](unsigned v) { u16(v & 0xFFFF), u16(v >> 16); };
  const unsigned entries = 10, bitsAt = 8 + 2 + entries * 12 + 4, dataAt = bitsAt + 6;
  u32(8);
  u16(entries);
  const auto entry = [&](unsigned tag, unsigned type, unsigned count, unsigned value) {
    u16(tag), u16(type), u32(count), u32(value);
  };
  entry(256, 4, 1, unsigned(w));
  entry(257, 4, 1, unsigned(h));
  entry(258, 3, 3, bitsAt);
  entry(259, 3, 1, 1);  // no compression
  entry(262, 3, 1, 2);  // RGB
  entry(273, 4, 1, dataAt);
  entry(277, 3, 1, 3);
  entry(278, 4, 1, unsigned(h));
  entry(279, 4, 1, unsigned(w * h * 3));
  entry(284, 3, 1, 1);
  u32(0);
  u16(8), u16(8), u16(8);
  const char pixel[3] = {char(colour.red()), char(colour.green()), char(colour.blue())};
  QByteArray row;
  for (int x = 0; x < w; ++x) row.append(pixel, 3);
  for (int y = 0; y < h; ++y) tiff.append(row);
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(tiff) == tiff.size();
}

// Colours after a JPEG round trip are close, not equal.
inline bool Near(QColor a, QColor b, int tolerance = 12) {
  return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
         std::abs(a.blue() - b.blue()) <= tolerance;
}

inline void WriteText(const QString& path, const QByteArray& bytes = "not a picture") {
  QFile file(path);
  if (file.open(QIODevice::WriteOnly)) file.write(bytes);
}

// Records what the scan asks of the window; can press Cancel after some accepted files.
class RecordingHost : public BrowserHost {
 public:
  void BeginScan() override {
    calls.push_back("begin");
    cancelled = false;
  }
  void SetScanRange(int count) override { calls.push_back("range " + std::to_string(count)); }
  void SetScanValue(int value) override {
    calls.push_back("value " + std::to_string(value));
    if (cancelAfter > 0 && value >= cancelAfter) cancelled = true;
  }
  bool ScanCancelled() override { return cancelled; }
  void LetEventsRun() override { ++eventRuns; }
  void EndScan() override { calls.push_back("end"); }
  void ShowPictureCount(int count) override { pictureCount = count; }

  std::vector<std::string> calls;
  int cancelAfter = 0;
  bool cancelled = false;
  int eventRuns = 0;
  int pictureCount = -1;
};

// "folder NUL a NUL b" -> {"folder", "a", "b"}
inline QStringList Parts(const QString& selected) { return selected.split(QChar(0)); }

}  // namespace BrowseFixtures
