#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "controls/SizerBarX.h"
#include "controls/SizerBarY.h"

namespace {

TEST(SizerBarTest, ReportsTheMoveSinceThePress) {
  SizerBarX bar;
  bar.resize(10, 300);
  QSignalSpy drags(&bar, &SizerBarBase::Dragged);
  QTest::mousePress(&bar, Qt::LeftButton, {}, QPoint(75, 20));
  QTest::mouseMove(&bar, QPoint(240, 20));
  ASSERT_EQ(drags.count(), 1);
  EXPECT_EQ(drags.at(0).at(0).toInt(), 165);
  QTest::mouseMove(&bar, QPoint(60, 90));  // across the axis does not count
  EXPECT_EQ(drags.at(1).at(0).toInt(), -15);
  QTest::mouseRelease(&bar, Qt::LeftButton, {}, QPoint(60, 90));
}

TEST(SizerBarTest, NothingWithoutAPressOrAfterTheRelease) {
  SizerBarY bar;
  bar.resize(300, 10);
  bar.show();
  QSignalSpy drags(&bar, &SizerBarBase::Dragged);
  QTest::mouseMove(&bar, QPoint(5, 5));
  QTest::mouseRelease(&bar, Qt::LeftButton, {}, QPoint(5, 5));  // release without a press
  QTest::mouseMove(&bar, QPoint(5, 8));
  EXPECT_EQ(drags.count(), 0);
  QTest::mousePress(&bar, Qt::RightButton, {}, QPoint(5, 2));  // any button drags
  QTest::mouseMove(&bar, QPoint(100, 52));
  ASSERT_EQ(drags.count(), 1);
  EXPECT_EQ(drags.at(0).at(0).toInt(), 50);  // y only for the horizontal bar
  QTest::mouseRelease(&bar, Qt::RightButton, {}, QPoint(100, 52));
  QTest::mouseMove(&bar, QPoint(5, 70));
  EXPECT_EQ(drags.count(), 1);
}

TEST(SizerBarTest, KeepsItsThicknessAndDrawsTheLineInTheMiddle) {
  SizerBarX x;
  x.resize(50, 100);
  EXPECT_EQ(x.width(), 10);
  EXPECT_EQ(x.height(), 100);
  SizerBarY y;
  y.resize(100, 50);
  EXPECT_EQ(y.height(), 10);
  EXPECT_EQ(y.width(), 100);

  const QImage img = x.grab().toImage();
  const QRgb light = x.palette().color(QPalette::Light).rgb();
  const QRgb dark = x.palette().color(QPalette::Dark).rgb();
  for (int row : {0, 50, 99}) {
    EXPECT_EQ(img.pixel(4, row), light);
    EXPECT_EQ(img.pixel(5, row), dark);
    EXPECT_NE(img.pixel(3, row), light);
    EXPECT_NE(img.pixel(6, row), dark);
  }
  const QImage imgY = y.grab().toImage();
  EXPECT_EQ(imgY.pixel(50, 4), light);
  EXPECT_EQ(imgY.pixel(50, 5), dark);
}

}  // namespace
