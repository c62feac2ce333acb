#include <gtest/gtest.h>

#include <QComboBox>
#include <QDirIterator>
#include <QProcess>
#include <QRegularExpression>

#include "TestEnv.h"
#include "WizardFixtures.h"
#include "core/BatchTotals.h"
#include "optimizer/ImageOptimize.h"

using namespace WizardFixtures;

namespace {

class BatchRun : public RunFolderTest {
 protected:
  bool Run(frmBatch& batch, const QStringList& files, bool overwrite, int workers = 2) {
    return RunToEnd(batch, files, overwrite, out, dialogs, workers);
  }
  QString Progress(frmBatch& batch) {
    return Child<QPlainTextEdit>(&batch, "txtProgress")->toPlainText();
  }
};

TEST_F(BatchRun, OutputNamesFollowTheTableAndTheTotalsCompareSizesBeforeAndAfter) {
  for (bool overwrite : {true, false}) {
    SCOPED_TRACE(overwrite);
    QDir(root).removeRecursively();
    QDir().mkpath(root);
    const QString gif = Picture(root + "/a.gif");
    const QString jpeg = Picture(root + "/photo.jpeg", 400, 300);
    const qint64 before = QFileInfo(gif).size() + QFileInfo(jpeg).size();
    const QByteArray gifBytes = Bytes(gif);
    frmBatch batch;
    ASSERT_TRUE(Run(batch, {gif, jpeg}, overwrite));
    const QString gifOut = overwrite ? root + "/a.jpg" : out + "/a.jpg";
    const QString jpegOut = overwrite ? jpeg : out + "/photo.jpeg";
    ASSERT_TRUE(QFile::exists(gifOut));
    ASSERT_TRUE(QFile::exists(jpegOut));
    EXPECT_EQ(Bytes(gif), gifBytes);  // a GIF is never replaced
    const qint64 after = QFileInfo(gifOut).size() + QFileInfo(jpegOut).size();
    EXPECT_EQ(batch.Totals().Original(), before);
    EXPECT_EQ(batch.Totals().Optimised(), after);
    EXPECT_EQ(Ratio(batch), QString::number(BatchTotals::RatioPercent(after, before)) + "%");
    EXPECT_EQ(Progress(batch).split(QRegularExpression("[\\r\\n]+")).first(),
              "Optimizing and saving '" + gif + "'");
    EXPECT_EQ(Child<UserProgress>(&batch, "ProgressBar")->Value(), 2);
    EXPECT_TRUE(Child<QPushButton>(&batch, "cmdClose")->isEnabled());
    EXPECT_TRUE(Child<QPushButton>(&batch, "cmdClose")->isDefault());  // Enter closes
    EXPECT_EQ(batch.focusWidget(), Child<QPushButton>(&batch, "cmdClose"));
    EXPECT_FALSE(Child<QPushButton>(&batch, "cmdCancel")->isEnabled());
  }
}

TEST_F(BatchRun, TwoEntriesWantingOneNameDoNotOverwriteEachOther) {
  const QString png = Picture(root + "/a.png", 40, 30);
  const QString gif = Picture(root + "/a.gif");
  frmBatch batch;
  ASSERT_TRUE(Run(batch, {png, gif}, false));
  // Each takes its format into its name, as trimjet-cli names them.
  clsImage first, second;
  ASSERT_TRUE(first.CreateFromFile(out + "/a (png).jpg"));
  ASSERT_TRUE(second.CreateFromFile(out + "/a (gif).jpg"));
  EXPECT_EQ(first.Width(), 40);
  EXPECT_NE(second.Width(), 40);
  EXPECT_TRUE(Progress(batch).contains("as '" + out + "/a (gif).jpg'"));
}

// The output page's choices reach the run: the PNG's own output, beside a JPEG that was not
// selected, is there from an earlier run and skipped under "Skip", a JPEG that would grow is
// kept; the log ends with the counts.
TEST_F(BatchRun, OutputPageChoicesKeepTheOriginals) {
  Registry().SetValue("IfExists", "Skip");
  const QString png = Picture(root + "/a.png", 40, 30);
  const QString other = Picture(root + "/a.jpg", 80, 60);
  const QString earlier = Picture(root + "/a (png).jpg", 40, 30);
  const QString small = Picture(root + "/small.jpg", 200, 150, 40);
  const QByteArray otherBytes = Bytes(other), earlierBytes = Bytes(earlier);
  const QByteArray smallBytes = Bytes(small);
  frmBatch batch;
  ASSERT_TRUE(Run(batch, {png, small}, true));
  EXPECT_EQ(Child<QComboBox>(&batch, "cboIfExists")->currentIndex(), 2);
  EXPECT_EQ(Bytes(other), otherBytes);
  EXPECT_EQ(Bytes(earlier), earlierBytes);
  EXPECT_EQ(Bytes(small), smallBytes);
  EXPECT_FALSE(QFile::exists(root + "/a (png) (2).jpg"));
  EXPECT_EQ(Progress(batch).split(QRegularExpression("[\\r\\n]+"), Qt::SkipEmptyParts).last(),
            "Written 0, kept 1, skipped 1, failed 0; 0 bytes saved");
}

TEST_F(BatchRun, AWriteProtectedTargetFailsAndStaysAsItWas) {
  const QString jpg = Picture(root + "/locked.jpg", 80, 60);
  const QString png = Picture(root + "/free.png");
  QFile::setPermissions(jpg, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
  const QByteArray before = Bytes(jpg);
  frmBatch batch;
  ASSERT_TRUE(Run(batch, {jpg, png}, true));
  EXPECT_EQ(Bytes(jpg), before);
  EXPECT_TRUE(Progress(batch).contains("failed: the file is write-protected"));
  EXPECT_TRUE(QFile::exists(root + "/free.jpg"));
  EXPECT_EQ(batch.Totals().Original(), QFileInfo(png).size());
}

TEST_F(BatchRun, AListWhoseEntriesAllFailKeepsTheDesignedLabel) {
  Text(root + "/x.png");
  Text(root + "/y.gif");
  frmBatch batch;
  ASSERT_TRUE(Run(batch, {root + "/x.png", root + "/y.gif"}, false));
  EXPECT_EQ(Ratio(batch), "Compression ratio");
  EXPECT_FALSE(QFile::exists(out + "/x.jpg"));
  EXPECT_EQ(Progress(batch).count("failed:"), 2);
}

TEST_F(BatchRun, AVanishedSourceIsPassedOverWithoutALine) {
  const QString gone = Picture(root + "/gone.png");
  const QString kept = Picture(root + "/kept.png");
  frmBatch batch;
  batch.AddFile(gone);
  QFile::remove(gone);
  ASSERT_TRUE(Run(batch, {kept}, false));
  EXPECT_FALSE(Progress(batch).contains("gone.png"));
  EXPECT_TRUE(QFile::exists(out + "/kept.jpg"));
  EXPECT_EQ(Child<UserProgress>(&batch, "ProgressBar")->Value(), 2);
}

TEST_F(BatchRun, CancelDuringTheSecondOfFiveFinishesItAndStartsNoOther) {
  QStringList files;
  for (int i = 1; i <= 5; ++i) files << Picture(root + QString("/p%1.png").arg(i), 1200, 900);
  frmBatch batch;
  // One worker: the second picture is handed out only when the first is done.
  QTimer poll;
  poll.setInterval(1);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (Progress(batch).count("Optimizing") == 2) {
      poll.stop();
      Child<QPushButton>(&batch, "cmdCancel")->click();
    }
  });
  poll.start();
  ASSERT_TRUE(Run(batch, files, false, 1));
  EXPECT_TRUE(batch.CancelFlag());
  EXPECT_TRUE(QFile::exists(out + "/p2.jpg"));
  for (int i = 3; i <= 5; ++i) EXPECT_FALSE(QFile::exists(out + QString("/p%1.jpg").arg(i)));
  EXPECT_EQ(Child<UserProgress>(&batch, "ProgressBar")->Value(), 1);
  EXPECT_TRUE(Child<QPushButton>(&batch, "cmdClose")->isEnabled());
  EXPECT_EQ(batch.Totals().Original(), QFileInfo(files[0]).size() + QFileInfo(files[1]).size());
  EXPECT_TRUE(Progress(batch).trimmed().endsWith("Stopped by Cancel: 2 of 5 pictures written, 3 not written"))
      << Progress(batch).toStdString();
}

