#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include "OptimizerFixtures.h"
#include "browse/frmPicturePreview.h"
#include "optimizer/EffectPicture.h"
#include "optimizer/frmEffect.h"

namespace {

std::shared_ptr<clsImage> Picture(int width, int height) {
  const QImage gradient = OptimizerFixtures::Gradient(width, height);
  auto image = std::make_shared<clsImage>();
  image->Create(width, height, 24);
  QImage surface = image->Surface();
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) surface.setPixelColor(x, y, gradient.pixelColor(x, y));
  return image;
}

QImage Pixels(const std::shared_ptr<clsImage>& image) { return image->Surface().copy(); }

class frmEffectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    source_ = Picture(120, 90);
    original_.SetImage(source_);
    optimizedPicture_ = source_->GetNewInstance();
    optimized_.SetImage(optimizedPicture_);
    dialog_.Init(source_, &original_, &optimized_);
    dialog_.show();
  }
  template <typename T>
  T* Child(const char* name) {
    T* child = dialog_.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
  }
  void Pick(const QString& name) {
    QComboBox* list = Child<QComboBox>("cboEffect");
    list->setCurrentIndex(list->findText(name));
    emit list->activated(list->currentIndex());  // as a click on the entry
  }

  std::shared_ptr<clsImage> source_;
  std::shared_ptr<clsImage> optimizedPicture_;
  frmPicturePreview original_;
  frmPicturePreview optimized_;
  frmEffect dialog_;
};

TEST_F(frmEffectTest, ListsTheFourteenEffectsAlphabetically) {
  QComboBox* list = Child<QComboBox>("cboEffect");
  QStringList names;
  for (int i = 0; i < list->count(); ++i) names << list->itemText(i);
  EXPECT_EQ(names, QStringList({"Blur", "Brightness", "Detect Outline", "Dilate", "Flip Image",
                                "Intermediate Brightness", "Kodalith", "Limit Brightness Level",
                                "Mirror Image", "Negative Image", "Remove Noise", "Rotate",
                                "Sharpen", "Sharpen More"}));
  EXPECT_EQ(list->currentIndex(), -1);
  EXPECT_FALSE(Child<QPushButton>("cmdOK")->isEnabled());
  EXPECT_EQ(dialog_.windowTitle(), "Add Effect");
  EXPECT_TRUE(dialog_.windowFlags() & Qt::WindowStaysOnTopHint);
}

struct LevelCase {
  const char* name;
  int minimum, maximum, start;
};
class LevelTest : public frmEffectTest, public ::testing::WithParamInterface<LevelCase> {};

