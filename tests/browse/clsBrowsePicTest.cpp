#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QTemporaryDir>
#include <thread>

#include "BrowseFixtures.h"
#include "browse/BrowseGeometry.h"
#include "browse/clsBrowsePic.h"
#include "browse/clsDirPics.h"
#include "engine/JpegThumbnail.h"

using BrowseFixtures::Near;
using BrowseFixtures::WritePicture;
using BrowseFixtures::WriteText;

namespace {

struct SizeRow {
  int w, h, tw, th;
  const char* ext;
};
class ThumbnailTest : public testing::TestWithParam<SizeRow> {
 protected:
  QTemporaryDir dir;
};

TEST_P(ThumbnailTest, LoadedThumbnailHasTheFittedSize) {
  const SizeRow r = GetParam();
  const QString name = QString("Pic.%1").arg(r.ext);
  ASSERT_TRUE(WritePicture(dir.filePath(name), r.w, r.h));
  clsBrowsePic item;
  item.SetFileName(dir.path() + "/", name);
  EXPECT_EQ(item.GetFileName(), QString("pic.%1").arg(r.ext).toLower());
  ASSERT_TRUE(item.LoadImage(false));
  EXPECT_EQ(item.GetPictureWidth(), r.w);
  EXPECT_EQ(item.GetPictureHeight(), r.h);
  EXPECT_EQ(item.DecodedSize(), QSize(r.tw, r.th));

  // The JPEG-only path that worker threads use gives the same sizes.
  if (QString(r.ext) == "jpg") {
    JpegThumbnail::Result made;
    ASSERT_TRUE(JpegThumbnail::Make(dir.filePath(name), BrowseGeometry::ThumbnailSize, made));
    EXPECT_EQ(made.pictureWidth, r.w);
    EXPECT_EQ(made.pictureHeight, r.h);
    clsImage restored;
    restored.LoadFromBuffer(made.buffer);
    EXPECT_EQ(QSize(restored.Width(), restored.Height()), QSize(r.tw, r.th));
    EXPECT_TRUE(Near(restored.Surface().pixelColor(r.tw / 2, r.th / 2), QColor(Qt::darkGreen)));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, ThumbnailTest,
    testing::Values(SizeRow{400, 300, 100, 75, "jpg"}, SizeRow{300, 400, 75, 100, "jpg"},
                    SizeRow{150, 150, 100, 100, "png"}, SizeRow{80, 60, 80, 60, "jpg"},
                    SizeRow{250, 1000, 25, 100, "png"}, SizeRow{250, 1000, 25, 100, "JPG"},
                    // large enough for the 1/8 reduced decode
                    SizeRow{2400, 1800, 100, 75, "jpg"}, SizeRow{1030, 1031, 100, 100, "jpg"}));

TEST(JpegThumbnailTest, RefusesWhatIsNoJpeg) {
  QTemporaryDir dir;
  JpegThumbnail::Result made;
  WriteText(dir.filePath("a.jpg"));
  EXPECT_FALSE(JpegThumbnail::Make(dir.filePath("a.jpg"), BrowseGeometry::ThumbnailSize, made));
  EXPECT_FALSE(JpegThumbnail::Make(dir.filePath("none.jpg"), BrowseGeometry::ThumbnailSize, made));
  // Cut in the middle of its header.
  ASSERT_TRUE(WritePicture(dir.filePath("b.jpg"), 300, 200));
  QFile file(dir.filePath("b.jpg"));
  ASSERT_TRUE(file.resize(100));
  EXPECT_FALSE(JpegThumbnail::Make(dir.filePath("b.jpg"), BrowseGeometry::ThumbnailSize, made));
}

TEST(JpegThumbnailTest, ThreadsGetTheSameBytes) {
  QTemporaryDir dir;
  ASSERT_TRUE(WritePicture(dir.filePath("a.jpg"), 1600, 1200, QColor(200, 40, 90)));
  JpegThumbnail::Result first;
  ASSERT_TRUE(JpegThumbnail::Make(dir.filePath("a.jpg"), BrowseGeometry::ThumbnailSize, first));
  std::vector<QByteArray> buffers(4);
  std::vector<std::thread> threads;
  for (auto& buffer : buffers)
    threads.emplace_back([&dir, &buffer] {
      for (int i = 0; i < 5; ++i) {
        JpegThumbnail::Result made;
        if (JpegThumbnail::Make(dir.filePath("a.jpg"), BrowseGeometry::ThumbnailSize, made))
          buffer = made.buffer;
      }
    });
  for (auto& t : threads) t.join();
  for (const auto& buffer : buffers) EXPECT_EQ(buffer, first.buffer);
}

TEST(BrowsePicTest, FailedLoadIsMarkedAndNeverRetried) {
  QTemporaryDir dir;
  WriteText(dir.filePath("bad.png"));
  clsBrowsePic item;
  item.SetFileName(dir.path() + "/", "bad.png");
  EXPECT_TRUE(item.NeedsThumbnail());
  EXPECT_FALSE(item.LoadImage(false));
  EXPECT_EQ(item.GetPath(), clsBrowsePic::kLoadFailedPath);
  EXPECT_TRUE(item.LoadFailed());
  EXPECT_FALSE(item.NeedsThumbnail());
  // Now a good picture under that name: the item still does not try again.
  ASSERT_TRUE(WritePicture(dir.filePath("bad.png"), 20, 20));
  QImage page(120, 130, QImage::Format_RGB32);
  QPainter dc(&page);
  EXPECT_FALSE(item.Draw(dc, 0, 0, true));
  EXPECT_FALSE(item.HasDecodedThumbnail());
}

TEST(BrowsePicTest, FreeingKeepsTheBytes) {
  QTemporaryDir dir;
  ASSERT_TRUE(WritePicture(dir.filePath("a.jpg"), 400, 300));
  clsBrowsePic item;
  item.SetFileName(dir.path() + "/", "a.jpg");
  ASSERT_TRUE(item.LoadImage(true));
  EXPECT_TRUE(item.HasThumbnail());
  EXPECT_FALSE(item.HasDecodedThumbnail());
  QFile::remove(dir.filePath("a.jpg"));  // drawing again needs no file
  QImage page(120, 130, QImage::Format_RGB32);
  QPainter dc(&page);
  EXPECT_FALSE(item.Draw(dc, 0, 0, true));
  EXPECT_EQ(item.DecodedSize(), QSize(100, 75));
}

class PageDrawTest : public testing::Test {
 protected:
  void SetUp() override {
    for (int i = 1; i <= 10; ++i)
      ASSERT_TRUE(WritePicture(dir.filePath(QString("p%1.jpg").arg(i, 2, 10, QChar('0'))), 160, 120,
                               Qt::red));
    model.SetDirectory(dir.path());
    model.RebuildImageList(nullptr);
  }
  std::vector<int> Decoded() const {
    std::vector<int> out;
    for (int i = 1; i <= model.GetImagesCount(); ++i)
      if (model.Item(i)->HasDecodedThumbnail()) out.push_back(i);
    return out;
  }
  QTemporaryDir dir;
  clsDirPics model;
  QImage page{500, 400, QImage::Format_RGB32};
};

TEST_F(PageDrawTest, OnlyThePageShownKeepsDecodedThumbnails) {
  QPainter dc(&page);
  std::vector<QRect> flushed;
  // 130 high: one whole line and the part of the next.
  model.Draw(dc, 2, 500, 130, nullptr, [&](const QRect& r) { flushed.push_back(r); });
  EXPECT_EQ(Decoded(), (std::vector<int>{5, 6, 7, 8, 9, 10}));
  ASSERT_EQ(flushed.size(), 6u);
  EXPECT_EQ(flushed[0], BrowseGeometry::InnerCell(0, 0));
  EXPECT_EQ(flushed[5], BrowseGeometry::InnerCell(1, 1));
  flushed.clear();
  model.Draw(dc, 1, 500, 130, nullptr, [&](const QRect& r) { flushed.push_back(r); });
  EXPECT_EQ(Decoded(), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(flushed.size(), 4u);  // 5 .. 8 came from their bytes
  for (int i = 9; i <= 10; ++i) EXPECT_TRUE(model.Item(i)->HasThumbnail());
}

TEST_F(PageDrawTest, CollectsMissingThumbnailsInsteadOfLoading) {
  QPainter dc(&page);
  std::vector<clsBrowsePic*> missing;
  model.Draw(dc, 1, 500, 260, &missing);
  ASSERT_EQ(missing.size(), 10u);
  EXPECT_EQ(missing.front(), model.Item(1));
  EXPECT_TRUE(Decoded().empty());
}

TEST_F(PageDrawTest, CellsShowSelectionPictureAndBackground) {
  model.Item(2)->SetSelected(true);
  {
    QPainter dc(&page);
    model.Draw(dc, 1, 500, 400);
  }
  const QColor button = QGuiApplication::palette().color(QPalette::Button);
  const QColor base = QGuiApplication::palette().color(QPalette::Base);
  EXPECT_EQ(page.pixelColor(490, 10), base);  // right of the last column
  EXPECT_EQ(page.pixelColor(1, 1), base);     // between cells
  EXPECT_EQ(page.pixelColor(8, 15), button);                   // unselected cell
  EXPECT_EQ(page.pixelColor(128, 15),  // selected cell: the palette's selection colour
            QGuiApplication::palette().color(QPalette::Highlight));
  // 100 x 75 thumbnail at (10, 23) in its cell.
  EXPECT_TRUE(Near(page.pixelColor(60, 60), Qt::red));
  EXPECT_TRUE(Near(page.pixelColor(180, 60), Qt::red));
  EXPECT_EQ(page.pixelColor(60, 20), button);
}

}  // namespace
