// Pictures as the photo meant them: row order, colours, metadata, limits, the newer formats.
// Every input is made here with libjpeg, lcms2, libexif, Qt or the vips tool, so the expected
// pixels come from a second implementation, not from the engine.
#include <gtest/gtest.h>
#include <lcms2.h>
#include <libexif/exif-data.h>
#include <unistd.h>

#include <QColorSpace>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <vector>

#include "EngineFixtures.h"
#include "FaithfulFiles.h"
#include "engine/JpegThumbnail.h"
#include "engine/SafeFile.h"
#include "engine/clsImage.h"

using namespace EngineFixtures;
using namespace FaithfulFiles;

namespace {

// Root mean square difference of two RGB pictures, in percent of full scale.
double RmsPercent(const Rgb8& a, const Rgb8& b) {
  if (a.pixels.size() != b.pixels.size() || a.pixels.empty()) return 100.0;
  double sum = 0;
  for (std::size_t i = 0; i < a.pixels.size(); ++i) {
    const double d = double(a.pixels[i]) - double(b.pixels[i]);
    sum += d * d;
  }
  return 100.0 * std::sqrt(sum / double(a.pixels.size())) / 255.0;
}

Rgb8 PixelsOf(const clsImage& image) {
  Rgb8 out{image.Width(), image.Height(), {}};
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x)
      for (int c : PixelAt(image, x, y)) out.pixels.push_back(std::uint8_t(c));
  return out;
}

// What the user gets: the engine's JPEG of the loaded picture, decoded by plain libjpeg.
Rgb8 OutputOf(const clsImage& image) {
  QByteArray jpeg;
  EXPECT_TRUE(image.EncodeJpeg(95, jpeg));
  return DecodeJpeg(jpeg);
}

// ---- TGA files: all four origins, every kind and encoding, headers written here and by
// ImageMagick. ----

struct TgaCase {
  std::string name;
  // Writes the file and says which pixels it holds.
  std::function<bool(const QString& path, Rgb8& expected)> make;
};

class TgaOrigins : public ::testing::TestWithParam<TgaCase> {};

TEST_P(TgaOrigins, DecodeToTheKnownPixels) {
  QTemporaryDir dir;
  const QString path = dir.filePath("origin.tga");
  Rgb8 expected;
  ASSERT_TRUE(GetParam().make(path, expected));
  clsImage image;
  ASSERT_TRUE(image.CreateFromFile(path));
  EXPECT_EQ(RmsPercent(PixelsOf(image), expected), 0.0);
}

std::vector<TgaCase> TgaCases() {
  std::vector<TgaCase> cases;
  const char* kinds[] = {"grey8", "mapped8", "rgb15", "rgb16", "rgb24", "rgba32"};
  for (int kind = 0; kind < 6; ++kind)
    for (const bool rle : {false, true})
      for (const int origin : {0, 0x10, 0x20, 0x30}) {
        const char* place[] = {"bottom_left", "bottom_right", "top_left", "top_right"};
        cases.push_back({std::string(place[origin >> 4]) + "_" + kinds[kind] + (rle ? "_rle" : ""),
                         [=](const QString& path, Rgb8& expected) {
                           expected = TgaPicture(TgaKind(kind));
                           return WriteFile(path,
                                            Tga(TgaKind(kind), rle, origin & 0x20, origin & 0x10));
                         }});
      }
  // ImageMagick's files from a PNG of the pattern. Told the picture's orientation, it writes
  // the rows in the order the header names; ImageMagick 6 left to itself stores the top row
  // first under a bottom-left header, which every reader that follows the header (this one,
  // GIMP, gdk-pixbuf) shows upside down.
  for (const char* type : {"TrueColor", "Palette", "TrueColorAlpha"})
    for (const char* compression : {"None", "RLE"})
      cases.push_back({std::string("imagemagick_") + type + "_" + compression,
                       [=](const QString& path, Rgb8& expected) {
                         expected = PatternPixels();
                         const QStringList args{path + ".png", "-orient",   "TopLeft",   "-type",
                                                type,          "-compress", compression, path};
                         return WritePng(args[0], expected, {}) &&
                                QProcess::execute("convert", args) == 0;
                       }});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Tga, TgaOrigins, ::testing::ValuesIn(TgaCases()),
                         [](const auto& info) { return info.param.name; });

