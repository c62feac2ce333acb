#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

#include "TestEnv.h"
#include "core/BatchInputs.h"
#include "core/BatchJob.h"
#include "engine/clsImage.h"

namespace {

std::shared_ptr<clsImage> Picture(int w, int h) {
  auto image = std::make_shared<clsImage>();
  image->Create(w, h, 24);
  image->Surface().fill(QColor(200, 120, 40));
  return image;
}

QString Fixture(const char* name) {
  return TestEnv::SourceDir() + "/tests/engine/fixtures/" + name;
}

QByteArray Bytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

struct SizeCase {
  int pictureW, pictureH;
  bool manual;
  int width, height, scale;
  int expectedW, expectedH;  // 0 x 0: no picture
};

class SizedImage : public ::testing::TestWithParam<SizeCase> {};

}  // namespace

TEST_P(SizedImage, FollowsTheSizeOptions) {
  const SizeCase& c = GetParam();
  auto picture = Picture(c.pictureW, c.pictureH);
  BatchOptions options;
  options.resize = true;
  options.manualSize = c.manual;
  options.width = c.width;
  options.height = c.height;
  options.scale = c.scale;
  auto sized = BatchJob::GetSizedImage(picture, options, false);
  if (c.expectedW == 0) {
    EXPECT_EQ(sized, nullptr);
    return;
  }
  ASSERT_TRUE(sized);
  EXPECT_EQ(sized->Width(), c.expectedW);
  EXPECT_EQ(sized->Height(), c.expectedH);
  // The right size already: the picture itself, not a copy.
  EXPECT_EQ(sized == picture, c.expectedW == c.pictureW && c.expectedH == c.pictureH);
}

INSTANTIATE_TEST_SUITE_P(
    Options, SizedImage,
    ::testing::Values(SizeCase{160, 120, true, 80, 0, 0, 80, 60},
                      SizeCase{120, 160, true, 80, 0, 0, 80, 106},  // fraction dropped
                      SizeCase{160, 120, true, 0, 30, 0, 40, 30},
                      SizeCase{160, 120, true, 50, 50, 0, 50, 50},
                      SizeCase{160, 120, true, 0, 0, 0, 0, 0},
                      SizeCase{201, 101, false, 0, 0, 50, 100, 50},  // halves to even
                      SizeCase{203, 103, false, 0, 0, 50, 102, 52},
                      SizeCase{160, 120, false, 0, 0, 100, 160, 120},
                      SizeCase{10, 10, false, 0, 0, 500, 50, 50}));

TEST(BatchJob, NoResizingKeepsThePicture) {
  auto picture = Picture(30, 20);
  BatchOptions options;
  options.scale = 50;  // ignored while resizing is off
  EXPECT_EQ(BatchJob::GetSizedImage(picture, options, false), picture);
}

TEST(BatchJob, WritesTheSizedPictureWithItsEffectsInOrder) {
  QTemporaryDir dir;
  const QString dest = dir.filePath("out.jpg");
  BatchOptions options;
  options.resize = true;
  options.scale = 50;
  options.effects = {{EffectCatalog::Find("Rotate"), 90}, {EffectCatalog::Find("Kodalith"), 0}};
  const BatchJob::Result r = BatchJob::Run(Fixture("photo.png"), dest, options);
  ASSERT_TRUE(r.ok) << r.reason.toStdString();
  EXPECT_EQ(r.bytesBefore, QFile(Fixture("photo.png")).size());
  EXPECT_EQ(r.bytesAfter, QFile(dest).size());
  clsImage written;
  ASSERT_TRUE(written.CreateFromFile(dest));
  // 24 x 16 at 50 %, then a quarter turn; Kodalith at 0 makes everything white.
  EXPECT_EQ(written.Width(), 8);
  EXPECT_EQ(written.Height(), 12);
  EXPECT_GE(written.Pixels().Row(4)[3], 250);
}

TEST(BatchJob, FailuresLeaveTheExistingFileAsItWas) {
  QTemporaryDir dir;
  const QString dest = dir.filePath("keep.jpg");
  const QByteArray old = Bytes(Fixture("photo.jpg"));
  Write(dest, old);
  struct Case {
    QString source;
    BatchOptions options;
    const char* reasonPart;
  };
  BatchOptions noSize;
  noSize.resize = noSize.manualSize = true;
  // A name that is not UTF-8 (legal on Linux), as a folder scan lists it: reported by name.
  const QString folder = dir.filePath("scan");
  ASSERT_TRUE(QDir().mkpath(folder));
  const QByteArray latin1 = QFile::encodeName(folder) + "/caf\xE9.png";
  ASSERT_TRUE(QFile::copy(Fixture("photo.png"), folder + "/ok.png"));
  ASSERT_EQ(std::rename(QFile::encodeName(folder + "/ok.png").constData(), latin1.constData()), 0);
  const QStringList listed = BatchInputs::FilesFromPath(folder, false);
  ASSERT_EQ(listed.size(), 1);
  // A small picture followed by 8 GB of zeros: refused at once, not read.
  const QString padded = dir.filePath("padded.png");
  ASSERT_TRUE(QFile::copy(Fixture("photo.png"), padded));
  ASSERT_EQ(::truncate(QFile::encodeName(padded).constData(), 8LL << 30), 0);
  const Case cases[] = {
      {listed.first(), {}, "not valid UTF-8, cannot open: "},
      {padded, {}, "too large"},
      {Fixture("corrupt.png"), {}, "cannot read"},
      {Fixture("truncated.jpg"), {}, "cannot read"},
      {dir.filePath("missing.png"), {}, "no such file"},
      {Fixture("photo.png"), noSize, "cannot scale"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.source.toStdString());
    const BatchJob::Result r = BatchJob::Run(c.source, dest, c.options);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.reason.contains(c.reasonPart)) << r.reason.toStdString();
    EXPECT_EQ(Bytes(dest), old);
  }
}

TEST(BatchJob, WriteProtectedDestinationIsRefused) {
  QTemporaryDir dir;
  const QString dest = dir.filePath("locked.jpg");
  const QByteArray old = Bytes(Fixture("photo.jpg"));
  Write(dest, old);
  ASSERT_TRUE(QFile::setPermissions(dest, QFile::ReadOwner | QFile::ReadGroup));
  const auto permissions = QFile::permissions(dest);
  QString reason;
  EXPECT_FALSE(BatchJob::SaveImage(Fixture("photo.png"), dest, {}, &reason));
  EXPECT_TRUE(reason.contains("write-protected")) << reason.toStdString();
  EXPECT_EQ(Bytes(dest), old);
  EXPECT_EQ(QFile::permissions(dest), permissions);
}
