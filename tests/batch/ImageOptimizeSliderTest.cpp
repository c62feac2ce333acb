#include <gtest/gtest.h>

#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTabWidget>

#include "WizardFixtures.h"
#include "core/StatisticsText.h"
#include "optimizer/ImageOptimize.h"
#include "optimizer/OptionSliders.h"

using namespace WizardFixtures;

namespace {

// Where the slider's handle is drawn now, asked of its style as QSlider itself does.
QPoint HandleCentre(const QSlider* s) {
  QStyleOptionSlider opt;
  opt.initFrom(s);
  opt.orientation = s->orientation();
  opt.minimum = s->minimum();
  opt.maximum = s->maximum();
  opt.tickPosition = s->tickPosition();
  opt.tickInterval = s->tickInterval();
  opt.upsideDown = s->orientation() == Qt::Horizontal
                       ? s->invertedAppearance() != (opt.direction == Qt::RightToLeft)
                       : !s->invertedAppearance();
  opt.sliderPosition = s->sliderPosition();
  opt.sliderValue = s->value();
  opt.singleStep = s->singleStep();
  opt.pageStep = s->pageStep();
  if (s->orientation() == Qt::Horizontal) opt.state |= QStyle::State_Horizontal;
  return s->style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderHandle, s).center();
}

void MoveHeld(QSlider* s, QPoint to) {
  QMouseEvent move(QEvent::MouseMove, to, s->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                   Qt::NoModifier);
  QApplication::sendEvent(s, &move);
}

class OptionsPanelSliders : public ::testing::Test {
 protected:
  void SetUp() override {
    Language().AddDefaultStrings();
    source = Picture(dir.path() + "/a.png", 240, 180);
    ASSERT_TRUE(panel.LoadPicture(source));
    panel.resize(460, 300);
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
  }
  QString Text(const char* label) { return Child<QLabel>(&panel, label)->text(); }
  QImage OptimizedShown() { return panel.OptimizedPreview()->GetImage()->Surface().copy(); }
  // The JPEG round trip of the source at a quality, worked out apart from the panel.
  QImage RoundTrip(int quality, int* size) {
    clsImage picture;
    EXPECT_TRUE(picture.CreateFromFile(source));
    return picture.GetOptimizedInstance(quality, nullptr, size)->Surface().copy();
  }
  // Checks that the statistics and the Optimized preview show the source at this quality.
  void ExpectRecomputedAt(int quality) {
    int size = -1;
    const QImage expected = RoundTrip(quality, &size);
    EXPECT_EQ(Text("txtOptimizedSize"), StatisticsText::SizeText(size));
    EXPECT_TRUE(OptimizedShown() == expected) << "the preview is not quality " << quality;
  }

  QTemporaryDir dir;
  QString source;
  RecordingDialogs dialogs;
  ImageOptimize panel;
};

TEST_F(OptionsPanelSliders, DraggingTheQualityHandleRecomputesTheNewestPositionAsTheLoopTurns) {
  auto* slider = Child<QSlider>(&panel, "sldQuality");
  const QImage before = OptimizedShown();
  const QPoint start = HandleCentre(slider);
  QTest::mousePress(slider, Qt::LeftButton, {}, start);
  int last = slider->sliderPosition();
  for (int dx : {-40, -90, -150}) {
    // Moves that come in while one round trip runs are passed over: the next one computes
    // only where the handle is now.
    MoveHeld(slider, start + QPoint(dx + 20, 0));
    MoveHeld(slider, start + QPoint(dx, 0));
    QApplication::processEvents();
    const int q = slider->sliderPosition();
    SCOPED_TRACE(q);
    ASSERT_LT(q, last);
    last = q;
    EXPECT_EQ(Text("lblQuality"), OptionSliders::QualityText(q));
    ExpectRecomputedAt(q);
    EXPECT_FALSE(OptimizedShown() == before);
  }
  QTest::mouseRelease(slider, Qt::LeftButton, {}, start + QPoint(-150, 0));
  EXPECT_EQ(slider->value(), last);  // what the run will use
  EXPECT_EQ(panel.Options().quality, last);
  ExpectRecomputedAt(last);
}

