// The loader: thumbnails of large non-JPEG pictures come from the workers and their helpers,
// broken files come back failed, and work for files no longer wanted is dropped.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <map>

#include "BrowseFixtures.h"
#include "TestEnv.h"
#include "browse/BrowseGeometry.h"
#include "browse/PictureBrowser.h"
#include "browse/ThumbnailClient.h"
#include "browse/ThumbnailLoader.h"
#include "browse/clsBrowsePic.h"
#include "browse/clsDirPics.h"
#include "engine/clsImage.h"

using BrowseFixtures::WritePicture;
using BrowseFixtures::WriteText;

namespace {

// Test programs are not built beside the helper: every loader of this program uses the built one.
class HelperEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    ThumbnailClient::SetDefaultHelper(TestEnv::BinDir() + "/trimjet-thumbnailer");
  }
};
[[maybe_unused]] testing::Environment* const kHelper =
    testing::AddGlobalTestEnvironment(new HelperEnvironment);

class ThumbnailLoaderTest : public testing::Test {
 protected:
  void SetUp() override {
    connect = QObject::connect(&loader, &ThumbnailLoader::Ready,
                               [this](quint64 id, const ThumbnailResult& r) { results[id] = r; });
  }
  void TearDown() override { QObject::disconnect(connect); }
  // Waits until the loader has nothing left and every queued result has been handed out.
  bool Settle() {
    if (!QTest::qWaitFor([this] { return loader.Idle(); }, 20000)) return false;
    QCoreApplication::processEvents();
    return true;
  }
  QSize DecodedSize(quint64 id) {
    clsImage image;
    image.LoadFromBuffer(results[id].buffer);
    return {image.Width(), image.Height()};
  }

  QTemporaryDir dir;
  ThumbnailLoader loader{nullptr, 2};
  std::map<quint64, ThumbnailResult> results;
  QMetaObject::Connection connect;
};

struct FileRow {
  const char* name;
  int w, h;  // 0 x 0: a broken file
  QSize thumb;
  const char* fixture = nullptr;  // copied from the engine's fixtures instead of written
};

class ThumbnailLoaderFiles : public ThumbnailLoaderTest,
                             public testing::WithParamInterface<bool> {};

// With the helper (true) and without it (false, on the window thread) the results are the same.
TEST_P(ThumbnailLoaderFiles, EveryFormatArrivesWithTheFittedSize) {
  if (!GetParam()) loader.SetHelper("/nonexistent/trimjet-thumbnailer");
  const FileRow rows[] = {{"big.png", 3000, 2000, {100, 67}},
                          {"tall.tif", 900, 2400, {38, 100}},
                          {"wide.bmp", 1000, 250, {100, 25}},
                          {"photo.jpg", 1600, 1200, {100, 75}},
                          {"small.gif", 24, 16, {24, 16}, "photo.gif"},
                          {"small.pcx", 24, 16, {24, 16}, "photo.pcx"},
                          {"small.tga", 24, 16, {24, 16}, "topdown.tga"},
                          {"broken.png", 0, 0, {}, "corrupt.png"},
                          {"text.tiff", 0, 0, {}}};
  std::vector<ThumbnailLoader::Job> jobs;
  quint64 id = 1000;
  for (const FileRow& row : rows) {
    const QString path = dir.filePath(row.name);
    if (row.fixture)
      ASSERT_TRUE(
          QFile::copy(TestEnv::SourceDir() + "/tests/engine/fixtures/" + row.fixture, path));
    else if (row.w == 0)
      WriteText(path);
    else if (path.endsWith(".tif"))
      ASSERT_TRUE(BrowseFixtures::WriteTiff(path, row.w, row.h));
    else
      ASSERT_TRUE(WritePicture(path, row.w, row.h)) << row.name;
    jobs.push_back({++id, path});
  }
  loader.Want(jobs);
  ASSERT_TRUE(Settle());
  ASSERT_EQ(results.size(), std::size(rows));
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    const FileRow& row = rows[i];
    const ThumbnailResult& r = results[jobs[i].id];
    SCOPED_TRACE(row.name);
    EXPECT_EQ(r.ok, row.w > 0);
    if (!r.ok) continue;
    EXPECT_EQ(QSize(r.pictureWidth, r.pictureHeight), QSize(row.w, row.h));
    EXPECT_EQ(DecodedSize(jobs[i].id), row.thumb);
    EXPECT_EQ(r.buffer, clsBrowsePic::MakeThumbnail(jobs[i].fileName).buffer);
  }
}