TEST_F(BatchRun, InProcessAndWorkerRunsWriteTheSameFiles) {
  const QStringList files = {Picture(root + "/a.png", 300, 200),
                             Picture(root + "/b.jpg", 200, 300)};
  QList<QByteArray> outputs[2];
  for (int workers : {0, 2}) {
    QDir(out).removeRecursively();
    frmBatch batch;
    ASSERT_TRUE(Run(batch, files, false, workers));
    outputs[workers ? 1 : 0] = {Bytes(out + "/a.jpg"), Bytes(out + "/b.jpg")};
  }
  EXPECT_FALSE(outputs[0][0].isEmpty());
  EXPECT_EQ(outputs[0], outputs[1]);
}

TEST_F(BatchRun, CloseStoresTheOutputChoiceAndTheNextWizardShowsIt) {
  const QString png = Picture(root + "/a.png");
  {
    auto* batch = new frmBatch;
    ASSERT_TRUE(Run(*batch, {png}, false));
    QPointer<frmBatch> gone = batch;
    Child<QPushButton>(batch, "cmdClose")->click();
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(gone.isNull());
  }
  frmBatch next;
  EXPECT_TRUE(Child<QRadioButton>(&next, "optOtherDir")->isChecked());
  EXPECT_EQ(Child<QLineEdit>(&next, "txtOutputDir")->text(), out + "/");
  EXPECT_TRUE(Registry().ReadRegDir("BrowseDir", "none").startsWith(out));
}

