#include <gtest/gtest.h>

#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include "BrowseFixtures.h"
#include "browse/PictureBrowser.h"
#include "browse/clsBrowsePic.h"
#include "browse/clsDirPics.h"

using BrowseFixtures::Parts;
using BrowseFixtures::RecordingHost;
using BrowseFixtures::WritePicture;
using BrowseFixtures::WriteText;

namespace {

class PictureBrowserTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(a.isValid() && b.isValid());
    browser.SetHost(&host);
    // The surface becomes 500 x 400 pixels.
    browser.resize(500 + browser.VScroll()->sizeHint().width(), 400);
    browser.show();
  }
  static void Fill(const QTemporaryDir& dir, int n) {
    for (int i = 1; i <= n; ++i)
      WriteText(dir.filePath(QString("p%1.png").arg(i, 2, 10, QChar('0'))));
  }
  // Centre of the cell of item i on the first page.
  static QPoint Cell(int index) {
    const int i = index - 1;
    return {(i % 4) * 120 + 60, (i / 4) * 130 + 60};
  }
  void Press(Qt::MouseButton button, QPoint at, Qt::KeyboardModifiers mods = {}) {
    QTest::mousePress(browser.Pictures(), button, mods, at);
    QTest::mouseRelease(browser.Pictures(), button, mods, at);
  }

  QTemporaryDir a, b;
  RecordingHost host;
  PictureBrowser browser;
};

TEST_F(PictureBrowserTest, SurfaceOf500x400With23Pictures) {
  Fill(a, 23);
  browser.SetDirectory(a.path());
  EXPECT_EQ(browser.Pictures()->size(), QSize(500, 400));
  EXPECT_EQ(host.pictureCount, 23);
  EXPECT_EQ(browser.VScroll()->minimum(), 1);
  EXPECT_EQ(browser.VScroll()->maximum(), 4);
  EXPECT_EQ(browser.VScroll()->pageStep(), 3);
  EXPECT_EQ(browser.VScroll()->singleStep(), 1);
  // Line 2 at the top: a click in the top-left cell hits item 5.
  browser.VScroll()->setValue(2);
  Press(Qt::LeftButton, Cell(1));
  EXPECT_EQ(Parts(browser.GetSelected()).value(1), "p05.png");
}

TEST_F(PictureBrowserTest, WheelOverThePicturesScrollsThePage) {
  Fill(a, 23);
  browser.SetDirectory(a.path());
  const auto wheel = [this](int notches) {
    QWheelEvent event(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, -120 * notches),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(browser.Pictures(), &event);
  };
  wheel(1);
  EXPECT_GT(browser.VScroll()->value(), 1);
  wheel(-5);
  EXPECT_EQ(browser.VScroll()->value(), 1);
}

TEST_F(PictureBrowserTest, ScrollPositionFollowsAShorterList) {
  Fill(a, 23);
  Fill(b, 3);
  browser.SetDirectory(a.path());
  browser.VScroll()->setValue(4);
  browser.SetDirectory(b.path());
  EXPECT_EQ(browser.VScroll()->maximum(), 1);
  EXPECT_EQ(browser.VScroll()->value(), 1);
}

TEST_F(PictureBrowserTest, CachedFolderKeepsItsSelection) {
  Fill(a, 5);
  Fill(b, 2);
  QSignalSpy changed(&browser, &PictureBrowser::SelectionChanged);
  browser.SetDirectory(a.path());
  EXPECT_EQ(changed.count(), 1);
  Press(Qt::LeftButton, Cell(3));
  browser.SetDirectory(b.path());
  EXPECT_EQ(host.pictureCount, 2);
  changed.clear();
  host.calls.clear();

  browser.SetDirectory(a.path() + "/");
  EXPECT_EQ(changed.count(), 0);
  EXPECT_TRUE(host.calls.empty());  // no scan
  EXPECT_EQ(host.pictureCount, 5);
  EXPECT_EQ(Parts(browser.GetSelected()).value(1), "p03.png");
  EXPECT_EQ(browser.CachedFolderCount(), 2);

  WriteText(a.filePath("p06.png"));
  browser.SetDirectory(a.path(), true);
  EXPECT_EQ(changed.count(), 0);
  EXPECT_EQ(browser.GetSelected(), "");
  EXPECT_EQ(host.pictureCount, 6);
  EXPECT_EQ(browser.CachedFolderCount(), 2);
}

