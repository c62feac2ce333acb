// JPEG files whose data ends early or cannot fill the size they claim: a file gives the rows
// its data reached when the first band of rows is complete, else it is refused, and a few
// bytes never make the engine allocate the picture their header claims.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "EngineFixtures.h"
#include "JpegTestFiles.h"
#include "TestEnv.h"
#include "engine/SafeFile.h"
#include "engine/clsImage.h"

using namespace EngineFixtures;

namespace {

constexpr int kW = 64, kH = 256, kBand = 32;

// Bands as tall as four blocks, so even the first progressive scan shows each colour.
Rgb Band(int, int y) {
  static const Rgb kColours[] = {{200, 40, 40}, {40, 200, 40}, {40, 40, 200}, {220, 220, 60}};
  return kColours[(y / kBand) % 4];
}

QByteArray Bands(bool progressive) {
  return JpegTestFiles::Encode(*Make(kW, kH, Band), progressive);
}

// Loads from memory and from a .jpg file, each into an object holding another picture.
struct Loaded {
  bool fromBuffer = false, fromFile = false;
  std::shared_ptr<clsImage> image = std::make_shared<clsImage>();
};

Loaded LoadBoth(const QByteArray& bytes) {
  Loaded l;
  clsImage held;
  held.Create(5, 5, 24);
  l.fromBuffer = held.CreateFromBuffer(bytes);
  if (!l.fromBuffer) {
    EXPECT_EQ(held.hDC(), 0) << "a refused buffer left a picture";
  }
  QTemporaryDir dir;
  const QString path = dir.path() + "/cut.jpg";
  EXPECT_TRUE(SafeFile::Replace(path, bytes));
  l.image->Create(5, 5, 24);
  l.fromFile = l.image->CreateFromFile(path);
  if (!l.fromFile) {
    EXPECT_EQ(l.image->hDC(), 0) << "a refused file left a picture";
  }
  return l;
}

struct CutCase {
  const char* name;
  bool progressive;
  int scan;         // the data is cut inside this scan...
  int keptPercent;  // ...keeping this share of its coded data; -1 keeps the whole file
  bool loads;
  bool bottomGrey;     // rows below the cut are grey (no coarse scan reached them)
  int tolerance = 24;  // larger when only the coarse first scan arrived
};
void PrintTo(const CutCase& c, std::ostream* os) { *os << c.name; }

class CutJpeg : public ::testing::TestWithParam<CutCase> {};

TEST_P(CutJpeg, GivesTheRowsItsDataReachedOrNothing) {
  const CutCase& c = GetParam();
  const QByteArray whole = Bands(c.progressive);
  const qsizetype start = JpegTestFiles::ScanData(whole, c.scan);
  ASSERT_GT(start, 0);
  const qsizetype end = JpegTestFiles::ScanDataEnd(whole, c.scan);
  ASSERT_GT(end, start);
  const QByteArray cut =
      c.keptPercent < 0 ? whole : whole.left(start + (end - start) * c.keptPercent / 100);
  const Loaded l = LoadBoth(cut);
  EXPECT_EQ(l.fromBuffer, c.loads);
  ASSERT_EQ(l.fromFile, c.loads);
  if (!c.loads) return;
  const clsImage& image = *l.image;
  ASSERT_EQ(image.Width(), kW);
  ASSERT_EQ(image.Height(), kH);
  EXPECT_LE(Distance(PixelAt(image, 10, kBand / 2), Band(10, kBand / 2)), c.tolerance);
  const Rgb bottom = PixelAt(image, 10, kH - kBand / 2);
  const Rgb expected = c.bottomGrey ? Rgb{128, 128, 128} : Band(10, kH - kBand / 2);
  EXPECT_LE(Distance(bottom, expected), c.bottomGrey ? 2 : c.tolerance);
}

INSTANTIATE_TEST_SUITE_P(Baseline, CutJpeg,
                         ::testing::Values(CutCase{"whole", false, 1, -1, true, false},
                                           CutCase{"without_its_end_marker", false, 1, 100, true,
                                                   false},
                                           CutCase{"cut_after_half", false, 1, 60, true, true},
                                           CutCase{"cut_in_first_rows", false, 1, 1, false, false},
                                           CutCase{"only_the_headers", false, 1, 0, false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(Progressive, CutJpeg,
                         ::testing::Values(CutCase{"whole", true, 1, -1, true, false},
                                           CutCase{"after_its_first_scan", true, 1, 100, true,
                                                   false, 60},
                                           CutCase{"cut_in_a_later_scan", true, 3, 50, true, false},
                                           CutCase{"cut_in_first_scan", true, 1, 1, false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CutJpeg, FlatPicturesWithLittleDataStillLoad) {
  // The fewest bytes an honest file of this size takes: every block flat.
  for (bool progressive : {false, true}) {
    SCOPED_TRACE(progressive);
    const auto flat = Make(2048, 2048, [](int, int) { return Rgb{90, 90, 90}; });
    const Loaded l = LoadBoth(JpegTestFiles::Encode(*flat, progressive, 50));
    EXPECT_TRUE(l.fromBuffer);
    ASSERT_TRUE(l.fromFile);
    EXPECT_EQ(l.image->Width(), 2048);
    EXPECT_LE(Distance(PixelAt(*l.image, 2047, 2047), Rgb{90, 90, 90}), 2);
  }
}

class ShortOfItsSize : public ::testing::TestWithParam<const char*> {};

TEST_P(ShortOfItsSize, IsRefused) {
  QByteArray bytes;
  const QString name = GetParam();
  if (name.startsWith("corpus/")) {
    ASSERT_TRUE(SafeFile::Read(TestEnv::SourceDir() + "/tests/hostile/" + name, bytes));
  } else {
    // The whole bands picture under a frame header claiming 17000 x 17000 or more rows.
    const QByteArray whole = Bands(name == QLatin1String("progressive"));
    bytes = JpegTestFiles::WithSize(whole, name == QLatin1String("wide") ? 17000 : kW,
                                    name == QLatin1String("wide") ? 17000 : 60000);
  }
  const Loaded l = LoadBoth(bytes);
  EXPECT_FALSE(l.fromBuffer);
  EXPECT_FALSE(l.fromFile);
}

INSTANTIATE_TEST_SUITE_P(Claims, ShortOfItsSize,
                         ::testing::Values("corpus/giant-17000.jpg", "corpus/trunc-jpeg-scan.jpeg",
                                           "corpus/trunc-jpg-scan.jpg", "wide", "tall",
                                           "progressive"),
                         [](const auto& info) {
                           std::string s = info.param;
                           for (char& ch : s)
                             if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           return s;
                         });

}  // namespace
