#include <gtest/gtest.h>

#include <QListWidget>
#include <QSlider>

#include "WizardFixtures.h"
#include "optimizer/ImageOptimize.h"
#include "optimizer/frmEffect.h"

using namespace WizardFixtures;

namespace {

class OptionsPanel : public ::testing::Test {
 protected:
  void SetUp() override {
    Language().AddDefaultStrings();
    root = dir.path();
  }
  // Adds an effect through the real dialog: picks it and presses OK.
  void AddEffect(const QString& name) {
    QTimer::singleShot(0, [name] {
      auto* dialog = qobject_cast<frmEffect*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      // The dialog forgets an OK pressed before it was first activated.
      EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
      EXPECT_FALSE(Child<QPushButton>(dialog, "cmdApply")->isVisible());
      dialog->SetEffectText(name);
      Child<QPushButton>(dialog, "cmdOK")->click();
    });
    Child<QPushButton>(&panel, "cmdAdd")->click();
  }
  QTemporaryDir dir;
  QString root;
  RecordingDialogs dialogs;
  ImageOptimize panel;
};

std::shared_ptr<clsImage> Blank(int w, int h) {
  auto p = std::make_shared<clsImage>();
  p->Create(w, h, 24);
  return p;
}

TEST_F(OptionsPanel, ManualSizingWorksOutTheMissingSideForEachPicture) {
  panel.show();
  Child<QCheckBox>(&panel, "chkSize")->click();
  Child<QCheckBox>(&panel, "chkManualSize")->click();
  Child<QLineEdit>(&panel, "txtSizeX")->setText("800");
  Child<QLineEdit>(&panel, "txtSizeY")->setText("");
  struct Case {
    int w, h, expectedW, expectedH;
  };
  for (const Case& c : {Case{1600, 1200, 800, 600}, Case{1200, 1600, 800, 1066}}) {
    const auto sized = panel.GetSizedImage(Blank(c.w, c.h), false);
    ASSERT_TRUE(sized);
    EXPECT_EQ(QSize(sized->Width(), sized->Height()), QSize(c.expectedW, c.expectedH));
  }
  Child<QLineEdit>(&panel, "txtSizeX")->setText("");
  EXPECT_FALSE(panel.GetSizedImage(Blank(100, 100), false));
}

TEST_F(OptionsPanel, WithoutTheSizeBoxPicturesKeepTheirSizeWhateverTheScaleSays) {
  const QString source = Picture(root + "/a.png", 120, 80);
  ASSERT_TRUE(panel.LoadPicture(source));
  Child<QSlider>(&panel, "sldSize")->setValue(50);
  EXPECT_FALSE(Child<QSlider>(&panel, "sldSize")->isEnabled());
  ASSERT_TRUE(panel.SaveImage(source, root + "/out.jpg"));
  clsImage written;
  ASSERT_TRUE(written.CreateFromFile(root + "/out.jpg"));
  EXPECT_EQ(QSize(written.Width(), written.Height()), QSize(120, 80));
  EXPECT_FALSE(panel.SaveImage(root + "/missing.png", root + "/none.jpg"));
  EXPECT_FALSE(QFile::exists(root + "/none.jpg"));
}

TEST_F(OptionsPanel, RemovingTheMiddleOfThreeEffectsKeepsTheOthersInOrder) {
  ASSERT_TRUE(panel.LoadPicture(Picture(root + "/a.png")));
  for (const char* name : {"Negative Image", "Flip Image", "Mirror Image"}) AddEffect(name);
  auto* list = Child<QListWidget>(&panel, "lstEffects");
  ASSERT_EQ(list->count(), 3);
  list->setCurrentRow(1);
  Child<QPushButton>(&panel, "cmdRemove")->click();
  ASSERT_EQ(list->count(), 2);
  EXPECT_EQ(list->item(0)->text(), "Negative Image");
  EXPECT_EQ(list->item(1)->text(), "Mirror Image");
  const BatchOptions options = panel.Options();
  ASSERT_EQ(options.effects.size(), 2u);
  EXPECT_EQ(options.effects[0].entry->name, "Negative Image");
  EXPECT_EQ(options.effects[1].entry->name, "Mirror Image");
}

TEST_F(OptionsPanel, AQualityKeyChangesTheLabelOnlyAndTheDragRecomputes) {
  ASSERT_TRUE(panel.LoadPicture(Picture(root + "/a.png", 200, 150)));
  panel.show();
  auto* slider = Child<QSlider>(&panel, "sldQuality");
  const QString size = Child<QLabel>(&panel, "txtOptimizedSize")->text();
  slider->setFocus();
  for (int i = 0; i < 20; ++i) QTest::keyClick(slider, Qt::Key_Right);
  EXPECT_EQ(Child<QLabel>(&panel, "lblQuality")->text(), "92%");
  EXPECT_EQ(Child<QLabel>(&panel, "txtOptimizedSize")->text(), size);
  for (int i = 0; i < 2; ++i) Child<QCheckBox>(&panel, "chkSize")->click();  // a refresh
  EXPECT_NE(Child<QLabel>(&panel, "txtOptimizedSize")->text(), size);
}

TEST_F(OptionsPanel, ASizeBoxThatIsNoNumberIsRefusedWhenLeft) {
  panel.show();
  Child<QCheckBox>(&panel, "chkSize")->click();
  Child<QCheckBox>(&panel, "chkManualSize")->click();
  struct Case {
    const char* box;
    const char* text;
    const char* message;  // "" for none
  };
  for (const Case& c :
       {Case{"txtSizeX", "abc", "Invalid width !"}, Case{"txtSizeY", "0", "Invalid height !"},
        Case{"txtSizeX", "", ""}, Case{"txtSizeY", "640", ""}}) {
    SCOPED_TRACE(c.text);
    dialogs.calls.clear();
    auto* box = Child<QLineEdit>(&panel, c.box);
    box->setText(c.text);
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(box, &out);
    if (*c.message) {
      ASSERT_EQ(dialogs.MessageCount(), 1);
      EXPECT_EQ(dialogs.calls.last().text, c.message);
      EXPECT_EQ(dialogs.calls.last().style, Dialogs::Exclamation);
    } else {
      EXPECT_EQ(dialogs.MessageCount(), 0);
    }
  }
}

TEST_F(OptionsPanel, PreviewsComeWithTheFirstPictureAndAFailedLoadForgetsTheName) {
  EXPECT_FALSE(panel.IsPictureLoaded());
  panel.ShowForms();  // nothing to show yet
  EXPECT_EQ(panel.OriginalPreview(), nullptr);
  const QString a = Picture(root + "/a.png", 90, 60);
  ASSERT_TRUE(panel.LoadPicture(a));
  ASSERT_NE(panel.OriginalPreview(), nullptr);
  EXPECT_EQ(panel.OriginalPreview()->windowTitle(), "Original");
  EXPECT_EQ(panel.OptimizedPreview()->windowTitle(), "Optimized");
  EXPECT_EQ(Child<QLabel>(&panel, "txtOriginalDimensions")->text(), "90x60");
  panel.HideForms();
  EXPECT_FALSE(panel.OriginalPreview()->isVisible());
  Text(root + "/bad.png");
  EXPECT_FALSE(panel.LoadPicture(root + "/bad.png"));
  EXPECT_FALSE(panel.IsPictureLoaded());
  EXPECT_NE(panel.OriginalPreview(), nullptr);
  EXPECT_EQ(dialogs.MessageCount(), 0);
}

}  // namespace
