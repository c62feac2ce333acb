#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>
#include <algorithm>
#include <ostream>

#include "EngineFixtures.h"
#include "TestEnv.h"
#include "engine/StreamedJpeg.h"
#include "engine/clsImage.h"

using namespace EngineFixtures;

namespace {

// Pictures the fixtures lack: odd sizes, more than one band of rows, grey in RGB, 16-bit with
// alpha, a grey JPEG. Made once per run.
QString Generated(const QString& name) {
  static QTemporaryDir dir;
  const QString path = dir.path() + "/" + name;
  if (QFile::exists(path)) return path;
  const auto noise = [](int x, int y) { return (x * 7919 + y * 104729 + x * y * 31) % 256; };
  if (name == "odd.png") {
    QImage image(333, 251, QImage::Format_RGB888);
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        image.setPixel(x, y, qRgb(noise(x, y), (x * 3) % 256, (y * 5 + noise(y, x)) % 256));
    image.save(path);
  } else if (name == "grey-then-colour.png" || name == "grey-rgb.png") {
    const bool colour = name == "grey-then-colour.png";
    QImage image(300, 200, QImage::Format_RGB888);
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) {
        const int v = noise(x, y);
        image.setPixel(x, y, colour && y >= 120 ? qRgb(v, 255 - v, x % 256) : qRgb(v, v, v));
      }
    image.save(path);
  } else if (name == "rgba16.png") {
    QImage image(257, 129, QImage::Format_RGBA64);
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        image.setPixelColor(x, y, QColor::fromRgba64(quint16(noise(x, y) * 257 + x), quint16(y * 500),
                                                     quint16(x * 250), quint16(x * 255)));
    image.save(path);
  } else if (name == "grey.jpg") {
    Make(211, 149, [&](int x, int y) {
      const int v = noise(x, y);
      return Rgb{v, v, v};
    })->SaveIJLjpg(path, 90);
  }
  return path;
}

QString FileOf(const std::string& name) {
  const QString n = QString::fromStdString(name);
  if (n.startsWith("samples/")) return TestEnv::SourceDir() + "/" + n;
  if (n.startsWith("fixtures/")) return Path(n.mid(9));
  return Generated(n);
}

struct StreamCase {
  std::string file;
  int widthPercent, heightPercent;  // of the source's size
  int quality;
  bool progressive;
  bool strip;
  bool streams;  // false: the file must be declined (the whole-picture path takes it)
};

// The test's name in the listing.
void PrintTo(const StreamCase& c, std::ostream* os) {
  *os << c.file << " to " << c.widthPercent << "x" << c.heightPercent << "% q" << c.quality
      << (c.progressive ? " progressive" : "") << (c.strip ? " stripped" : "");
}

QSize Scaled(int width, int height, const StreamCase& c) {
  return QSize(std::max(1, width * c.widthPercent / 100), std::max(1, height * c.heightPercent / 100));
}

// What a batch picture gets without streaming: the whole picture loaded, shrunk smoothly,
// encoded with its metadata.
QByteArray Whole(const QString& path, const StreamCase& c) {
  auto picture = std::make_shared<clsImage>();
  if (!picture->CreateFromFile(path)) return {};
  picture->SetStripMetadata(c.strip);
  picture->SetProgressive(c.progressive);
  const QSize target = Scaled(picture->Width(), picture->Height(), c);
  auto sized = picture;
  if (target != QSize(picture->Width(), picture->Height())) {
    int w = target.width(), h = target.height();
    sized = picture->GetScaledInstance(w, h, std::make_shared<clsImage>(), false, false);
  }
  QByteArray bytes;
  return sized && sized->EncodeJpeg(c.quality, bytes) ? bytes : QByteArray();
}

class Streamed : public ::testing::TestWithParam<StreamCase> {};

}  // namespace

TEST_P(Streamed, GivesTheWholePicturesBytesOrDeclines) {
  const StreamCase& c = GetParam();
  const QString path = FileOf(c.file);
  StreamedJpeg::Request request;
  request.quality = c.quality;
  request.progressive = c.progressive;
  request.stripMetadata = c.strip;
  request.size = [&c](int width, int height) { return Scaled(width, height, c); };
  QByteArray streamed("untouched");
  QSize size;
  const bool made = StreamedJpeg::Make(path, request, streamed, size);
  ASSERT_EQ(made, c.streams) << c.file;
  if (!made) {
    EXPECT_EQ(streamed, "untouched");
    return;
  }
  const QByteArray whole = Whole(path, c);
  ASSERT_FALSE(whole.isEmpty());
  EXPECT_TRUE(streamed == whole) << c.file << ": " << streamed.size() << " bytes streamed, "
                                 << whole.size() << " bytes whole";
  clsImage decoded;
  ASSERT_TRUE(decoded.CreateFromBuffer(streamed));
  EXPECT_EQ(QSize(decoded.Width(), decoded.Height()), size);
}

INSTANTIATE_TEST_SUITE_P(
    Files, Streamed,
    ::testing::Values(
        StreamCase{"samples/Evening field.jpg", 50, 50, 70, false, false, true},
        StreamCase{"samples/Mountain lake.jpg", 37, 37, 85, true, false, true},
        StreamCase{"samples/Desert sunset.jpg", 100, 33, 60, false, true, true},
        // JPEGs left at their size, below their own quality 88 (where no lossless tidy exists).
        StreamCase{"samples/Evening field.jpg", 100, 100, 70, false, false, true},
        StreamCase{"samples/Green hills.jpg", 100, 100, 85, true, true, true},
        StreamCase{"samples/Autumn slope.tif", 50, 50, 70, false, false, true},
        StreamCase{"samples/Coast.gif", 71, 71, 70, true, false, true},
        StreamCase{"samples/Dunes.tga", 100, 100, 70, false, false, true},
        StreamCase{"samples/Meadow.bmp", 33, 33, 40, false, false, true},
        StreamCase{"samples/Old postcard.pcx", 50, 50, 70, false, true, true},
        StreamCase{"samples/Snowy ridge.png", 100, 50, 70, false, false, true},
        StreamCase{"fixtures/cmyk.jpg", 50, 50, 70, false, false, true},
        StreamCase{"fixtures/grey.png", 50, 50, 70, false, false, true},
        StreamCase{"fixtures/rgb16.png", 75, 75, 70, false, false, true},
        StreamCase{"fixtures/alpha.png", 50, 50, 70, false, false, true},
        StreamCase{"odd.png", 29, 31, 75, false, false, true},
        StreamCase{"grey-then-colour.png", 50, 50, 70, false, false, true},
        StreamCase{"grey-rgb.png", 61, 61, 70, true, false, true},
        StreamCase{"rgba16.png", 50, 50, 70, false, false, true},
        StreamCase{"grey.jpg", 50, 50, 70, false, false, true},
        // Turned upright, cut short, or growing: only the whole picture gives those bytes.
        StreamCase{"fixtures/orient6.jpg", 50, 50, 70, false, false, false},
        StreamCase{"fixtures/truncated.jpg", 50, 50, 70, false, false, false},
        StreamCase{"odd.png", 150, 100, 70, false, false, false}));
