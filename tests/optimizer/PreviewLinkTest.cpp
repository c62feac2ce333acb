// The two previews of the optimiser: they stay fitted through changes until the user zooms,
// follow each other's zoom and pan while linked, and a closed one comes back.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTest>
#include <functional>

#include "OptimizerWindow.h"
#include "browse/ImageView.h"
#include "browse/ViewGeometry.h"
#include "browse/frmPicturePreview.h"
#include "engine/clsImage.h"
#include "optimizer/ImageOptimize.h"
#include "optimizer/TextButton.h"
#include "optimizer/frmEffect.h"

namespace {

QSlider* ZoomOf(frmPicturePreview* p) { return p->View()->findChild<QSlider*>("ZoomSlider"); }
QScrollBar* HScrollOf(frmPicturePreview* p) { return p->View()->findChild<QScrollBar*>("HScroll"); }

// The zoom at which the preview's picture fits its view, as ZoomToFit computes it.
double FitZoom(frmPicturePreview* p) {
  const QSize view = p->View()->ViewSize();
  const auto value = ViewGeometry::FitSliderValue(view.width(), view.height(),
                                                  p->GetImage()->Width(), p->GetImage()->Height());
  return value ? ViewGeometry::ZoomPercent(*value) : -1;
}

struct Change {
  const char* name;
  std::function<void(OptimizerWindowTest&, frmImgOpt*)> act;
  int optimizedWidth;  // after the change
};

class PreviewFitTest : public OptimizerWindowTest, public ::testing::WithParamInterface<Change> {
 public:
  QSlider* ScaleSlider() const { return Scale(); }
};

TEST_P(PreviewFitTest, ChangeKeepsBothPreviewsFitted) {
  // Larger than the screen: at 100 % a preview would show a corner.
  OpenPicture(1600, 1200);
  GetParam().act(*this, window_);
  for (frmPicturePreview* p : {window_->OriginalPreview(), window_->OptimizedPreview()}) {
    SCOPED_TRACE(p->windowTitle().toStdString());
    EXPECT_TRUE(p->View()->IsFitted());
    EXPECT_LT(p->View()->GetZoomValue(), 100.0);
    EXPECT_DOUBLE_EQ(p->View()->GetZoomValue(), FitZoom(p));
  }
  EXPECT_EQ(window_->OptimizedPreview()->GetImage()->Width(), GetParam().optimizedWidth);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, PreviewFitTest,
    ::testing::Values(Change{"HalfScale",
                             [](OptimizerWindowTest& t, frmImgOpt*) {
                               static_cast<PreviewFitTest&>(t).ScaleSlider()->setValue(50);
                             },
                             800},
                      Change{"Undo",
                             [](OptimizerWindowTest& t, frmImgOpt* w) {
                               static_cast<PreviewFitTest&>(t).ScaleSlider()->setValue(50);
                               w->findChild<TextButton*>("cmdReset")->Click();
                             },
                             1600},
                      Change{"Effect",
                             [](OptimizerWindowTest&, frmImgOpt* w) {
                               for (QAction* entry : w->EffectsMenu()->actions())
                                 if (entry->text() == "Mirror Image") entry->trigger();
                             },
                             1600}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(OptimizerWindowTest, LinkedPreviewsFollowZoomAndPanUntilUnlinked) {
  OpenPicture(1600, 1200);
  frmPicturePreview* original = window_->OriginalPreview();
  frmPicturePreview* optimized = window_->OptimizedPreview();
  auto* link = Child<QCheckBox>("chkLinkPreviews");
  ASSERT_TRUE(link->isChecked());

  ZoomOf(original)->setValue(ViewGeometry::kZoomSliderAt100);  // the user zooms to 100 %
  EXPECT_FALSE(original->View()->IsFitted());
  EXPECT_FALSE(optimized->View()->IsFitted());
  EXPECT_EQ(ZoomOf(optimized)->value(), ViewGeometry::kZoomSliderAt100);
  ASSERT_GT(HScrollOf(original)->maximum(), 0);
  HScrollOf(original)->setValue(HScrollOf(original)->maximum());  // pans to the right edge
  EXPECT_EQ(HScrollOf(optimized)->value(), HScrollOf(optimized)->maximum());

  // Either way round.
  ZoomOf(optimized)->setValue(600);
  EXPECT_EQ(ZoomOf(original)->value(), 600);

  link->setChecked(false);
  ZoomOf(original)->setValue(400);
  EXPECT_EQ(ZoomOf(optimized)->value(), 600);
  // Linked again: the Optimized preview catches up.
  link->setChecked(true);
  EXPECT_EQ(ZoomOf(optimized)->value(), 400);
}

TEST_F(OptimizerWindowTest, LinkedPreviewsOfPicturesOfDifferentSizesShowTheSameRegion) {
  OpenPicture(1600, 1200);
  Scale()->setValue(50);  // the Optimized picture is 800x600
  frmPicturePreview* original = window_->OriginalPreview();
  frmPicturePreview* optimized = window_->OptimizedPreview();
  ASSERT_EQ(optimized->GetImage()->Width(), 800);
  ZoomOf(original)->setValue(ViewGeometry::kZoomSliderAt100);
  EXPECT_EQ(ZoomOf(optimized)->value(), 2 * ViewGeometry::kZoomSliderAt100);  // 200 %
  // The middle of what each shows, as a share of its picture's width.
  const auto middle = [](frmPicturePreview* p) {
    const QScrollBar* bar = HScrollOf(p);
    return (bar->value() + bar->pageStep() / 2.0) / p->GetImage()->Width();
  };
  for (double share : {0.3, 0.5, 0.7}) {
    QScrollBar* bar = HScrollOf(original);
    bar->setValue(int(share * bar->maximum()));
    EXPECT_NEAR(middle(optimized), middle(original), 0.01) << share;
  }
}

TEST_F(OptimizerWindowTest, ClosedPreviewLeavesTheWindowOpenAndComesBack) {
  OpenPicture(60, 40);
  Quality()->setValue(50);  // modified: closing the window would ask
  for (frmPicturePreview* p : {window_->OriginalPreview(), window_->OptimizedPreview()}) {
    EXPECT_FALSE(p->close());
    EXPECT_FALSE(p->isVisible());
  }
  EXPECT_TRUE(window_->isVisible());
  EXPECT_EQ(dialogs_.MessageCount(), 0);
  Child<TextButton>("cmdShowPreviews")->Click();
  for (frmPicturePreview* p : {window_->OriginalPreview(), window_->OptimizedPreview()}) {
    EXPECT_TRUE(p->isVisible());
    ASSERT_TRUE(p->GetImage());
  }
  EXPECT_EQ(window_->OriginalPreview()->GetImage(), window_->SourcePicture());
  EXPECT_EQ(window_->OptimizedPreview()->GetImage()->Width(), 60);
}

TEST_F(OptimizerWindowTest, TheWizardPanelsPreviewsStartFittedAndFollowEachOther) {
  ImageOptimize panel;
  panel.show();
  ASSERT_TRUE(panel.LoadPicture(
      OptimizerFixtures::Write(dir_, "big.png", OptimizerFixtures::Gradient(1600, 1200))));
  QList<frmPicturePreview*> previews;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* p = qobject_cast<frmPicturePreview*>(w); p && p->isVisible() && p->GetImage())
      previews << p;
  ASSERT_EQ(previews.size(), 2);
  for (frmPicturePreview* p : previews) {
    EXPECT_TRUE(p->View()->IsFitted());
    EXPECT_DOUBLE_EQ(p->View()->GetZoomValue(), FitZoom(p));
  }
  ZoomOf(previews[0])->setValue(650);
  EXPECT_EQ(ZoomOf(previews[1])->value(), 650);
  panel.UnloadForms();
}

struct Beside {
  const char* name;
  QRect anchor;
  QSize own;
  QPoint expected;
};
class EffectBesideTest : public ::testing::TestWithParam<Beside> {};

TEST_P(EffectBesideTest, DialogGoesBesideNeverOver) {
  const QRect screen(0, 0, 1920, 1080);
  EXPECT_EQ(frmEffect::BesidePosition(GetParam().anchor, GetParam().own, screen),
            GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Places, EffectBesideTest,
    ::testing::Values(Beside{"Right", {100, 200, 400, 500}, {600, 400}, {508, 200}},
                      Beside{"LeftWhenNoRoomRight", {1300, 200, 400, 500}, {600, 400}, {692, 200}},
                      Beside{"KeptOnScreenBelow", {100, 900, 400, 150}, {600, 400}, {508, 680}},
                      Beside{"NoRoomEitherSide", {600, 0, 800, 500}, {700, 400}, {0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
