#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>

#include "TestPictures.h"
#include "browse/ImageView.h"

using TestPictures::At;
using TestPictures::Filled;

namespace {

const QColor kBlack(0, 0, 0);
const QColor kWhite(255, 255, 255);
const QColor kRed(255, 0, 0);

// A shown view whose picture area is 400 x 300.
class ImageViewTest : public testing::Test {
 protected:
  void SetUp() override {
    view.show();
    view.resize(400 + view.GetDeltaWidth(), 300 + view.GetDeltaHeight());
    slider = view.findChild<QSlider*>(QStringLiteral("ZoomSlider"));
    hScroll = view.findChild<QScrollBar*>(QStringLiteral("HScroll"));
    vScroll = view.findChild<QScrollBar*>(QStringLiteral("VScroll"));
    readOut = view.findChild<QLabel*>(QStringLiteral("RightBottom"));
    ASSERT_TRUE(slider && hScroll && vScroll && readOut);
    ASSERT_EQ(view.ViewSize(), QSize(400, 300));
  }
  void Show(std::shared_ptr<clsImage> img) {
    view.SetImage(std::move(img));
    view.Refresh();
  }
  std::shared_ptr<clsImage> Shown() const { return view.GetViewAreaAsImage(); }
  void Drag(QPoint from, const std::vector<QPoint>& path) {
    QTest::mousePress(&view, Qt::LeftButton, {}, from);
    for (const QPoint& p : path) QTest::mouseMove(&view, p);
    QTest::mouseRelease(&view, Qt::LeftButton, {}, path.empty() ? from : path.back());
  }

