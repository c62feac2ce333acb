// The main window's commands: Open, Optimize and the hand-off to the wizard, Delete, View.
#include <unistd.h>

#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QTimer>
#include <QTreeWidget>

#include "MainWindowFixture.h"
#include "batch/frmBatch.h"
#include "browse/frmPicturePreview.h"
#include "core/modPublic.h"
#include "engine/clsImage.h"
#include "optimizer/ImageOptimize.h"
#include "optimizer/frmImgOpt.h"

namespace {

frmBatch* Batch() { return qobject_cast<frmBatch*>(Form("frmBatch")); }
frmImgOpt* Optimizer() { return qobject_cast<frmImgOpt*>(Form("frmImgOpt")); }

// The rows of the wizard's list: key, text and size column, in order.
QStringList Rows(frmBatch* batch) {
  QStringList rows;
  for (int i = 0; i < batch->FileList()->topLevelItemCount(); ++i) {
    const QTreeWidgetItem* item = batch->FileList()->topLevelItem(i);
    rows << item->data(0, Qt::UserRole).toString() + "|" + item->text(0) + "|" + item->text(1);
  }
  return rows;
}
QString Row(const QString& path) {
  return path + "|" + QFileInfo(path).fileName() + "|" +
         modPublic::FormatKb(QFileInfo(path).size());
}

// Where the desktop's trash keeps a file that was moved there.
bool InTrash(const QString& path) {
  const QString name = QFileInfo(path).fileName();
  const QString root = QStorageInfo(QFileInfo(path).absolutePath()).rootPath();
  const QString uid = QString::number(getuid());
  for (const QString& trash :
       {QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Trash",
        root + "/.Trash-" + uid, root + "/.Trash/" + uid})
    if (QFileInfo::exists(trash + "/files/" + name)) return true;
  return false;
}

TEST_F(MainWindowTest, OpenWithOneFileShowsTheOptimiser) {
  const QString a = Picture("a.png");
  Open();
  dialogs.fileAnswers << a;
  window->cmdOpen_Click();
  ASSERT_NE(Optimizer(), nullptr);
  EXPECT_EQ(Optimizer()->GetFileName(), a);
  EXPECT_EQ(Batch(), nullptr);
  EXPECT_EQ(dialogs.calls.first().kind, "openMany");
}

TEST_F(MainWindowTest, OpenWithSeveralFilesShowsTheWizardOnItsOptionsPageInDialogOrder) {
  const QString a = Picture("a.png"), b = Picture("b.png"), c = Picture("c.png", 100, 80);
  Open();
  dialogs.fileAnswers << QStringList{c, a, b}.join('\n');
  window->cmdOpen_Click();
  frmBatch* batch = Batch();
  ASSERT_NE(batch, nullptr);
  EXPECT_TRUE(batch->isVisible());
  EXPECT_EQ(batch->Page(), 1);
  EXPECT_EQ(Rows(batch), (QStringList{Row(c), Row(a), Row(b)}));
  EXPECT_TRUE(batch->findChild<QPushButton*>("cmdNext")->isEnabled());
  EXPECT_TRUE(batch->Options()->IsPictureLoaded());
  EXPECT_EQ(Optimizer(), nullptr);
}

TEST_F(MainWindowTest, OpenOfSeveralThatAllFailToLoadShowsNoWizardAndOneMessage) {
  const QString a = FileOfSize("a.jpg", 300), b = FileOfSize("b.jpg", 400);
  Open();
  dialogs.fileAnswers << QStringList{a, b}.join('\n');
  window->cmdOpen_Click();
  QTest::qWait(20);
  EXPECT_TRUE(Batch() == nullptr || !Batch()->isVisible());
  EXPECT_EQ(dialogs.MessageCount(), 1);
}

TEST_F(MainWindowTest, OpenCancelledOpensNothing) {
  Open();
  window->cmdOpen_Click();
  EXPECT_EQ(dialogs.calls.size(), 1);
  EXPECT_EQ(Batch(), nullptr);
  EXPECT_EQ(Optimizer(), nullptr);
}

TEST_F(MainWindowTest, OptimizeSendsOnePictureToTheOptimiserAndSeveralToTheWizard) {
  const QString a = Picture("a.png"), b = Picture("b.png"), c = Picture("c.png");
  Open();
  window->cmdOptimize_Click();
  EXPECT_EQ(Optimizer(), nullptr);
  EXPECT_EQ(Batch(), nullptr);

  Select({"a.png", "c.png"});
  window->cmdOptimize_Click();
  frmBatch* batch = Batch();
  ASSERT_NE(batch, nullptr);
  EXPECT_TRUE(batch->isVisible());
  EXPECT_EQ(batch->Page(), 1);
  EXPECT_EQ(Rows(batch), (QStringList{Row(a), Row(c)}));
  delete batch;

  Select({"b.png"});
  Q_EMIT window->Browser()->DblClick();
  ASSERT_NE(Optimizer(), nullptr);
  EXPECT_EQ(Optimizer()->GetFileName(), b);
}

TEST_F(MainWindowTest, DeleteTrashesWhatItMayAndReportsTheRestOnce) {
  const QString kept = Picture("kept.png"), gone = Picture("gone.png");
  const QString other = Picture("other.png");
  ASSERT_TRUE(QFile::setPermissions(kept, QFile::ReadOwner | QFile::ReadGroup));
  // The desktop's data folder, where the trash goes, exists on any real desktop.
  ASSERT_TRUE(QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)));
  Open();
  Select({"kept.png", "gone.png"});
  dialogs.answers << Dialogs::Yes;
  window->mnuBDelete_Click();

  EXPECT_FALSE(QFileInfo::exists(gone));
  EXPECT_TRUE(InTrash(gone)) << "a mistaken Delete can be undone";
  EXPECT_TRUE(QFileInfo::exists(kept));
  EXPECT_TRUE(QFileInfo::exists(other));
  ASSERT_EQ(dialogs.MessageCount(), 2);
  EXPECT_EQ(dialogs.calls[0].text, "Delete selected image(s)?\n2 pictures go to the trash.");
  EXPECT_EQ(dialogs.calls[0].style, Dialogs::YesNo | Dialogs::Exclamation);
  EXPECT_EQ(dialogs.calls[1].text, Language().GetString("NotAllDel"));
  EXPECT_EQ(dialogs.calls[1].style, Dialogs::OkOnly | Dialogs::Exclamation);
  const QStringList left = window->Browser()->Current()->GetSelected().split(QChar(0));
  EXPECT_EQ(left.mid(1), QStringList{"kept.png"});
  EXPECT_EQ(window->Browser()->Current()->GetImagesCount(), 2);
  EXPECT_EQ(window->findChild<QLabel*>("txtPics")->text(), "2");  // the count follows
  QFile::setPermissions(kept, QFile::ReadOwner | QFile::WriteOwner);
}

