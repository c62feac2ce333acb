#include <gtest/gtest.h>

#include <QUrl>

#include "WizardFixtures.h"
#include "controls/CommandButton.h"
#include "core/AppInfo.h"
#include "optimizer/ImageOptimize.h"
#include "optimizer/frmImgOpt.h"

using namespace WizardFixtures;

namespace {

class BatchPages : public ::testing::Test {
 protected:
  void SetUp() override {
    Language().AddDefaultStrings();
    root = dir.path();
    Registry().OpenReg("Batch");
    Registry().SetValue("OutputDir", "");
    Registry().SetValue("OutputMode", "");
  }
  // A wizard on the output page with two pictures.
  void ToOutputPage(frmBatch& batch) {
    batch.AddFile(Picture(root + "/a.png"));
    batch.AddFile(Picture(root + "/b.png"));
    batch.StartOnOptionsPage();
    ASSERT_TRUE(batch.FillCombo());
    Child<QPushButton>(&batch, "cmdNext")->click();
    ASSERT_EQ(batch.Page(), 2);
  }
  QTemporaryDir dir;
  QString root;
  RecordingDialogs dialogs;
};

TEST_F(BatchPages, EachPageShowsItsControlsAndTheRightDefaultButton) {
  frmBatch batch;
  batch.show();
  struct Row {
    int page;
    const char* visible;
    const char* byDefault;
  };
  for (const Row& row : {Row{0, "Step1", "cmdNext"}, Row{1, "Step2", "cmdNext"},
                         Row{2, "Step3", "cmdFinish"}, Row{100, "StepFinish", "cmdClose"}}) {
    SCOPED_TRACE(row.page);
    batch.SetPage(row.page);
    batch.SetVisible();
    for (const char* step : {"Step1", "Step2", "Step3", "StepFinish"})
      EXPECT_EQ(Child<QWidget>(&batch, step)->isVisible(), QString(step) == row.visible) << step;
    for (const char* button : {"cmdNext", "cmdFinish", "cmdClose"})
      EXPECT_EQ(Child<QPushButton>(&batch, button)->isDefault(), QString(button) == row.byDefault);
    EXPECT_EQ(Child<QPushButton>(&batch, "cmdBack")->isEnabled(), row.page >= 1);
  }
  EXPECT_EQ(batch.windowTitle(), "Batch Processor");
}

TEST_F(BatchPages, TheBuiltListSurvivesNextCancelOfTheFileDialogAndBack) {
  frmBatch batch;
  batch.show();
  const QString a = Picture(root + "/a.png"), b = Picture(root + "/b.png");
  struct Step {
    const char* what;
    const char* button;  // clicked
    QString fileAnswer;  // the file dialog's answer, empty: Cancel
    int page;
    int files;
    int fileDialogs;  // file dialogs opened so far
  };
  const Step steps[] = {
      {"Next on an empty list asks; Cancel stays", "cmdNext", "", 0, 0, 1},
      {"Add Files with two pictures", "cmdAddFiles", a + "\n" + b, 0, 2, 2},
      {"Cancel of Add Files keeps the list", "cmdAddFiles", "", 0, 2, 3},
      {"Next keeps the list and asks nothing", "cmdNext", "", 1, 2, 3},
      {"Back keeps the list", "cmdBack", "", 0, 2, 3},
      {"Next again keeps it", "cmdNext", "", 1, 2, 3},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    dialogs.fileAnswers = {step.fileAnswer};
    Child<QPushButton>(&batch, step.button)->click();
    EXPECT_EQ(batch.Page(), step.page);
    EXPECT_EQ(batch.FileCount(), step.files);
    EXPECT_TRUE(batch.isEnabled());
    int opened = 0;
    for (const auto& call : dialogs.calls) opened += call.kind == "openMany";
    EXPECT_EQ(opened, step.fileDialogs);
  }
}

TEST_F(BatchPages, AFreshUserSeesTheOverwriteOptionAndAnEmptyOutputBox) {
  frmBatch batch;
  EXPECT_TRUE(Child<QRadioButton>(&batch, "optOverwrite")->isChecked());
  EXPECT_FALSE(Child<QRadioButton>(&batch, "optOtherDir")->isChecked());
  EXPECT_EQ(Child<QLineEdit>(&batch, "txtOutputDir")->text(), "");
}

TEST_F(BatchPages, AnEmptyOutputFolderFailsWithTheOutputDirMessage) {
  frmBatch batch;
  ToOutputPage(batch);
  Child<QRadioButton>(&batch, "optOtherDir")->setChecked(true);
  Child<QPushButton>(&batch, "cmdFinish")->click();
  EXPECT_EQ(Child<QLineEdit>(&batch, "txtOutputDir")->text(), "/");
  ASSERT_EQ(dialogs.MessageCount(), 1);
  EXPECT_EQ(dialogs.calls.last().text, "Invalid output directory");
  EXPECT_EQ(dialogs.calls.last().style, Dialogs::Exclamation);
  EXPECT_EQ(batch.Page(), 2);
}

TEST_F(BatchPages, NoInTheOverwriteWarningLeavesTheOutputPageAsItWas) {
  frmBatch batch;
  ToOutputPage(batch);
  const QByteArray before = Bytes(root + "/a.png");
  dialogs.answers << Dialogs::No;
  Child<QPushButton>(&batch, "cmdFinish")->click();
  ASSERT_EQ(dialogs.MessageCount(), 1);
  EXPECT_EQ(dialogs.calls.last().title, "WARNING");
  // It says what Yes would do, and Enter answers No.
  EXPECT_EQ(dialogs.calls.last().text,
            "2 pictures of other formats get a .jpg file beside them; the originals are not "
            "changed.\nContinue?");
  EXPECT_EQ(dialogs.calls.last().defaultAnswer, Dialogs::No);
  EXPECT_EQ(batch.Page(), 2);
  EXPECT_EQ(Child<QLineEdit>(&batch, "txtOutputDir")->text(), "");
  EXPECT_FALSE(QFile::exists(root + "/a.jpg"));
  EXPECT_EQ(Bytes(root + "/a.png"), before);
}

TEST_F(BatchPages, AnUnloadableComboChoiceMovesToTheFirstLoadableEntry) {
  frmBatch batch;
  Text(root + "/broken.png");
  batch.AddFile(root + "/broken.png");
  batch.AddFile(Picture(root + "/good.png"));
  batch.AddFile(Picture(root + "/other.png"));
  ASSERT_TRUE(batch.FillCombo());  // the first entry fails: the second takes its place
  auto* combo = Child<QComboBox>(&batch, "cboImages");
  EXPECT_EQ(combo->currentIndex(), 1);
  EXPECT_EQ(batch.Options()->FileName(), root + "/good.png");
  EXPECT_TRUE(batch.FileList()->topLevelItem(1)->isSelected());
  EXPECT_EQ(dialogs.MessageCount(), 0);  // nothing was loaded before: no complaint
  combo->setCurrentIndex(0);
  emit combo->activated(0);
  EXPECT_EQ(combo->currentIndex(), 1);
  ASSERT_EQ(dialogs.MessageCount(), 1);
  EXPECT_EQ(dialogs.calls.last().text, Language().GetString("NotSupported"));
}

TEST_F(BatchPages, AListWithoutAnyLoadablePictureSaysSo) {
  frmBatch batch;
  Text(root + "/a.png");
  batch.AddFile(root + "/a.png");
  EXPECT_FALSE(batch.FillCombo());
  ASSERT_EQ(dialogs.MessageCount(), 1);
  EXPECT_EQ(dialogs.calls.last().text, "No supported files in current batch selection!");
  EXPECT_EQ(dialogs.calls.last().style, Dialogs::Critical);
}

TEST_F(BatchPages, StartingOnTheOptionsPageStillLeadsBackToTheList) {
  frmBatch batch;
  batch.show();
  auto* back = Child<QPushButton>(&batch, "cmdBack");
  batch.StartOnOptionsPage();
  QApplication::processEvents();
  EXPECT_EQ(batch.Page(), 1);
  EXPECT_TRUE(Child<QPushButton>(&batch, "cmdNext")->isEnabled());
  ASSERT_TRUE(back->isVisible() && back->isEnabled());
  QTest::mouseClick(back, Qt::LeftButton);
  EXPECT_EQ(batch.Page(), 0);
  EXPECT_TRUE(Child<QWidget>(&batch, "lstFiles")->isVisible());
}

TEST_F(BatchPages, HelpOpensTheHelpFileAndTheLinkTheMakersPage) {
  const QString help = root + "/Trimjet.html";
  AppInfo::SetHelpFile(help);
  frmBatch batch;
  batch.show();
  for (int page : {0, 1, 2}) {
    SCOPED_TRACE(page);
    batch.SetPage(page);
    batch.SetVisible();
    dialogs.calls.clear();
    QTest::mouseClick(Child<QPushButton>(&batch, "cmdHelp"), Qt::LeftButton);
    auto* link = Child<CommandButton>(&batch, "cmdLink");
    ASSERT_NE(link, nullptr);
    QTest::mouseClick(link, Qt::LeftButton);
    ASSERT_EQ(dialogs.calls.size(), 2);
    EXPECT_EQ(dialogs.calls[0].kind, "url");
    EXPECT_EQ(QUrl(dialogs.calls[0].text).toLocalFile(), help);
    EXPECT_EQ(dialogs.calls[1].kind, "url");
    // The same page as the optimiser window's link.
    EXPECT_EQ(dialogs.calls[1].text, frmImgOpt::kWebAddress);
    EXPECT_EQ(QUrl(dialogs.calls[1].text).scheme(), "https");
  }
  EXPECT_EQ(batch.Page(), 2);  // neither button changes the page
  AppInfo::SetHelpFile(QString());
}

}  // namespace