TEST_F(BatchRun, EachOutputModeLastsUntilTheNextCloseAndCancelStoresNothing) {
  const QString png = Picture(root + "/a.png");
  struct Step {
    bool overwrite;
    const char* folder;
  };
  // Dir first, so that the later Overwrite must replace a stored "Dir".
  for (const Step& step : {Step{false, "/first"}, Step{true, "/second"}}) {
    SCOPED_TRACE(step.folder);
    out = root + step.folder;
    {
      frmBatch batch;
      ASSERT_TRUE(Run(batch, {png}, step.overwrite));
      batch.cmdClose_Click();
    }
    frmBatch next;
    EXPECT_EQ(Child<QRadioButton>(&next, "optOverwrite")->isChecked(), step.overwrite);
    EXPECT_EQ(Child<QRadioButton>(&next, "optOtherDir")->isChecked(), !step.overwrite);
    EXPECT_EQ(Child<QLineEdit>(&next, "txtOutputDir")->text(), out + "/");
  }
  {
    frmBatch cancelled;
    cancelled.AddFile(png);
    cancelled.StartOnOptionsPage();
    Child<QPushButton>(&cancelled, "cmdNext")->click();
    Child<QRadioButton>(&cancelled, "optOtherDir")->setChecked(true);
    Child<QLineEdit>(&cancelled, "txtOutputDir")->setText(root + "/never");
    cancelled.cmdCancel_Click();
  }
  frmBatch last;
  EXPECT_TRUE(Child<QRadioButton>(&last, "optOverwrite")->isChecked());
  EXPECT_EQ(Child<QLineEdit>(&last, "txtOutputDir")->text(), root + "/second/");
}

TEST_F(BatchRun, CloseAfterTheRunEndsTheProgramWhenNoOtherWindowIsOpen) {
  const QString png = Picture(root + "/a.png");
  auto* batch = new frmBatch;
  batch->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(batch));
  ASSERT_TRUE(Run(*batch, {png}, false));
  // The program's own loop, as in main(): it must end by itself once Close is clicked.
  QSignalSpy last(qApp, &QGuiApplication::lastWindowClosed);
  QTimer::singleShot(0, [batch] { Child<QPushButton>(batch, "cmdClose")->click(); });
  QTimer limit;
  limit.setSingleShot(true);
  QObject::connect(&limit, &QTimer::timeout, [] { QCoreApplication::exit(1); });
  limit.start(20000);
  EXPECT_EQ(QApplication::exec(), 0);
  limit.stop();
  EXPECT_EQ(last.count(), 1);
}

}  // namespace