TEST_F(OptionsPanelSliders, AQualitySetByCodeShowsAtOnceAndAClickWhenTheButtonGoesUp) {
  auto* slider = Child<QSlider>(&panel, "sldQuality");
  // Set by code (Auto, a target size): the label and the figures follow at once.
  slider->setValue(30);
  EXPECT_EQ(Text("lblQuality"), "32%");
  ExpectRecomputedAt(30);
  const QString size = Text("txtOptimizedSize");
  // A click on the groove beside the handle moves it by a page at the press...
  const QPoint beside = HandleCentre(slider) + QPoint(60, 0);
  QTest::mousePress(slider, Qt::LeftButton, {}, beside);
  const int q = slider->value();
  ASSERT_GT(q, 30);
  EXPECT_EQ(Text("lblQuality"), OptionSliders::QualityText(q));
  EXPECT_EQ(Text("txtOptimizedSize"), size);
  // ...and the preview follows when the button goes up.
  QTest::mouseRelease(slider, Qt::LeftButton, {}, beside);
  ExpectRecomputedAt(q);
}

TEST_F(OptionsPanelSliders, DraggingTheSizeHandleStretchesThePreviewAndKeepsTheStatistics) {
  Child<QCheckBox>(&panel, "chkSize")->click();
  ASSERT_EQ(Child<QTabWidget>(&panel, "SSTab")->currentIndex(), 1);
  QApplication::processEvents();
  auto* slider = Child<QSlider>(&panel, "sldSize");
  ASSERT_TRUE(slider->isEnabled());
  const QStringList stats = {Text("txtOptimizedSize"), Text("txtOptimizedDimensions"),
                             Text("txtCompression")};
  ASSERT_EQ(stats[1], "240x180");
  const QPoint start = HandleCentre(slider);
  QTest::mousePress(slider, Qt::LeftButton, {}, start);
  MoveHeld(slider, start - QPoint(30, 0));
  const int scale = slider->sliderPosition();
  ASSERT_LT(scale, 100);
  const int w = Child<QLineEdit>(&panel, "txtSizeX")->text().toInt();
  const int h = Child<QLineEdit>(&panel, "txtSizeY")->text().toInt();
  EXPECT_EQ(Text("lblSize"), OptionSliders::ScaleText(scale));
  EXPECT_LT(w, 240);
  EXPECT_EQ(OptimizedShown().size(), QSize(w, h));
  EXPECT_EQ(QStringList(
                {Text("txtOptimizedSize"), Text("txtOptimizedDimensions"), Text("txtCompression")}),
            stats);
  // Letting go is the change: a real JPEG at the new size, with its figures.
  QTest::mouseRelease(slider, Qt::LeftButton, {}, start - QPoint(30, 0));
  EXPECT_EQ(slider->value(), scale);
  EXPECT_EQ(Text("txtOptimizedDimensions"), StatisticsText::DimensionsText(w, h));
  EXPECT_NE(Text("txtOptimizedSize"), stats[0]);
  EXPECT_EQ(OptimizedShown().size(), QSize(w, h));
}

TEST_F(OptionsPanelSliders, ASizeKeyMovesTheLabelTheBoxesAndThenThePreview) {
  Child<QCheckBox>(&panel, "chkSize")->click();
  auto* slider = Child<QSlider>(&panel, "sldSize");
  const QString size = Text("txtOptimizedSize");
  const QImage shown = OptimizedShown();
  slider->setFocus();
  QTest::keyClick(slider, Qt::Key_PageDown);  // a large change: 5 %
  ASSERT_EQ(slider->value(), 95);
  // The run will use 95 %, so the panel must not keep saying 100 %.
  EXPECT_EQ(panel.Options().scale, 95);
  EXPECT_EQ(Text("lblSize"), "95%");
  EXPECT_EQ(Child<QLineEdit>(&panel, "txtSizeX")->text(), "228");
  EXPECT_EQ(Child<QLineEdit>(&panel, "txtSizeY")->text(), "171");
  // The preview and its figures follow once the keys queued behind it are handled.
  ASSERT_TRUE(QTest::qWaitFor([&] { return OptimizedShown().size() == QSize(228, 171); }, 5000));
  EXPECT_EQ(Text("txtOptimizedDimensions"), "228x171");
  EXPECT_NE(Text("txtOptimizedSize"), size);
  EXPECT_FALSE(OptimizedShown() == shown);
}

}  // namespace