TEST_P(LevelTest, ChoosingALevelEffectSetsTheSlider) {
  Pick(GetParam().name);
  QSlider* slider = Child<QSlider>("Slider");
  EXPECT_EQ(slider->minimum(), GetParam().minimum);
  EXPECT_EQ(slider->maximum(), GetParam().maximum);
  EXPECT_EQ(slider->value(), GetParam().start);
  EXPECT_TRUE(slider->isEnabled());
  EXPECT_TRUE(Child<QLabel>("SliderText")->isVisible());
  EXPECT_TRUE(Child<QPushButton>("cmdOK")->isEnabled());
  EXPECT_TRUE(Child<QPushButton>("cmdApply")->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Cases, LevelTest,
                         ::testing::Values(LevelCase{"Remove Noise", 3, 11, 3},
                                           LevelCase{"Rotate", -180, 180, 0},
                                           LevelCase{"Kodalith", 0, 255, 128},
                                           LevelCase{"Limit Brightness Level", 0, 255, 255},
                                           LevelCase{"Brightness", -255, 255, 0}));

TEST_F(frmEffectTest, DirectEffectDisablesTheSliderAndPreviewsAtOnce) {
  Pick("Rotate");
  Pick("Negative Image");
  EXPECT_FALSE(Child<QSlider>("Slider")->isEnabled());
  EXPECT_FALSE(Child<QLabel>("SliderText")->isVisible());
  // The preview is the visible part of the picture, inverted.
  const auto shown = Child<EffectPicture>("EffectImageView")->Picture();
  ASSERT_TRUE(shown);
  const QColor corner = shown->Surface().pixelColor(0, 0);  // the black mark, now white
  EXPECT_GT(corner.lightness(), 200);
  EXPECT_EQ(Pixels(source_), Pixels(Picture(120, 90)));  // the picture itself is untouched
  // The proof stands level with the original: the same picture area, at the same height.
  auto* proof = Child<EffectPicture>("EffectImageView");
  auto* view = Child<QWidget>("OriginalImageView");
  EXPECT_EQ(proof->contentsRect().size(), shown->Surface().size());
  EXPECT_EQ(proof->mapToGlobal(proof->contentsRect().topLeft()).y(), view->mapToGlobal(QPoint()).y());
}

TEST_F(frmEffectTest, SettingTheTextActsLikeAPick) {
  dialog_.SetEffectText("Remove Noise");
  EXPECT_EQ(dialog_.EffectText(), "Remove Noise");
  EXPECT_EQ(Child<QSlider>("Slider")->value(), 3);
  EXPECT_EQ(dialog_.focusWidget(), Child<QSlider>("Slider"));  // the level, ready for the keys
  EXPECT_TRUE(Child<QPushButton>("cmdOK")->isEnabled());
}

TEST_F(frmEffectTest, CancelAfterAutoProofRestoresTheOptimizedPreview) {
  Child<QCheckBox>("chkAutoProof")->click();
  Pick("Negative Image");
  const auto proof = optimized_.GetImage();
  EXPECT_NE(Pixels(proof), Pixels(source_));  // the whole picture, with the effect
  EXPECT_EQ(proof->Width(), 120);
  Child<QPushButton>("cmdCancel")->click();
  EXPECT_FALSE(dialog_.isVisible());
  EXPECT_EQ(Pixels(optimized_.GetImage()), Pixels(source_));
  EXPECT_FALSE(dialog_.OkPressed());
}

TEST_F(frmEffectTest, ApplyChangesThePictureAndClearsTheChoice) {
  const QImage before = Pixels(source_);
  Pick("Mirror Image");
  Child<QPushButton>("cmdApply")->click();
  EXPECT_EQ(Pixels(source_), before.mirrored(true, false));
  EXPECT_EQ(Child<QComboBox>("cboEffect")->currentIndex(), -1);
  EXPECT_FALSE(Child<QPushButton>("cmdApply")->isEnabled());
  // With no effect chosen nothing more happens, and Cancel keeps what Apply did.
  dialog_.ApplyEffect(source_);
  EXPECT_EQ(Pixels(source_), before.mirrored(true, false));
  Child<QPushButton>("cmdCancel")->click();
  EXPECT_EQ(Pixels(source_), before.mirrored(true, false));
}

TEST_F(frmEffectTest, OkWritesTheEditedPictureIntoTheOriginalPreviewsPicture) {
  // The optimiser edits a half-size working picture; the Original preview shows its source.
  auto working = Picture(60, 45);
  frmEffect dialog;
  dialog.Init(working, &original_, &optimized_);
  dialog.show();
  dialog.SetEffectText("Rotate");
  dialog.findChild<QSlider*>("Slider")->setValue(90);
  dialog.findChild<QPushButton*>("cmdOK")->click();
  EXPECT_TRUE(dialog.OkPressed());
  EXPECT_EQ(working->Width(), 45);  // rotated by 90 with enlarge
  EXPECT_EQ(original_.GetImage(), source_);
  EXPECT_EQ(source_->Width(), 45);
  EXPECT_EQ(source_->Height(), 60);
  EXPECT_EQ(Pixels(source_), Pixels(working));
}

TEST_F(frmEffectTest, WithoutUnloadPermissionClosingOnlyHidesAndKeepsTheProof) {
  dialog_.SetUnloadAllowed(false);
  Child<QCheckBox>("chkAutoProof")->click();
  Pick("Negative Image");
  const QImage proof = Pixels(optimized_.GetImage());
  dialog_.close();
  EXPECT_FALSE(dialog_.isVisible());
  EXPECT_EQ(Pixels(optimized_.GetImage()), proof);
  EXPECT_EQ(dialog_.EffectText(), "Negative Image");
  // Allowed again, the close box undoes the proof as Cancel does.
  dialog_.show();
  dialog_.SetUnloadAllowed(true);
  dialog_.close();
  EXPECT_EQ(Pixels(optimized_.GetImage()), Pixels(source_));
}

}  // namespace