TEST_F(BatchRun, KeptFolderStructureRecreatesAddedFoldersAndIsRemembered) {
  Registry().SetValue("KeepStructure", "");
  Picture(root + "/in/2019/a.png", 40, 30);
  Picture(root + "/in/2020/a.png", 50, 30);
  Picture(root + "/in/2020/deep/c.gif");
  const QString alone = Picture(root + "/elsewhere/b.png");
  {
    frmBatch batch;
    auto* keep = Child<QCheckBox>(&batch, "chkKeepStructure");
    ASSERT_TRUE(keep);
    EXPECT_FALSE(keep->isChecked());  // a fresh user gets the flat folder
    batch.AddFilesFromPath(root + "/in", true);
    batch.AddFile(alone);
    Child<QRadioButton>(&batch, "optOverwrite")->setChecked(true);
    EXPECT_FALSE(keep->isEnabled());  // nothing to keep when pictures stay where they are
    keep->setChecked(true);
    ASSERT_TRUE(RunToEnd(batch, {}, false, out, dialogs));
    batch.cmdClose_Click();
  }
  QStringList written;
  QDirIterator it(out, QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext()) written << QDir(out).relativeFilePath(it.next());
  written.sort();
  EXPECT_EQ(written, QStringList({"2019/a.jpg", "2020/a.jpg", "2020/deep/c.jpg", "b.jpg"}));
  clsImage first;
  ASSERT_TRUE(first.CreateFromFile(out + "/2019/a.jpg"));
  EXPECT_EQ(first.Width(), 40);
  frmBatch next;
  EXPECT_TRUE(Child<QCheckBox>(&next, "chkKeepStructure")->isChecked());
  EXPECT_TRUE(Child<QCheckBox>(&next, "chkKeepStructure")->isEnabled());
}

// The wizard and trimjet-cli run one batch session: the same files from the same folder, and
// the same pictures failed, a kept folder that cannot be made among them.
TEST_F(BatchRun, TheWizardAndTheCommandLineWriteTheSameFilesAndFailTheSamePictures) {
  Picture(root + "/in/2019/a.png", 40, 30);
  Picture(root + "/in/2020/a.png", 50, 30);
  Picture(root + "/in/2020/deep/c.gif");
  Picture(root + "/in/blocked/b.png");
  QFile bad(root + "/in/bad.png");
  ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
  bad.write("\x89PNG\r\n\x1a\n but no picture follows");
  bad.close();
  const QString cliOut = root + "/cli";
  for (const QString& folder : {out, cliOut}) {
    QDir().mkpath(folder);
    QFile blocker(folder + "/blocked");  // a file where the kept folder would go
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  }
  frmBatch batch;
  Child<QCheckBox>(&batch, "chkKeepStructure")->setChecked(true);
  batch.AddFilesFromPath(root + "/in", true);
  ASSERT_TRUE(RunToEnd(batch, {}, false, out, dialogs));
  QProcess cli;
  cli.start(TestEnv::BinDir() + "/trimjet-cli", {"--recursive", "--keep-structure", "--jobs", "2",
                                                 "--output-dir", cliOut, root + "/in"});
  ASSERT_TRUE(cli.waitForFinished(120000));
  EXPECT_EQ(cli.exitCode(), 1);
  const QString cliLines = QString::fromUtf8(cli.readAllStandardOutput());
  const QString cliErrors = QString::fromUtf8(cli.readAllStandardError());

  const auto written = [](const QString& folder) {
    QStringList files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
      const QString path = it.next();
      files << QDir(folder).relativeFilePath(path) + " " + QString::number(qHash(Bytes(path)));
    }
    files.sort();
    return files;
  };
  EXPECT_EQ(written(out), written(cliOut));
  EXPECT_EQ(written(out).size(), 4);  // three pictures and the blocking file
  EXPECT_EQ(batch.Totals().Counted(BatchTotals::Outcome::kWritten), 3);
  EXPECT_EQ(batch.Totals().Counted(BatchTotals::Outcome::kFailed), 2);
  EXPECT_EQ(cliLines.count(": failed\n"), 2) << cliLines.toStdString();
  EXPECT_TRUE(Progress(batch).contains("cannot create the folder of " + out + "/blocked/b.jpg"));
  EXPECT_TRUE(cliErrors.contains("cannot create the folder of " + cliOut + "/blocked/b.jpg"))
      << cliErrors.toStdString();
}
