// The quality and size a window was left with come back in the next window of its kind, as
// after a restart: written to the settings store on close, read by a new window; the
// effects the optimiser applied do not come back.
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QSlider>

#include "WizardFixtures.h"
#include "core/QualityRange.h"
#include "optimizer/OptionSliders.h"
#include "optimizer/TextButton.h"
#include "optimizer/frmImgOpt.h"

using namespace WizardFixtures;

namespace {

struct Window {
  const char* name;
  // Makes the window, shown; close: leaves it the way the user does.
  std::function<QWidget*(const QString& picture)> open;
  std::function<void(QWidget*)> close;
};

class RememberedOptions : public RunFolderTest, public ::testing::WithParamInterface<Window> {
 protected:
  void SetUp() override {
    RunFolderTest::SetUp();
    Registry().OpenReg(frmImgOpt::kOptionsKey);
    Registry().SetValue("Quality", "");
    Registry().SetValue("Scale", "");
  }
};

QSlider* SliderOf(QWidget* w, const char* name) { return w->findChild<QSlider*>(name); }

TEST_P(RememberedOptions, QualityAndSizeSurviveARestart) {
  const QString picture = Picture(root + "/p.png", 80, 60);
  struct Row {
    int quality, scale;
  };
  for (const Row row : {Row{45, 50}, Row{90, 150}, Row{QualityRange::kDefault, 100}}) {
    SCOPED_TRACE(row.quality);
    QWidget* first = GetParam().open(picture);
    SliderOf(first, "sldQuality")->setValue(row.quality);
    SliderOf(first, "sldSize")->setValue(row.scale);
    dialogs.answers = {Dialogs::No};  // the optimiser's save question
    GetParam().close(first);
    delete first;

    QWidget* next = GetParam().open(QString());
    EXPECT_EQ(SliderOf(next, "sldQuality")->value(), row.quality);
    EXPECT_EQ(SliderOf(next, "sldSize")->value(), row.scale);
    EXPECT_EQ(next->findChild<QLabel*>("lblSize")->text(), OptionSliders::ScaleText(row.scale));
    if (auto* optimiser = qobject_cast<frmImgOpt*>(next)) {
      // The remembered size is the one the next picture gets.
      optimiser->LoadPicture(picture, true);
      EXPECT_EQ(optimiser->OptimizedPicture()->Width(), 80 * row.scale / 100);
    }
    delete next;
    QApplication::processEvents();
  }
}

INSTANTIATE_TEST_SUITE_P(Windows, RememberedOptions,
                         ::testing::Values(Window{"Optimiser",
                                                  [](const QString& picture) -> QWidget* {
                                                    auto* w = new frmImgOpt;
                                                    w->setAttribute(Qt::WA_DeleteOnClose, false);
                                                    w->show();
                                                    if (!picture.isEmpty())
                                                      w->LoadPicture(picture, true);
                                                    return w;
                                                  },
                                                  [](QWidget* w) { EXPECT_TRUE(w->close()); }},
                                           Window{"Wizard",
                                                  [](const QString& picture) -> QWidget* {
                                                    auto* w = new frmBatch;
                                                    w->show();
                                                    if (!picture.isEmpty()) {
                                                      w->AddFile(picture);
                                                      w->StartOnOptionsPage();
                                                      w->FillCombo();
                                                    }
                                                    return w;
                                                  },
                                                  [](QWidget* w) {
                                                    static_cast<frmBatch*>(w)->cmdClose_Click();
                                                  }}),
                         [](const auto& info) { return std::string(info.param.name); });

class RememberedEffects : public RunFolderTest {};

// The optimiser never changes a picture by something that is not on screen: effects stay
// with the picture they were chosen for, and a target size is not carried to the next one.
TEST_F(RememberedEffects, EachPictureStartsWithoutEffectsOrATargetSize) {
  Registry().OpenReg(frmImgOpt::kOptionsKey);
  Registry().SetValue("Effects", "Negative Image|Mirror Image");  // an older version's
  const QString picture = Picture(root + "/p.png", 80, 60);
  const auto open = [&picture] {
    auto* w = new frmImgOpt;
    w->setAttribute(Qt::WA_DeleteOnClose, false);
    w->show();
    w->LoadPicture(picture, false);
    return std::unique_ptr<frmImgOpt>(w);
  };
  const auto choose = [](frmImgOpt& w, const QString& name) {
    for (QAction* a : w.EffectsMenu()->actions())
      if (a->text() == name) a->trigger();
  };
  auto first = open();
  const QImage plain = first->SourcePicture()->Surface().copy();
  SliderOf(first.get(), "sldQuality")->setValue(55);
  first->findChild<QLineEdit*>("txtMaxSize")->setText("1k");
  choose(*first, "Negative Image");
  choose(*first, "Mirror Image");
  ASSERT_NE(first->SourcePicture()->Surface(), plain);
  // The next picture in the same window starts plain.
  dialogs.answers = {Dialogs::No};
  first->LoadPicture(picture, false);
  EXPECT_EQ(first->SourcePicture()->Surface(), plain);
  choose(*first, "Negative Image");
  const int quality = SliderOf(first.get(), "sldQuality")->value();  // as the target left it
  dialogs.answers = {Dialogs::No};
  EXPECT_TRUE(first->close());

  // As after a restart: the quality comes back, the effects and the target do not.
  auto next = open();
  EXPECT_EQ(next->SourcePicture()->Surface(), plain);
  EXPECT_TRUE(next->findChild<QLineEdit*>("txtMaxSize")->text().isEmpty());
  EXPECT_EQ(SliderOf(next.get(), "sldQuality")->value(), quality);
  dialogs.answers = {Dialogs::No};
  next->close();
}

}  // namespace