INSTANTIATE_TEST_SUITE_P(HelperOrWindowThread, ThumbnailLoaderFiles, testing::Bool());

// A helper busy on a file that is no longer wanted is stopped; the window thread never waits.
TEST_F(ThumbnailLoaderTest, FilesNoLongerWantedAreDropped) {
  QTemporaryDir helperDir;
  const QString slow = helperDir.filePath("slow.sh");
  {
    QFile file(slow);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\nexec sleep 60\n");
  }
  QFile::setPermissions(slow, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  loader.SetHelper(slow);
  std::vector<ThumbnailLoader::Job> jobs;
  for (int i = 0; i < 5; ++i) {
    const QString path = dir.filePath(QString("p%1.png").arg(i));
    ASSERT_TRUE(WritePicture(path, 400, 300));
    jobs.push_back({quint64(2000 + i), path});
  }
  loader.Want(jobs);  // returns while both workers wait on their helpers
  EXPECT_FALSE(loader.Idle());
  QTest::qWait(100);
  EXPECT_FALSE(loader.Idle());
  loader.Want({});  // scrolled away from all of them
  ASSERT_TRUE(Settle());
  EXPECT_TRUE(results.empty());  // cancelled, not failed: they are asked for again later
}

TEST_F(ThumbnailLoaderTest, AFileStillWantedKeepsItsRunningWork) {
  const QString big = dir.filePath("big.png"), other = dir.filePath("other.png");
  ASSERT_TRUE(WritePicture(big, 3000, 2000));
  ASSERT_TRUE(WritePicture(other, 300, 300));
  loader.Want({{1, big}, {2, other}});
  loader.Want({{1, big}});  // the page moved, the big one is still on it
  ASSERT_TRUE(Settle());
  ASSERT_TRUE(results.count(1));
  EXPECT_TRUE(results[1].ok);
  EXPECT_EQ(DecodedSize(1), QSize(100, 67));
}

// The browser asks for the page it shows: scrolling on stops the helpers busy on the cells
// that left, and those cells are not taken for broken files.
TEST(BrowserThumbnails, ScrollingAwayStopsTheWorkOfCellsNoLongerShown) {
  QTemporaryDir dir, empty, helperDir;
  const QString log = helperDir.filePath("started.txt");
  const QString slow = helperDir.filePath("slow.sh");
  {
    QFile file(slow);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(("#!/bin/sh\necho started >> '" + log + "'\nexec sleep 60\n").toUtf8());
  }
  QFile::setPermissions(slow, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  const auto started = [&] {
    QFile file(log);
    return file.open(QIODevice::ReadOnly) ? int(file.readAll().count('\n')) : 0;
  };
  for (int i = 1; i <= 40; ++i)
    ASSERT_TRUE(WritePicture(dir.filePath(QString("p%1.png").arg(i, 2, 10, QChar('0'))), 50, 50));

  ThumbnailClient::SetDefaultHelper(slow);
  struct Restore {
    ~Restore() { ThumbnailClient::SetDefaultHelper(TestEnv::BinDir() + "/trimjet-thumbnailer"); }
  } restore;
  {
    PictureBrowser browser;
    browser.resize(500 + browser.VScroll()->sizeHint().width(), 400);  // 4 x 3 cells and a part
    browser.show();
    browser.SetDirectory(dir.path());
    ASSERT_TRUE(QTest::qWaitFor([&] { return started() == 2; },
                                5000));  // one helper per worker, on p01 and p02
    browser.VScroll()->setValue(browser.VScroll()->maximum());
    ASSERT_TRUE(QTest::qWaitFor([&] { return started() == 4; },
                                5000));  // both ended; two new ones for the new page
    EXPECT_TRUE(browser.ThumbnailsPending());
    browser.SetDirectory(empty.path());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !browser.ThumbnailsPending(); }, 5000));
    browser.SetDirectory(dir.path());
    clsDirPics* model = browser.Current();
    for (int i = 1; i <= model->GetImagesCount(); ++i) {
      EXPECT_FALSE(model->Item(i)->LoadFailed()) << i;
      EXPECT_FALSE(model->Item(i)->HasThumbnail()) << i;
    }
  }
}

}  // namespace
