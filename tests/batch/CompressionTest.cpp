// The smallest file that looks the same, on real photos: the lossless tidy of JPEG sources,
// progressive scans and the byte budget, each judged by the files actually written.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstring>

#include "../engine/FaithfulFiles.h"
#include "../engine/JpegTestFiles.h"
#include "CliRun.h"
#include "TestEnv.h"
#include "core/AutoQuality.h"
#include "core/BatchJob.h"
#include "core/QualityRange.h"
#include "engine/EffectCatalog.h"
#include "engine/Ssimulacra2.h"
#include "engine/clsImage.h"

namespace {

bool SamePixels(const clsImage& a, const clsImage& b) {
  if (a.hDC() == 0 || a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y)
    if (std::memcmp(a.Pixels().Row(y), b.Pixels().Row(y), std::size_t(a.Width()) * 3) != 0)
      return false;
  return true;
}

std::shared_ptr<clsImage> Load(const QString& path) {
  auto image = std::make_shared<clsImage>();
  EXPECT_TRUE(image->CreateFromFile(path)) << path.toStdString();
  return image;
}

bool Progressive(const QByteArray& jpeg) { return jpeg.contains(QByteArray("\xFF\xC2", 2)); }

// The sample photos, two large wallpaper photos when installed, and "camera" copies of each:
// baseline files with libjpeg's standard Huffman tables, as cameras write them.
class Photos : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new QTemporaryDir();
    files_ = new QStringList();
    QStringList sources;
    for (const QString& name : QDir(TestEnv::SourceDir() + "/samples").entryList({"*.jpg"}))
      sources << TestEnv::SourceDir() + "/samples/" + name;
    for (const char* wallpaper : {"Volna", "Flow"}) {
      const QString path =
          QStringLiteral("/usr/share/wallpapers/%1/contents/images/5120x2880.jpg").arg(wallpaper);
      if (QFileInfo::exists(path)) sources << path;
    }
    int n = 0;
    for (const QString& source : sources) {
      const QString copy = dir_->filePath(QStringLiteral("photo%1.jpg").arg(n));
      QFile::copy(source, copy);
      *files_ << copy;
      clsImage picture;
      if (!picture.CreateFromFile(source)) continue;
      const QString camera = dir_->filePath(QStringLiteral("camera%1.jpg").arg(n++));
      QFile out(camera);
      if (out.open(QIODevice::WriteOnly) &&
          out.write(JpegTestFiles::Encode(picture, false, 85)) > 0)
        *files_ << camera;
    }
  }
  static void TearDownTestSuite() {
    delete files_;
    delete dir_;
  }
  static QString Out(const QString& name) { return dir_->filePath("out-" + name); }

  static QTemporaryDir* dir_;
  static QStringList* files_;
};
QTemporaryDir* Photos::dir_ = nullptr;
QStringList* Photos::files_ = nullptr;

}  // namespace

TEST_F(Photos, TidyKeepsEveryPixelAndNeverGrows) {
  ASSERT_GE(files_->size(), 8);  // four samples and their camera copies at least
  for (const QString& file : *files_) {
    const auto source = Load(file);
    const qint64 before = QFileInfo(file).size();
    for (const bool progressive : {false, true}) {
      SCOPED_TRACE(file.toStdString() + (progressive ? " progressive" : " baseline"));
      BatchOptions options;
      options.quality = 95;       // above every source's own
      options.allowLarger = true;  // a tidy of equal size is written too
      options.progressive = progressive;
      const QString dest = Out(QFileInfo(file).fileName());
      const BatchJob::Result r = BatchJob::Run(file, dest, options);
      ASSERT_TRUE(r.ok) << r.reason.toStdString();
      const QByteArray written = Bytes(dest);
      EXPECT_EQ(r.bytesAfter, written.size());
      EXPECT_EQ(Progressive(written), progressive);
      // Baseline files with one scan always tidy to no more bytes; a progressive source of
      // another scan script may not, and is then encoded as usual.
      const bool canShrink = !Progressive(Bytes(file));
      if (canShrink) {
        EXPECT_TRUE(r.lossless);
      }
      if (r.lossless) {
        EXPECT_LE(r.bytesAfter, before);
        EXPECT_TRUE(SamePixels(*Load(dest), *source));
      }
      // Camera files carry standard tables: tables made for the picture always save.
      if (QFileInfo(file).fileName().startsWith("camera")) {
        EXPECT_LT(r.bytesAfter, before);
      }
      // The optimiser's figure is the same file, with the same pixels when it is a tidy.
      int size = 0;
      bool lossless = !r.lossless;
      source->SetProgressive(progressive);
      const auto shown = source->GetOptimizedInstance(95, nullptr, &size, &lossless);
      EXPECT_EQ(lossless, r.lossless);
      EXPECT_EQ(size, written.size());
      EXPECT_EQ(SamePixels(*shown, *source), r.lossless);
    }
  }
}