// ---- Colours: every picture ends up in sRGB. ----

struct ColourCase {
  const char* name;
  // Writes the file and says which pixels the output should show.
  std::function<bool(const QString& path, Rgb8& expected)> make;
  double maxRms;    // percent; JPEG noise at quality 95 is well under 1.5 %
  double minWrong;  // the same file read without conversion differs at least this much
};

// A JPEG with the profile (or camera EXIF saying Adobe RGB) given, and lcms2's conversion of
// its decoded pixels; the linear curves magnify JPEG noise in the shadows.
ColourCase Profiled(const char* name, const Rgb8& source, int quality, const QByteArray& profile,
                    bool grey = false, const QByteArray& exif = {}) {
  return {name,
          [=](const QString& path, Rgb8& expected) {
            const QByteArray jpeg = EncodeJpeg(source, quality, profile, grey, exif);
            expected = LcmsToSrgb(DecodeJpeg(jpeg), exif.isEmpty() ? profile : AdobeRgbProfile());
            return WriteFile(path, jpeg);
          },
          exif.isEmpty() ? 2.5 : 1.5, 4.0};
}

class Colours : public ::testing::TestWithParam<ColourCase> {};

TEST_P(Colours, OutputIsTheSourceInSrgb) {
  QTemporaryDir dir;
  const QString path = dir.filePath(GetParam().name);
  Rgb8 expected;
  ASSERT_TRUE(GetParam().make(path, expected));
  clsImage image;
  ASSERT_TRUE(image.CreateFromFile(path));
  const Rgb8 out = OutputOf(image);
  EXPECT_LT(RmsPercent(out, expected), GetParam().maxRms);
  // The browser's fast JPEG thumbnail shows the same colours (at its own quality 50).
  JpegThumbnail::Result thumb;
  // (CMYK is left to the full load, which the thumbnail falls back to.)
  const auto sameSize = [](int w, int h) { return QSize(w, h); };
  if (QFileInfo(path).suffix() == "jpg" && !QFileInfo(path).baseName().startsWith("cmyk")) {
    ASSERT_TRUE(JpegThumbnail::Make(path, sameSize, thumb));
    EXPECT_LT(RmsPercent(DecodeJpeg(thumb.buffer), expected), 3.0);
  }
  // The case is worth having only when leaving the colours alone would be visibly wrong.
  if (GetParam().minWrong > 0) {
    Rgb8 unconverted;
    ASSERT_TRUE(UnconvertedPixels(path, unconverted));
    EXPECT_GT(RmsPercent(unconverted, expected), GetParam().minWrong);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Profiles, Colours,
    ::testing::Values(
        // Adobe RGB JPEG: lcms2's conversion of the decoded source is the reference.
        ColourCase{"adobe.jpg",
                   [](const QString& path, Rgb8& expected) {
                     const QByteArray profile = AdobeRgbProfile();
                     const QByteArray jpeg = EncodeJpeg(Photo(), 98, profile);
                     expected = LcmsToSrgb(DecodeJpeg(jpeg), profile);
                     return WriteFile(path, jpeg);
                   },
                   1.5, 4.0},
        // The same profile in a PNG (libvips' loaders, not the engine's JPEG decoder).
        ColourCase{"adobe.png",
                   [](const QString& path, Rgb8& expected) {
                     const QByteArray profile = AdobeRgbProfile();
                     expected = LcmsToSrgb(Photo(), profile);
                     return WritePng(path, Photo(), profile);
                   },
                   1.5, 4.0},
        // sRGB's primaries with a linear curve, named as sRGB: converted, whether the picture
        // would be re-encoded anyway (98 above 95) or could be tidied losslessly (90).
        Profiled("linear_srgb.jpg", Photo(), 98, SrgbPrimariesProfile("sRGB linear", 1.0)),
        Profiled("linear_srgb_tidy.jpg", Photo(), 90, SrgbPrimariesProfile("sRGB linear", 1.0)),
        // A one-component JPEG with a linear grey profile.
        Profiled("grey_linear.jpg", GreyRamp(), 98, GreyProfile(1.0), true),
        // No profile, but a camera's EXIF saying Adobe RGB: in a JPEG and in a TIFF.
        Profiled("camera_adobe.jpg", Photo(), 98, {}, false, AdobeCameraExif()),
        ColourCase{"camera_adobe.tif",
                   [](const QString& path, Rgb8& expected) {
                     expected = LcmsToSrgb(Photo(), AdobeRgbProfile());
                     return WriteFile(path, CameraTiff(Photo(), 1, true));
                   },
                   1.5, 0},
        // CMYK without a profile: paper stays white, full cyan is cyan, full black is dark.
        ColourCase{"cmyk.jpg",
                   [](const QString& path, Rgb8& expected) {
                     expected = CmykInks();
                     return WriteFile(path, CmykJpeg());
                   },
                   6.0, 0},
        // 32-bit float grey 0..1 and 16-bit grey: the full range, not black or clipped.
        ColourCase{"grey_float.tif",
                   [](const QString& path, Rgb8& expected) {
                     expected = GreyRamp();
                     return WriteFile(path, FloatGreyTiff());
                   },
                   1.5, 0},
        ColourCase{"grey16.png",
                   [](const QString& path, Rgb8& expected) {
                     expected = GreyRamp();
                     return WriteGrey16Png(path);
                   },
                   1.5, 0}),
    [](const auto& info) {
      std::string n = info.param.name;
      for (char& c : n)
        if (c == '.') c = '_';
      return n;
    });

// ---- Metadata: kept by default, upright, gone with Strip. ----

// A camera's JPEG, and the same tags in a TIFF's own directories.
class Metadata : public ::testing::TestWithParam<const char*> {};

TEST_P(Metadata, KeptUprightOrStripped) {
  QTemporaryDir dir;
  const QString source = dir.filePath(QStringLiteral("photo.") + GetParam());
  ASSERT_TRUE(WriteFile(source, QByteArray(GetParam()) == "jpg"
                                    ? CameraJpeg()
                                    : CameraTiff(PatternPixels(), 6, false)));
  clsImage image;
  ASSERT_TRUE(image.CreateFromFile(source));
  ASSERT_TRUE(MatchesPattern(image, 40, true));  // orientation 6 applied to the pixels

  for (const bool strip : {false, true}) {
    SCOPED_TRACE(strip ? "stripped" : "kept");
    image.SetStripMetadata(strip);
    const QString out = dir.filePath(strip ? "stripped.jpg" : "kept.jpg");
    ASSERT_TRUE(image.SaveIJLjpg(out, 80));
    // The size shown is the size written, metadata included.
    int shown = -1;
    image.GetOptimizedInstance(80, nullptr, &shown);
    EXPECT_EQ(shown, QFileInfo(out).size());

    QByteArray bytes;
    ASSERT_TRUE(SafeFile::Read(out, bytes));
    const ReadBack tags = ReadMetadata(bytes);
    EXPECT_EQ(tags.dateTaken, strip ? "" : "2024:05:06 07:08:09");
    EXPECT_EQ(tags.model, strip ? "" : "Trimjet Testcam");
    EXPECT_EQ(tags.gpsLatitudeRef, strip ? "" : "N");
    EXPECT_EQ(tags.orientation, strip ? 0 : 1);
    EXPECT_EQ(tags.colourSpace, strip ? 0 : 1);
    EXPECT_FALSE(tags.thumbnail);
    EXPECT_EQ(tags.xmp, !strip);
    EXPECT_EQ(tags.iptc, !strip);

    clsImage back;
    ASSERT_TRUE(back.CreateFromFile(out));
    EXPECT_TRUE(MatchesPattern(back, 60, true));  // upright, and not turned a second time
  }
}

INSTANTIATE_TEST_SUITE_P(Camera, Metadata, ::testing::Values("jpg", "tif"));

// ---- Limits: refused at once, with the words the user sees. ----

struct Hostile {
  const char* name;
  std::function<bool(const QString& path)> make;
};

class Limits : public ::testing::TestWithParam<Hostile> {};

TEST_P(Limits, RefusedAsTooLarge) {
  QTemporaryDir dir;
  const QString path = dir.filePath(GetParam().name);
  ASSERT_TRUE(GetParam().make(path));
  clsImage image;
  image.Create(4, 4, 24);
  EXPECT_FALSE(image.CreateFromFile(path));
  EXPECT_EQ(image.hDC(), 0);
  EXPECT_TRUE(image.LoadError().startsWith("too large")) << image.LoadError().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Files, Limits,
    ::testing::Values(
        // A small PNG followed by 8 GB of zeros (sparse: no disk used).
        Hostile{"padded.png",
                [](const QString& path) {
                  return WritePng(path, Photo(), {}) &&
                         ::truncate(QFile::encodeName(path).constData(), 8LL << 30) == 0;
                }},
        Hostile{"scans.jpg", [](const QString& path) { return WriteFile(path, ManyScanJpeg({})); }},
        // With a profile the JPEG goes through libvips, which has no scan limit of its own.
        Hostile{
            "scans_profiled.jpg",
            [](const QString& path) { return WriteFile(path, ManyScanJpeg(AdobeRgbProfile())); }}),
    [](const auto& info) {
      std::string n = info.param.name;
      for (char& c : n)
        if (c == '.') c = '_';
      return n;
    });

TEST(Limits, OnlyWhatTheDecoderNeedsIsRead) {
  // Under the size cap, the zeros after the picture are never read: it loads.
  QTemporaryDir dir;
  const QString path = dir.filePath("padded.png");
  ASSERT_TRUE(WritePng(path, Photo(), {}));
  ASSERT_EQ(::truncate(QFile::encodeName(path).constData(), 900LL << 20), 0);
  clsImage image;
  ASSERT_TRUE(image.CreateFromFile(path));
  EXPECT_LT(RmsPercent(PixelsOf(image), Photo()), 0.5);
}

// ---- WebP, HEIC and AVIF from disk. ----

class NewFormats : public ::testing::TestWithParam<const char*> {};

TEST_P(NewFormats, LoadFromDisk) {
  QTemporaryDir dir;
  const QString png = dir.filePath("pattern.png");
  ASSERT_TRUE(WritePng(png, PatternPixels(), {}));
  const QString target = dir.filePath(QStringLiteral("pattern.") + GetParam());
  QStringList args{QStringLiteral("heifsave"), png, target, QStringLiteral("--Q"),
                   QStringLiteral("95")};
  if (QByteArray(GetParam()) == "webp")
    args = {QStringLiteral("webpsave"), png, target, QStringLiteral("--lossless")};
  if (QByteArray(GetParam()) == "avif") args << QStringLiteral("--compression=av1");
  QProcess vips;
  vips.start(QStringLiteral("vips"), args);
  if (!vips.waitForFinished(60000) || vips.exitCode() != 0 || !QFile::exists(target))
    GTEST_SKIP() << "the vips tool cannot write ." << GetParam() << " here";
  clsImage image;
  ASSERT_TRUE(image.CreateFromFile(target));
  EXPECT_TRUE(MatchesPattern(image, 40));
  // By content too, as a file without its extension.
  const QString bare = dir.filePath("bare");
  ASSERT_TRUE(QFile::rename(target, bare));
  ASSERT_TRUE(image.CreateFromFile(bare));
  EXPECT_TRUE(MatchesPattern(image, 40));
}

INSTANTIATE_TEST_SUITE_P(Read, NewFormats, ::testing::Values("webp", "heic", "avif"));

}  // namespace