  ImageView view;
  QSlider* slider = nullptr;
  QScrollBar* hScroll = nullptr;
  QScrollBar* vScroll = nullptr;
  QLabel* readOut = nullptr;
};

TEST_F(ImageViewTest, FitOfAWidePicture) {
  view.SetImage(Filled(2000, 1000, kWhite));
  view.ZoomToFit();
  EXPECT_DOUBLE_EQ(view.GetZoomValue(), 20.0);
  EXPECT_EQ(slider->value(), 100);
  EXPECT_EQ(readOut->text(), QStringLiteral("20 %"));
  EXPECT_FALSE(hScroll->isEnabled());
  EXPECT_FALSE(vScroll->isEnabled());
  // Drawn 400 x 200 at y = 50 on the fresh black buffer.
  const auto shown = Shown();
  ASSERT_EQ(QSize(shown->Width(), shown->Height()), QSize(400, 300));
  EXPECT_EQ(At(shown, 0, 49), kBlack);
  EXPECT_EQ(At(shown, 0, 50), kWhite);
  EXPECT_EQ(At(shown, 399, 249), kWhite);
  EXPECT_EQ(At(shown, 399, 250), kBlack);
}

TEST_F(ImageViewTest, ScrollRangesAt100Percent) {
  view.SetImage(Filled(2000, 1000, kWhite));
  view.ZoomToFit();
  slider->setValue(500);  // the user zooms back to 100 %: the view is no longer fitted
  EXPECT_FALSE(view.IsFitted());
  EXPECT_EQ(slider->value(), 500);
  EXPECT_EQ(readOut->text(), QStringLiteral("100 %"));
  EXPECT_TRUE(hScroll->isEnabled());
  EXPECT_EQ(hScroll->maximum(), 1600);
  EXPECT_EQ(hScroll->pageStep(), 400);
  EXPECT_TRUE(vScroll->isEnabled());
  EXPECT_EQ(vScroll->maximum(), 700);
  EXPECT_EQ(vScroll->pageStep(), 300);
}

TEST_F(ImageViewTest, SmallPictureIsCentredAndFitStopsAt200Percent) {
  Show(Filled(100, 100, kRed));
  auto shown = Shown();
  EXPECT_EQ(At(shown, 149, 100), kBlack);
  EXPECT_EQ(At(shown, 150, 100), kRed);
  EXPECT_EQ(At(shown, 249, 199), kRed);
  EXPECT_EQ(At(shown, 250, 199), kBlack);
  EXPECT_EQ(At(shown, 200, 99), kBlack);
  // Fit asks for 300 %; the slider's end is 200 %: 200 x 200 at (100, 50).
  view.ZoomToFit();
  EXPECT_EQ(slider->value(), 1000);
  EXPECT_DOUBLE_EQ(view.GetZoomValue(), 200.0);
  shown = Shown();
  EXPECT_EQ(At(shown, 99, 50), kBlack);
  EXPECT_EQ(At(shown, 100, 50), kRed);
  EXPECT_EQ(At(shown, 299, 249), kRed);
  EXPECT_EQ(At(shown, 300, 249), kBlack);
  EXPECT_EQ(At(shown, 200, 49), kBlack);
}

TEST_F(ImageViewTest, ReadOutFollowsTheSlider) {
  Show(Filled(50, 50, kRed));
  slider->setValue(1);
  EXPECT_EQ(readOut->text(), QStringLiteral("0.2 %"));
  EXPECT_DOUBLE_EQ(view.GetZoomValue(), 0.2);
}

TEST_F(ImageViewTest, ShowsTheScrolledPartOfThePicture) {
  // Left half red, right half white: scrolled to the end only white shows.
  auto img = Filled(2000, 1000, kRed);
  {
    QImage surface = img->Surface();
    for (int y = 0; y < 1000; ++y)
      for (int x = 1000; x < 2000; ++x) surface.setPixelColor(x, y, kWhite);
  }
  Show(img);
  EXPECT_EQ(At(Shown(), 399, 0), kRed);
  hScroll->setValue(hScroll->maximum());
  EXPECT_EQ(At(Shown(), 0, 0), kWhite);
  hScroll->setValue(800);  // columns 800 .. 1199: the border at view x = 200
  EXPECT_EQ(At(Shown(), 199, 0), kRed);
  EXPECT_EQ(At(Shown(), 200, 0), kWhite);
}

TEST_F(ImageViewTest, PanningAt50PercentMovesTwiceTheMouse) {
  Show(Filled(2000, 1000, kWhite));
  slider->setValue(250);
  Drag({200, 150}, {{190, 150}});
  EXPECT_EQ(hScroll->value(), 20);
  Drag({200, 150}, {{205, 140}});
  EXPECT_EQ(hScroll->value(), 10);
  EXPECT_EQ(vScroll->value(), 20);
}

TEST_F(ImageViewTest, PanningAt200PercentKeepsThePendingPixel) {
  Show(Filled(2000, 1000, kWhite));
  slider->setValue(1000);
  QTest::mousePress(&view, Qt::LeftButton, {}, {200, 150});
  QTest::mouseMove(&view, {199, 150});
  EXPECT_EQ(hScroll->value(), 0);  // half an image pixel: pending
  QTest::mouseMove(&view, {198, 150});
  EXPECT_EQ(hScroll->value(), 1);
  for (int x = 197; x >= 188; --x) QTest::mouseMove(&view, {x, 150});
  EXPECT_EQ(hScroll->value(), 6);
  QTest::mouseRelease(&view, Qt::LeftButton, {}, {188, 150});
  QTest::mouseMove(&view, {100, 150});  // no button held: no panning
  EXPECT_EQ(hScroll->value(), 6);
}

TEST_F(ImageViewTest, PanningStopsAtTheEndsAndSkipsADisabledBar) {
  Show(Filled(2000, 300, kWhite));  // as tall as the view: no vertical range
  Drag({200, 150}, {{-3000, 0}});
  EXPECT_EQ(hScroll->value(), 1600);
  EXPECT_EQ(vScroll->value(), 0);
  Drag({0, 150}, {{3000, 150}});
  EXPECT_EQ(hScroll->value(), 0);
}

TEST_F(ImageViewTest, PaintEventFollowsEveryRepaintOnceAllowed) {
  QSignalSpy painted(&view, &ImageView::Paint);
  view.Refresh();  // nothing set yet: painting not allowed
  EXPECT_EQ(painted.count(), 0);
  view.SetImage(Filled(2000, 1000, kWhite));
  EXPECT_EQ(painted.count(), 0);  // SetImage itself never repaints
  view.Refresh();
  EXPECT_EQ(painted.count(), 1);
  hScroll->setValue(100);
  EXPECT_EQ(painted.count(), 2);
  view.ZoomToFit();
  EXPECT_EQ(painted.count(), 3);  // scroll reset, zoom and ranges: one repaint
}

TEST_F(ImageViewTest, NewSmallerPictureAfterScrollingStillShows) {
  Show(Filled(2000, 1000, kWhite));
  slider->setValue(250);
  slider->setValue(500);
  hScroll->setValue(1600);
  vScroll->setValue(700);
  ASSERT_EQ(hScroll->value(), 1600);
  // Same zoom, so the slider does not move; the old ranges must not carry over.
  Show(Filled(100, 100, kRed));
  EXPECT_EQ(hScroll->value(), 0);
  EXPECT_FALSE(hScroll->isEnabled());
  EXPECT_EQ(At(Shown(), 150, 100), kRed);
}

TEST_F(ImageViewTest, EmptyOrNoPictureIsHarmless) {
  Show(nullptr);
  view.ZoomToFit();
  EXPECT_EQ(slider->value(), 500);
  Show(std::make_shared<clsImage>());
  view.ZoomToFit();
  Drag({10, 10}, {{0, 0}});
  EXPECT_EQ(At(Shown(), 10, 10), kBlack);
  view.resize(0, 0);
  EXPECT_EQ(view.GetViewAreaAsImage()->hDC(), 0);
}

TEST_F(ImageViewTest, ScrollBarsPassTheFocusToTheSlider) {
  Show(Filled(2000, 1000, kWhite));
  view.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
  for (QScrollBar* bar : {vScroll, hScroll}) {
    slider->clearFocus();
    ASSERT_FALSE(slider->hasFocus());
    bar->setFocus();
    EXPECT_TRUE(slider->hasFocus()) << bar->objectName().toStdString();
  }
}

}  // namespace