TEST_F(Photos, NoTidyBelowTheSourceQualityOrForAChangedPicture) {
  const QString camera = files_->filter("camera").first();  // quality 85
  struct Case {
    const char* what;
    int quality;
    int scale;  // 0: no resize
    const char* effect;
    bool lossless;
  };
  const Case cases[] = {
      {"same quality", 85, 0, nullptr, true},
      {"higher quality", 98, 0, nullptr, true},
      {"lower quality", 84, 0, nullptr, false},
      {"resized", 90, 50, nullptr, false},
      {"effect", 90, 0, "Sharpen", false},
      // Blur at level 0 changes no pixel: the picture is still the source's.
      {"effect that changes nothing", 90, 0, "Blur", true},
  };
  const auto source = Load(camera);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    BatchOptions options;
    options.quality = c.quality;
    options.allowLarger = true;
    options.resize = c.scale > 0;
    options.scale = c.scale;
    if (c.effect)
      for (const EffectCatalog::Entry& e : EffectCatalog::All())
        if (e.name == QLatin1String(c.effect)) options.effects.push_back({&e, e.start});
    const QString dest = Out(QStringLiteral("rule.jpg"));
    const BatchJob::Result r = BatchJob::Run(camera, dest, options);
    ASSERT_TRUE(r.ok) << r.reason.toStdString();
    EXPECT_EQ(r.lossless, c.lossless);
    EXPECT_EQ(r.bytesAfter, QFileInfo(dest).size());
    if (c.lossless) {
      EXPECT_TRUE(SamePixels(*Load(dest), *source));
    }
  }
}

TEST_F(Photos, ByteBudgetIsNeverExceededAndGetsTheHighestQualityThatFits) {
  for (const QString& file : *files_) {
    const qint64 before = QFileInfo(file).size();
    const auto source = Load(file);
    for (const double share : {0.4, 0.1}) {
      const qint64 budget = qint64(double(before) * share);
      SCOPED_TRACE(file.toStdString() + " budget " + std::to_string(budget));
      BatchOptions options;
      options.quality = 90;
      options.maxBytes = budget;
      const QString dest = Out(QStringLiteral("budget%1.jpg").arg(share));
      QFile::remove(dest);
      const BatchJob::Result r = BatchJob::Run(file, dest, options);
      if (!r.ok) {
        // Only a budget below even the lowest quality fails, and then nothing is written.
        EXPECT_TRUE(r.reason.contains("does not fit")) << r.reason.toStdString();
        EXPECT_FALSE(QFileInfo::exists(dest));
        QByteArray lowest;
        ASSERT_TRUE(source->EncodeJpeg(7, lowest));
        EXPECT_GT(lowest.size(), budget);
        continue;
      }
      ASSERT_FALSE(r.kept);
      EXPECT_EQ(r.bytesAfter, QFileInfo(dest).size());
      EXPECT_LE(r.bytesAfter, budget);
      EXPECT_TRUE(r.quality >= 7 && r.quality <= 90);
      QByteArray same;
      ASSERT_TRUE(source->EncodeJpeg(r.quality, same));
      EXPECT_EQ(same.size(), r.bytesAfter);
      if (r.quality < 90) {
        QByteArray next;
        ASSERT_TRUE(source->EncodeJpeg(r.quality + 1, next));
        EXPECT_GT(next.size(), budget) << "quality " << r.quality + 1 << " fits too";
      }
    }
    // A budget no photo meets fails the picture.
    BatchOptions tiny;
    tiny.maxBytes = 500;
    const QString dest = Out(QStringLiteral("tiny.jpg"));
    const BatchJob::Result r = BatchJob::Run(file, dest, tiny);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.reason.contains("does not fit in 500 bytes")) << r.reason.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dest));
  }
}

