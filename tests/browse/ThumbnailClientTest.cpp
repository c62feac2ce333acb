// The thumbnail helper process: the same thumbnails as the engine makes in this process, hostile
// files that end in a failure and never in a hang, and a helper that hangs, dies or is missing.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "TestEnv.h"
#include "browse/BrowseGeometry.h"
#include "browse/ThumbnailClient.h"
#include "engine/EngineThumbnail.h"
#include "engine/clsImage.h"

namespace {

using Outcome = ThumbnailClient::Outcome;

QString Fixture(const QString& name) {
  return TestEnv::SourceDir() + "/tests/engine/fixtures/" + name;
}

// A picture whose nearest-neighbour cut shows which pixels were picked.
bool WriteNoisyPicture(const QString& path, int w, int h) {
  QImage image(w, h, QImage::Format_RGB888);
  for (int y = 0; y < h; ++y) {
    uchar* row = image.scanLine(y);
    for (int x = 0; x < w; ++x) {
      row[3 * x] = uchar(x * 7 + y);
      row[3 * x + 1] = uchar(y * 13 + x * 3);
      row[3 * x + 2] = uchar((x ^ y) * 5);
    }
  }
  return image.save(path);
}

// A stand-in helper: a shell script.
QString WriteScript(const QTemporaryDir& dir, const QString& name, const QByteArray& body) {
  const QString path = dir.filePath(name);
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return {};
  file.write("#!/bin/sh\n" + body + "\n");
  file.close();
  file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  return path;
}

class ThumbnailClientTest : public testing::TestWithParam<const char*> {
 protected:
  ThumbnailClient client{TestEnv::BinDir() + "/trimjet-thumbnailer"};
};

TEST_P(ThumbnailClientTest, HelperMakesWhatTheEngineMakesHere) {
  const QString file = Fixture(GetParam());
  EngineThumbnail::Result here, there;
  const bool ok = EngineThumbnail::Make(file, BrowseGeometry::ThumbnailSize, here);
  const Outcome outcome = client.Make(file, BrowseGeometry::ThumbnailSize, {}, there);
  ASSERT_EQ(outcome, ok ? Outcome::kMade : Outcome::kFailed);
  EXPECT_EQ(there.pictureWidth, here.pictureWidth);
  EXPECT_EQ(there.pictureHeight, here.pictureHeight);
  EXPECT_EQ(there.buffer, here.buffer);  // byte for byte: same decode, cut and encoder
}

INSTANTIATE_TEST_SUITE_P(Fixtures, ThumbnailClientTest,
                         testing::Values("photo.png", "wide.png", "alpha.png", "palette.png",
                                         "rgb16.png", "grey.png", "photo.tif", "orient6.tif",
                                         "photo.gif", "rgb24.bmp", "pal4.bmp", "photo.pcx",
                                         "topdown.tga", "alpha32.tga", "cmyk.jpg", "jpeg_named.gif",
                                         "corrupt.png", "truncated.jpg", "empty.jpg", "garbage.bin",
                                         "no-such-file.png"));

TEST(ThumbnailClient, BigPngKeepsItsSizeAndFitsTheBox) {
  QTemporaryDir dir;
  const QString file = dir.filePath("big.png");
  ASSERT_TRUE(WriteNoisyPicture(file, 2400, 1601));
  ThumbnailClient client(TestEnv::BinDir() + "/trimjet-thumbnailer");
  EngineThumbnail::Result made, here;
  ASSERT_EQ(client.Make(file, BrowseGeometry::ThumbnailSize, {}, made), Outcome::kMade);
  EXPECT_EQ(made.pictureWidth, 2400);
  EXPECT_EQ(made.pictureHeight, 1601);
  clsImage thumb;
  thumb.LoadFromBuffer(made.buffer);
  EXPECT_EQ(QSize(thumb.Width(), thumb.Height()), QSize(100, 67));  // 66.71 rounds up
  ASSERT_TRUE(EngineThumbnail::Make(file, BrowseGeometry::ThumbnailSize, here));
  EXPECT_EQ(made.buffer, here.buffer);
}

TEST(ThumbnailClient, FitThatGivesUpFailsAndTheHelperGoesOn) {
  ThumbnailClient client(TestEnv::BinDir() + "/trimjet-thumbnailer");
  EngineThumbnail::Result made;
  const auto larger = [](int w, int h) { return QSize(w + 1, h); };
  EXPECT_EQ(client.Make(Fixture("photo.png"), larger, {}, made), Outcome::kFailed);
  EXPECT_TRUE(made.buffer.isEmpty());
  EXPECT_TRUE(client.Running());
  EXPECT_EQ(client.Make(Fixture("photo.png"), BrowseGeometry::ThumbnailSize, {}, made),
            Outcome::kMade);
}

// Each file of the corrupt-file corpus ends in a thumbnail of the fitted size or a failure;
// a helper that crashes on one is replaced for the next.
TEST(ThumbnailClient, HostileCorpusNeverHangsOrBreaksTheClient) {
  const QDir corpus(TestEnv::SourceDir() + "/tests/hostile/corpus");
  const QStringList files = corpus.entryList(QDir::Files, QDir::Name);
  ASSERT_GT(files.size(), 50);
  ThumbnailClient client(TestEnv::BinDir() + "/trimjet-thumbnailer");
  client.SetTimeout(20000);
  int made = 0;
  for (const QString& name : files) {
    EngineThumbnail::Result result;
    const Outcome outcome =
        client.Make(corpus.filePath(name), BrowseGeometry::ThumbnailSize, {}, result);
    ASSERT_TRUE(outcome == Outcome::kMade || outcome == Outcome::kFailed) << name.toStdString();
    if (outcome != Outcome::kMade) continue;
    ++made;
    clsImage thumb;
    thumb.LoadFromBuffer(result.buffer);
    EXPECT_EQ(QSize(thumb.Width(), thumb.Height()),
              BrowseGeometry::ThumbnailSize(result.pictureWidth, result.pictureHeight))
        << name.toStdString();
  }
  EXPECT_GT(made, 0);  // the corpus' intact base files
  EngineThumbnail::Result after;
  EXPECT_EQ(client.Make(Fixture("photo.tif"), BrowseGeometry::ThumbnailSize, {}, after),
            Outcome::kMade);
}

TEST(ThumbnailClient, MissingHelperIsUnavailable) {
  ThumbnailClient client("/nonexistent/trimjet-thumbnailer");
  EngineThumbnail::Result made;
  EXPECT_EQ(client.Make(Fixture("photo.png"), BrowseGeometry::ThumbnailSize, {}, made),
            Outcome::kUnavailable);
  EXPECT_FALSE(client.Running());
}

struct BadHelperRow {
  const char* name;
  const char* script;
  bool cancel;
  Outcome expected;
};

class BadHelperTest : public testing::TestWithParam<BadHelperRow> {};

TEST_P(BadHelperTest, EndsTheHelperAndReports) {
  const BadHelperRow row = GetParam();
  QTemporaryDir dir;
  ThumbnailClient client(WriteScript(dir, "helper.sh", row.script));
  client.SetTimeout(300);
  QElapsedTimer asked;
  asked.start();
  const auto cancelled = [&] { return row.cancel && asked.elapsed() > 50; };
  EngineThumbnail::Result made;
  EXPECT_EQ(client.Make(Fixture("photo.png"), BrowseGeometry::ThumbnailSize, cancelled, made),
            row.expected);
  EXPECT_TRUE(made.buffer.isEmpty());
  EXPECT_FALSE(client.Running());  // ended and reaped, not left behind
}

INSTANTIATE_TEST_SUITE_P(
    Helpers, BadHelperTest,
    testing::Values(BadHelperRow{"hangs", "exec sleep 30", false, Outcome::kFailed},
                    BadHelperRow{"cancelled", "exec sleep 30", true, Outcome::kCancelled},
                    BadHelperRow{"dies", "exit 3", false, Outcome::kFailed},
                    BadHelperRow{"talks nonsense", "printf 'xxxxxxxxxxxxxxxx' >&3; exec sleep 30",
                                 false, Outcome::kFailed}),
    [](const testing::TestParamInfo<BadHelperRow>& info) {
      std::string name = info.param.name;
      for (char& c : name)
        if (c == ' ') c = '_';
      return name;
    });

}  // namespace