TEST_F(PictureBrowserTest, RightClickRules) {
  Fill(a, 10);
  browser.SetDirectory(a.path());
  QSignalSpy menu(&browser, &PictureBrowser::Menu);
  QSignalSpy changed(&browser, &PictureBrowser::SelectionChanged);

  Press(Qt::RightButton, QPoint(300, 300));  // empty space, nothing selected
  EXPECT_EQ(menu.count(), 0);
  EXPECT_EQ(changed.count(), 1);

  Press(Qt::RightButton, Cell(2));  // nothing selected: the click selects first
  ASSERT_EQ(menu.count(), 1);
  EXPECT_EQ(menu.at(0).at(0).toInt(), Cell(2).x());
  EXPECT_EQ(menu.at(0).at(1).toInt(), Cell(2).y());
  EXPECT_EQ(Parts(browser.GetSelected()).value(1), "p02.png");

  Press(Qt::RightButton, Cell(6));  // one selected: the selection moves
  EXPECT_EQ(Parts(browser.GetSelected()).value(1), "p06.png");

  Press(Qt::LeftButton, Cell(3));
  Press(Qt::LeftButton, Cell(5), Qt::ShiftModifier);
  menu.clear();
  changed.clear();
  Press(Qt::RightButton, QPoint(300, 300));  // three selected: kept, menu anyway
  EXPECT_EQ(menu.count(), 1);
  EXPECT_EQ(changed.count(), 0);
  EXPECT_EQ(browser.Current()->GetSelectedCount(), 3);
}

TEST_F(PictureBrowserTest, DoubleClickSelectsThenReports) {
  Fill(a, 4);
  browser.SetDirectory(a.path());
  QSignalSpy dbl(&browser, &PictureBrowser::DblClick);
  QTest::mouseDClick(browser.Pictures(), Qt::LeftButton, {}, Cell(4));
  EXPECT_EQ(dbl.count(), 1);
  EXPECT_EQ(Parts(browser.GetSelected()).value(1), "p04.png");
}

TEST_F(PictureBrowserTest, F5RescansTheFolder) {
  Fill(a, 3);
  browser.SetDirectory(a.path());
  QFile::remove(a.filePath("p01.png"));
  WriteText(a.filePath("new.jpg"));
  QSignalSpy changed(&browser, &PictureBrowser::SelectionChanged);
  host.calls.clear();
  QTest::keyClick(browser.Pictures(), Qt::Key_F5);
  EXPECT_EQ(changed.count(), 0);
  ASSERT_EQ(browser.Current()->GetImagesCount(), 3);
  EXPECT_EQ(browser.Current()->Item(1)->GetFileName(), "new.jpg");
  EXPECT_EQ(browser.Current()->Item(2)->GetFileName(), "p02.png");
  QTest::keyClick(browser.Pictures(), Qt::Key_F4);
  // One scan: begin, range, three values, end; other keys do nothing.
  EXPECT_EQ(host.calls.size(), 6u);
}

TEST_F(PictureBrowserTest, OperationsRepaintAndReport) {
  Fill(a, 4);
  browser.SetDirectory(a.path());
  QSignalSpy changed(&browser, &PictureBrowser::SelectionChanged);
  browser.SelectAll();
  EXPECT_EQ(browser.Current()->GetSelectedCount(), 4);
  QFile::remove(a.filePath("p04.png"));
  browser.RemoveInvalid();
  EXPECT_EQ(browser.Current()->GetImagesCount(), 3);
  browser.RemoveSelected();
  EXPECT_EQ(browser.Current()->GetImagesCount(), 0);
  EXPECT_EQ(changed.count(), 3);
  EXPECT_EQ(browser.GetSelectedBrowsePic(), nullptr);
}

TEST_F(PictureBrowserTest, ThumbnailsArriveFromTheBackground) {
  ASSERT_TRUE(WritePicture(a.filePath("big.jpg"), 1200, 900, Qt::blue));
  ASSERT_TRUE(WritePicture(a.filePath("small.png"), 60, 200, Qt::yellow));
  WriteText(a.filePath("broken.jpg"));
  browser.SetDirectory(a.path());
  // QTRY_ checks do not fail a GoogleTest case: wait, then assert.
  ASSERT_TRUE(QTest::qWaitFor([&] { return !browser.ThumbnailsPending(); }, 10000));
  QCoreApplication::processEvents();
  clsDirPics* model = browser.Current();
  ASSERT_EQ(model->GetImagesCount(), 3);
  EXPECT_EQ(model->Item(1)->GetFileName(), "big.jpg");
  EXPECT_EQ(model->Item(1)->GetPictureWidth(), 1200);
  EXPECT_EQ(model->Item(1)->DecodedSize(), QSize(100, 75));
  EXPECT_TRUE(model->Item(2)->LoadFailed());
  EXPECT_EQ(model->Item(3)->DecodedSize(), QSize(30, 100));
  const QImage shown = browser.Pictures()->grab().toImage();
  EXPECT_TRUE(BrowseFixtures::Near(shown.pixelColor(60, 60), Qt::blue));
  EXPECT_TRUE(BrowseFixtures::Near(shown.pixelColor(300, 60), Qt::yellow));
}

}  // namespace