TEST_F(Photos, ProgressiveDecodesToTheBaselinePixels) {
  for (const QString& file : *files_) {
    SCOPED_TRACE(file.toStdString());
    const auto source = Load(file);
    source->Resize(source->Width() / 2 + 1, source->Height() / 2 + 1, false);  // no tidy
    for (const int quality : {30, 75}) {
      QByteArray baseline, progressive;
      source->SetProgressive(false);
      ASSERT_TRUE(source->EncodeJpeg(quality, baseline));
      source->SetProgressive(true);
      ASSERT_TRUE(source->EncodeJpeg(quality, progressive));
      EXPECT_FALSE(Progressive(baseline));
      EXPECT_TRUE(Progressive(progressive));
      clsImage a, b;
      ASSERT_TRUE(a.CreateFromBuffer(baseline));
      ASSERT_TRUE(b.CreateFromBuffer(progressive));
      EXPECT_TRUE(SamePixels(a, b));
      int size = 0;
      source->GetOptimizedInstance(quality, nullptr, &size);
      EXPECT_EQ(size, progressive.size());
    }
  }
}

// What a re-encode would change besides the coefficients decides too: a turned or profiled
// picture is re-encoded; an upright one keeps its metadata, or loses it with stripping.
TEST_F(Photos, TidyFollowsTheMetadataAndColourRules) {
  // The camera file, upright: its orientation entry (SHORT 6) set to 1.
  QByteArray upright = FaithfulFiles::CameraJpeg();
  for (const QByteArray& entry : {QByteArray("\x12\x01\x03\x00\x01\x00\x00\x00\x06", 9),
                                  QByteArray("\x01\x12\x00\x03\x00\x00\x00\x01\x00\x06", 10)}) {
    const qsizetype at = upright.indexOf(entry);
    if (at >= 0) upright[at + entry.size() - 1] = 1;
  }
  ASSERT_EQ(FaithfulFiles::ReadMetadata(upright).orientation, 1);
  struct Case {
    const char* what;
    QByteArray file;
    bool strip;
    bool lossless;
  };
  const Case cases[] = {
      {"upright, metadata kept", upright, false, true},
      {"upright, metadata stripped", upright, true, true},
      {"turned by EXIF", FaithfulFiles::CameraJpeg(), false, false},
      {"Adobe RGB profile",
       FaithfulFiles::EncodeJpeg(FaithfulFiles::Photo(), 80, FaithfulFiles::AdobeRgbProfile()),
       false, false},
      {"no profile", FaithfulFiles::EncodeJpeg(FaithfulFiles::Photo(), 80, QByteArray()), false,
       true},
      // The colours decide, not the profile's name.
      {"sRGB profile named otherwise",
       FaithfulFiles::EncodeJpeg(FaithfulFiles::Photo(), 80,
                                 FaithfulFiles::SrgbPrimariesProfile("Camera RGB", 0)),
       false, true},
      {"linear profile named sRGB",
       FaithfulFiles::EncodeJpeg(FaithfulFiles::Photo(), 80,
                                 FaithfulFiles::SrgbPrimariesProfile("sRGB linear", 1.0)),
       false, false},
      {"Adobe RGB camera EXIF",
       FaithfulFiles::EncodeJpeg(FaithfulFiles::Photo(), 80, {}, false,
                                 FaithfulFiles::AdobeCameraExif()),
       false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const QString source = Out(QStringLiteral("rules-source.jpg"));
    ASSERT_TRUE(FaithfulFiles::WriteFile(source, c.file));
    BatchOptions options;
    options.quality = 95;
    options.allowLarger = true;
    options.stripMetadata = c.strip;
    const QString dest = Out(QStringLiteral("rules.jpg"));
    const BatchJob::Result r = BatchJob::Run(source, dest, options);
    ASSERT_TRUE(r.ok) << r.reason.toStdString();
    EXPECT_EQ(r.lossless, c.lossless);
    const QByteArray written = Bytes(dest);
    EXPECT_EQ(r.bytesAfter, written.size());
    // A tidy carries what a re-encode of the same picture carries.
    const auto picture = Load(source);
    picture->SetStripMetadata(c.strip);
    picture->Resize(picture->Width(), picture->Height() + 1, false);  // forces a re-encode
    QByteArray encoded;
    ASSERT_TRUE(picture->EncodeJpeg(95, encoded));
    const FaithfulFiles::ReadBack got = FaithfulFiles::ReadMetadata(written);
    const FaithfulFiles::ReadBack want = FaithfulFiles::ReadMetadata(encoded);
    EXPECT_EQ(got.dateTaken, want.dateTaken);
    EXPECT_EQ(got.model, want.model);
    EXPECT_EQ(got.orientation, want.orientation);
    EXPECT_EQ(got.xmp, want.xmp);
    EXPECT_EQ(got.iptc, want.iptc);
    EXPECT_FALSE(got.thumbnail);
    if (QByteArray(c.what).startsWith("upright")) {
      EXPECT_EQ(got.dateTaken.empty(), c.strip);
      EXPECT_EQ(got.xmp, !c.strip);
    }
    if (c.lossless) {
      EXPECT_TRUE(SamePixels(*Load(dest), *Load(source)));
    }
  }
}

namespace {

// Components of the first frame header; 0 when there is none.
int Components(const QByteArray& jpeg) {
  for (const char* sof : {"\xFF\xC0", "\xFF\xC1", "\xFF\xC2"}) {
    const qsizetype at = jpeg.indexOf(QByteArray(sof, 2));
    if (at >= 0 && at + 9 < jpeg.size()) return std::uint8_t(jpeg[at + 9]);
  }
  return 0;
}

}  // namespace

// A picture of greys only is written as one component; the preview and the sizes are of
// that file, and one coloured pixel brings the three components back.
TEST_F(Photos, GreyPicturesAreWrittenWithOneComponent) {
  for (const QString& file : files_->filter("camera")) {
    SCOPED_TRACE(file.toStdString());
    auto picture = Load(file);
    ASSERT_TRUE(picture->Effect_GrayScale());
    const QString grey = Out(QStringLiteral("grey-source.png"));
    ASSERT_TRUE(picture->Surface().save(grey));
    for (const bool progressive : {false, true}) {
      BatchOptions options;
      options.quality = 60;
      options.progressive = progressive;
      const QString dest = Out(QStringLiteral("grey.jpg"));
      const BatchJob::Result r = BatchJob::Run(grey, dest, options);
      ASSERT_TRUE(r.ok) << r.reason.toStdString();
      const QByteArray written = Bytes(dest);
      EXPECT_EQ(Components(written), 1);
      EXPECT_EQ(r.bytesAfter, written.size());
      const auto source = Load(grey);
      source->SetProgressive(progressive);
      int size = 0;
      const auto shown = source->GetOptimizedInstance(60, nullptr, &size);
      EXPECT_EQ(size, written.size());
      EXPECT_TRUE(SamePixels(*shown, *Load(dest)));
      // The same picture with one coloured pixel: three components, and more bytes.
      source->Surface().setPixelColor(0, 0, QColor(255, 0, 0));
      QByteArray colour;
      ASSERT_TRUE(source->EncodeJpeg(60, colour));
      EXPECT_EQ(Components(colour), 3);
      EXPECT_LT(written.size(), colour.size());
    }
  }
}

// What trimjet-cli says of each: "lossless" on the line and in --json, the budget's quality.
TEST_F(Photos, TheCommandLineSaysLosslessAndTheQualityFound) {
  const QString camera = files_->filter("camera").first();  // quality 85
  const qint64 budget = QFileInfo(camera).size() / 3;
  struct Case {
    QStringList options;
    const char* linePart;  // in the human line
    const char* jsonPart;  // in the --json line
  };
  const Case cases[] = {
      {{"--quality", "90"}, "bytes (lossless)", "\"lossless\":true"},
      {{"--quality", "90", "--progressive"}, "bytes (lossless)", "\"lossless\":true"},
      {{"--quality", "60"}, "bytes", "\"lossless\":false"},
      {{"--quality", "90", "--max-size", QString::number(budget)}, "bytes (quality ", "\"quality\":"},
      {{"--quality", "auto:medium", "--max-size", QString::number(budget)}, "bytes (quality ",
       "\"quality\":"},
      {{"--quality", "auto"}, "bytes (quality ", "\"quality\":"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.options.join(' ').toStdString());
    const QString dir = Out(QStringLiteral("cli"));
    QDir(dir).removeRecursively();
    const QStringList common = QStringList{"--jobs", "1", "--output-dir", dir} + c.options;
    const Outcome human = RunCli(common + QStringList{camera});
    ASSERT_EQ(human.exitCode, 0) << human.err.toStdString();
    ASSERT_FALSE(human.lines.isEmpty());
    EXPECT_TRUE(human.lines.first().contains(c.linePart)) << human.lines.first().toStdString();
    EXPECT_EQ(human.lines.first().contains("lossless"), QByteArray(c.jsonPart).contains("true"));
    QDir(dir).removeRecursively();
    const Outcome json = RunCli(common + QStringList{"--json", camera});
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    EXPECT_TRUE(json.lines.first().contains(c.jsonPart)) << json.lines.first().toStdString();
    const qint64 written = QFileInfo(dir + "/" + QFileInfo(camera).fileName()).size();
    EXPECT_TRUE(json.lines.first().contains(QStringLiteral("\"bytesAfter\":%1,").arg(written)));
    if (c.options.contains("--max-size")) {
      EXPECT_LE(written, budget);
    }
  }
}

// Auto quality on real photos: a stricter level never gives a smaller file; the quality found
// reaches its level on the sample it was judged on and the one below does not (bisection
// judges both, whether or not the similarity is monotone in quality); the written file itself
// is close to the level too; a byte budget only ever lowers it.
TEST_F(Photos, AutoQualityIsTheLowestThatReachesItsLevel) {
  const AutoQuality::Level levels[] = {AutoQuality::Level::kMedium, AutoQuality::Level::kHigh,
                                       AutoQuality::Level::kVisuallyLossless};
  // The photos and one camera copy: the copies add a source of known quality, not new pictures.
  QStringList files = files_->filter("photo");
  files << files_->filter("camera").first();
  bool tiled = false;  // one large photo, judged on tiles, is enough (and takes the time)
  for (const QString& file : files) {
    const auto source = Load(file);
    const ImageDescriptor sample = AutoQuality::Sample(source->Pixels());
    if (sample.Width() != source->Width()) {
      if (tiled) continue;
      tiled = true;
    }
    qint64 looserBytes = 0;
    int looserQuality = 0;
    for (const AutoQuality::Level level : levels) {
      const double threshold = AutoQuality::Threshold(level);
      SCOPED_TRACE(file.toStdString() + " " + AutoQuality::Name(level).toStdString());
      BatchOptions options;
      options.autoQuality = level;
      options.allowLarger = true;
      const QString dest = Out(QStringLiteral("auto.jpg"));
      const BatchJob::Result r = BatchJob::Run(file, dest, options);
      ASSERT_TRUE(r.ok) << r.reason.toStdString();
      ASSERT_FALSE(r.kept);
      EXPECT_GE(r.quality, looserQuality);
      EXPECT_GE(r.bytesAfter, looserBytes);
      const double target = AutoQuality::SampleTarget(level, source->Pixels());
      if (r.quality < QualityRange::kHighest) {
        EXPECT_GE(AutoQuality::Measure(sample, r.quality), target) << "quality " << r.quality;
      }
      if (r.quality > QualityRange::kLowest) {
        EXPECT_LT(AutoQuality::Measure(sample, r.quality - 1), target)
            << "quality " << r.quality - 1 << " is good enough too";
      }
      // The sample stands for the whole picture: the file written is no more than 3 below
      // the level (unless the quality range ended the search).
      if (r.quality < QualityRange::kHighest) {
        EXPECT_GE(Ssimulacra2::Compare(source->Pixels(), Load(dest)->Pixels()).value_or(0),
                  threshold - 3);
      }
      looserBytes = r.bytesAfter;
      looserQuality = r.quality;

      if (level != AutoQuality::kDefaultLevel) continue;  // the budget's rule once a photo
      BatchOptions capped = options;
      capped.maxBytes = r.bytesAfter * 2 / 3;
      const BatchJob::Result c = BatchJob::Run(file, dest, capped);
      if (c.ok) {
        EXPECT_LT(c.quality, r.quality);
        EXPECT_LE(c.bytesAfter, capped.maxBytes);
      } else {
        EXPECT_TRUE(c.reason.contains("does not fit")) << c.reason.toStdString();
      }
    }
  }
}
