#include <gtest/gtest.h>

#include "WizardFixtures.h"
#include "batch/SlideShow.h"
#include "optimizer/ImageOptimize.h"

using namespace WizardFixtures;

namespace {

class BatchList : public ::testing::Test {
 protected:
  void SetUp() override {
    Language().AddDefaultStrings();
    root = dir.path();
  }
  QTemporaryDir dir;
  QString root;
  RecordingDialogs dialogs;
};

TEST_F(BatchList, AddingAFolderTwiceListsEachFileOnceWithItsSize) {
  Picture(root + "/a.png");
  Picture(root + "/b.jpg", 300, 200);
  Text(root + "/notes.txt");
  frmBatch batch;
  batch.AddFilesFromPath(root, true);
  batch.AddFilesFromPath(root + "/", true);
  ASSERT_EQ(Keys(batch), QStringList({root + "/a.png", root + "/b.jpg"}));
  QTreeWidgetItem* b = batch.FileList()->topLevelItem(1);
  EXPECT_EQ(b->text(0), "b.jpg");
  EXPECT_EQ(b->text(1), modPublic::FormatKb(QFileInfo(root + "/b.jpg").size()));
}

TEST_F(BatchList, SubfoldersAreEnteredDepthFirstOnlyWhenAsked) {
  Picture(root + "/a.png");
  Picture(root + "/sub/deep/c.png");
  Picture(root + "/sub/b.png");
  Picture(root + "/z.png");
  for (bool sub : {false, true}) {
    SCOPED_TRACE(sub);
    frmBatch batch;
    batch.AddFilesFromPath(root, sub);
    const QStringList own = {root + "/a.png", root + "/z.png"};
    const QStringList all = {root + "/a.png", root + "/sub/b.png", root + "/sub/deep/c.png",
                             root + "/z.png"};
    EXPECT_EQ(Keys(batch), sub ? all : own);
  }
}

TEST_F(BatchList, AnyGivenFileIsListedOnceAndCtrlAThenRemoveEmptiesTheList) {
  frmBatch batch;
  batch.AddFile(Picture(root + "/a.bmp"));
  Text(root + "/readme.txt");
  batch.AddFile(root + "/readme.txt");
  batch.AddFile(root + "/a.bmp");
  ASSERT_EQ(batch.FileCount(), 2);
  QTest::keyClick(batch.FileList(), Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(batch.FileList()->selectedItems().size(), 2);
  Child<QPushButton>(&batch, "cmdRemoveFiles")->click();
  EXPECT_EQ(batch.FileCount(), 0);
}

TEST_F(BatchList, ThreeSelectedEntriesTakeTurnsInThePreviewInListOrder) {
  frmBatch batch;
  for (const char* name : {"p1.png", "p2.png", "p3.png", "p4.png"})
    batch.AddFile(Picture(root + "/" + name));
  QTreeWidget* list = batch.FileList();
  for (int i : {0, 2, 3}) list->topLevelItem(i)->setSelected(true);
  SlideShow* show = batch.Preview();
  EXPECT_EQ(show->Timer().interval(), 1000);
  QList<int> seen;
  for (int tick = 0; tick < 4; ++tick) {
    show->Tick();
    seen << show->Current();
  }
  EXPECT_EQ(seen, QList<int>({1, 3, 4, 1}));
  list->clearSelection();
  show->Tick();
  EXPECT_EQ(show->Current(), 0);
}

TEST_F(BatchList, TheOpenDialogAddsItsFilesAndRemembersTheFolder) {
  Picture(root + "/x.png");
  Text(root + "/y.txt");
  dialogs.fileAnswers << root + "/x.png\n" + root + "/y.txt";
  frmBatch batch;
  Child<QPushButton>(&batch, "cmdAddFiles")->click();
  EXPECT_EQ(Keys(batch), QStringList({root + "/x.png", root + "/y.txt"}));
  EXPECT_EQ(Registry().ReadRegDir("BatchOpen", "none"), root);
}

TEST_F(BatchList, TheFolderDialogAddsWithoutSubfoldersAndRemembersItsChoice) {
  Picture(root + "/a.png");
  Picture(root + "/sub/b.png");
  frmBatch batch;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<frmAddDir*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Browse for folder");
    Child<QCheckBox>(dialog, "chkSubFolders")->setChecked(false);
    dialog->Tree()->SetCurrentFolder(root);
    dialog->cmdOK_Click();
  });
  Child<QPushButton>(&batch, "cmdAddDir")->click();
  EXPECT_EQ(Keys(batch), QStringList({root + "/a.png"}));
  EXPECT_EQ(Registry().ReadRegDir("AddDir", "none"), root);
  Registry().OpenReg("Paths");
  EXPECT_EQ(Registry().GetValue("SubFolders"), "0");
}

TEST_F(BatchList, ATypedTextFileIsListedButOnlyTheBitmapPreviewsAndIsWritten) {
  const QString bmp = Picture(root + "/a.bmp"), txt = root + "/notes.txt";
  Text(txt);
  frmBatch single;
  dialogs.fileAnswers << bmp;  // one file: the dialog gives its full path alone
  Child<QPushButton>(&single, "cmdAddFiles")->click();
  EXPECT_EQ(Keys(single), QStringList({bmp}));

  frmBatch batch;
  dialogs.fileAnswers << txt + "\n" + bmp;
  Child<QPushButton>(&batch, "cmdAddFiles")->click();
  ASSERT_EQ(Keys(batch), QStringList({txt, bmp}));
  ASSERT_TRUE(batch.FillCombo());
  EXPECT_EQ(batch.Options()->FileName(), bmp);
  ASSERT_TRUE(RunToEnd(batch, {}, false, root + "/out", dialogs));
  EXPECT_TRUE(QFile::exists(root + "/out/a.jpg"));
  EXPECT_FALSE(QFile::exists(root + "/out/notes.jpg"));
  EXPECT_EQ(batch.Totals().Original(), QFileInfo(bmp).size());
}

}  // namespace
