#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include "browse/ImagePreview.h"

namespace {

class ImagePreviewTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    preview.resize(200, 100);
    preview.show();
    box = preview.findChild<QWidget*>(QStringLiteral("ImageView"));
    ASSERT_NE(box, nullptr);
  }
  QString Picture(int w, int h, QColor colour = Qt::red) {
    QImage picture(w, h, QImage::Format_RGB32);
    picture.fill(colour);
    const QString path = dir.filePath(QStringLiteral("p%1x%2.png").arg(w).arg(h));
    picture.save(path);
    return path;
  }

  QTemporaryDir dir;
  ImagePreview preview;
  QWidget* box = nullptr;
};

TEST_F(ImagePreviewTest, PictureBoxIsFittedAndCentred) {
  const struct {
    QSize picture;
    QRect box;
  } rows[] = {
      {{400, 400}, {50, 0, 100, 100}},  // height decides
      {{50, 10}, {0, 30, 200, 40}},     // width decides, enlarged
      {{200, 100}, {0, 0, 200, 100}},
  };
  for (const auto& r : rows) {
    preview.LoadImage(Picture(r.picture.width(), r.picture.height()));
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->geometry(), r.box) << r.picture.width() << "x" << r.picture.height();
  }
}

TEST_F(ImagePreviewTest, FollowsResize) {
  preview.LoadImage(Picture(400, 400));
  preview.resize(100, 300);
  EXPECT_EQ(box->geometry(), QRect(0, 100, 100, 100));
}

TEST_F(ImagePreviewTest, DrawsThePictureInItsBox) {
  preview.LoadImage(Picture(50, 10, Qt::blue));
  const QImage shown = preview.grab().toImage();
  EXPECT_EQ(shown.pixelColor(100, 50), QColor(Qt::blue));
  EXPECT_EQ(shown.pixelColor(0, 30), QColor(Qt::blue));
  EXPECT_NE(shown.pixelColor(100, 29), QColor(Qt::blue));
  EXPECT_NE(shown.pixelColor(100, 70), QColor(Qt::blue));
}

TEST_F(ImagePreviewTest, NothingShownWithoutAPicture) {
  EXPECT_FALSE(box->isVisible());
  const QString broken = dir.filePath(QStringLiteral("broken.png"));
  QFile file(broken);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("not a picture");
  file.close();
  for (const QString& name : {QString(), broken, dir.filePath(QStringLiteral("missing.jpg"))}) {
    preview.LoadImage(Picture(400, 400));
    ASSERT_TRUE(box->isVisible());
    preview.LoadImage(name);
    EXPECT_FALSE(box->isVisible()) << name.toStdString();
    EXPECT_FALSE(preview.HasPicture());
  }
}

}  // namespace