TEST_F(MainWindowTest, DeleteAnsweredNoOrWithNothingSelectedDeletesNothing) {
  const QString a = Picture("a.png");
  Open();
  window->mnuBDelete_Click();
  EXPECT_EQ(dialogs.MessageCount(), 0);
  Select({"a.png"});
  dialogs.answers << Dialogs::No;
  window->mnuBDelete_Click();
  EXPECT_TRUE(QFileInfo::exists(a));
  EXPECT_EQ(dialogs.MessageCount(), 1);
  EXPECT_EQ(window->Browser()->Current()->GetImagesCount(), 1);
}

TEST_F(MainWindowTest, ViewOpensAWindowForEachPictureThatLoads) {
  Picture("a.png", 40, 30);
  Picture("b.png", 50, 20);
  FileOfSize("broken.jpg", 500);
  Open();
  window->Browser()->SelectAll();
  window->mnuBView_Click();
  QStringList titles;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* p = qobject_cast<frmPicturePreview*>(w); p && p->isVisible())
      titles << p->windowTitle() + " " + QString::number(p->GetImage()->Width());
  titles.sort();
  EXPECT_EQ(titles, (QStringList{"a.png 40", "b.png 50"}));
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(MainWindowTest, WizardAndAboutAreModalAndOwnedByTheWindow) {
  Open();
  const std::pair<void (frmMainForm::*)(), const char*> commands[] = {
      {&frmMainForm::mnuHWizard_Click, "frmStartupWizard"},
      {&frmMainForm::mnuHAbout_Click, "frmAbout"}};
  for (const auto& [command, className] : commands) {
    QString shown;
    QWidget* owner = nullptr;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, window, [&] {
      QWidget* modal = QApplication::activeModalWidget();
      if (modal) {
        shown = QString::fromLatin1(modal->metaObject()->className());
        owner = modal->parentWidget();
        closer.stop();
        modal->close();
      }
    });
    closer.start(10);
    (window->*command)();
    EXPECT_EQ(shown, className);
    EXPECT_EQ(owner, window.data());
  }
}

}  // namespace
