// The shell: one optimiser however often Optimize is chosen, and every window the main window
// opens is owned by it for the window system.
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSlider>
#include <QWindow>

#include "MainWindowFixture.h"
#include "app/RunningProgram.h"
#include "app/modMAIN.h"
#include "batch/frmBatch.h"
#include "browse/frmPicturePreview.h"
#include "engine/clsImage.h"
#include "optimizer/ImageOptimize.h"
#include "optimizer/frmImgOpt.h"

namespace {

template <typename T>
QList<T*> OpenOf() {
  QList<T*> shown;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* t = qobject_cast<T*>(w); t && t->isVisible()) shown << t;
  return shown;
}

TEST_F(MainWindowTest, SecondOptimizeLoadsTheOneOptimiser) {
  Picture("a.png", 64, 48);
  const QString b = Picture("b.png", 90, 30);
  Open();
  Select({"a.png"});
  window->cmdOptimize_Click();
  frmImgOpt* first = shell.Optimizer();
  ASSERT_NE(first, nullptr);
  Select({"b.png"});
  window->cmdOptimize_Click();

  ASSERT_EQ(OpenOf<frmImgOpt>().size(), 1);
  frmImgOpt* optimizer = OpenOf<frmImgOpt>().first();
  EXPECT_EQ(optimizer, first);
  EXPECT_EQ(optimizer->GetFileName(), b);
  EXPECT_EQ(optimizer->windowTitle(), "Image Optimization [b.png]");
  EXPECT_EQ(optimizer->SourcePicture()->Width(), 90);
  EXPECT_TRUE(optimizer->isEnabled());
  // Two previews, both of the new picture.
  ASSERT_EQ(OpenOf<frmPicturePreview>().size(), 2);
  for (frmPicturePreview* p : OpenOf<frmPicturePreview>()) EXPECT_EQ(p->GetImage()->Width(), 90);
}

TEST_F(MainWindowTest, WindowsOpenedFromTheMainWindowAreOwnedByIt) {
  Picture("a.png");
  Picture("c.png");
  Open();
  const auto ownedByMain = [this](QWidget* w) {
    // On X11 the owner is written (WM_TRANSIENT_FOR) for dialog-type windows only.
    return w && w->windowHandle() &&
           w->windowHandle()->transientParent() == window->windowHandle() &&
           w->windowType() == Qt::Dialog;
  };
  Select({"a.png"});
  window->cmdOptimize_Click();
  frmImgOpt* optimizer = shell.Optimizer();
  ASSERT_NE(optimizer, nullptr);
  EXPECT_TRUE(ownedByMain(optimizer));
  EXPECT_TRUE(ownedByMain(optimizer->OriginalPreview()));
  EXPECT_TRUE(ownedByMain(optimizer->OptimizedPreview()));
  ASSERT_TRUE(optimizer->close());

  window->mnuBView_Click();
  ASSERT_EQ(OpenOf<frmPicturePreview>().size(), 1);
  EXPECT_TRUE(ownedByMain(OpenOf<frmPicturePreview>().first()));

  Select({"a.png", "c.png"});
  window->cmdOptimize_Click();
  frmBatch* batch = shell.Batch();
  ASSERT_NE(batch, nullptr);
  EXPECT_TRUE(ownedByMain(batch));
  EXPECT_TRUE(ownedByMain(batch->Options()->OriginalPreview()));
}

TEST_F(MainWindowTest, StartupBatchOpensOnItsOptionsPageOnlyWithAPictureThatLoads) {
  const QString picture = Picture("a.png");
  const QString notes = QFileInfo(picture).path() + "/notes.txt";
  QFile(notes).open(QIODevice::WriteOnly);
  EXPECT_FALSE(shell.OpenBatch({notes}, StartupTargets::BatchPage::kOptions));
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(OpenOf<frmBatch>().isEmpty());
  ASSERT_TRUE(
      shell.OpenBatch({notes, QFileInfo(picture).path()}, StartupTargets::BatchPage::kOptions));
  ASSERT_EQ(OpenOf<frmBatch>().size(), 1);
  EXPECT_EQ(OpenOf<frmBatch>().first()->Page(), 1);
  EXPECT_TRUE(OpenOf<frmBatch>().first()->Options()->IsPictureLoaded());
}

TEST_F(MainWindowTest, AWizardCancelledKeepsItsListForTheNextUntilARunUsesIt) {
  const QString a = Picture("a.png"), b = Picture("b.png"), c = Picture("c.png");
  const auto reopened = [this] {
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return shell.HandOffToBatch({}, false);
  };
  frmBatch* first = shell.HandOffToBatch({a, b, c}, false);
  ASSERT_NE(first, nullptr);
  first->cmdCancel_Click();
  QFile::remove(c);  // gone meanwhile: not listed again
  frmBatch* second = reopened();
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->FileCount(), 2);
  second->close();
  EXPECT_EQ(reopened()->FileCount(), 2);
  // After a run the list is done with.
  frmBatch* third = shell.Batch();
  third->SetPage(frmBatch::kRunPage);
  third->close();
  EXPECT_EQ(reopened()->FileCount(), 0);
}

TEST_F(MainWindowTest, ClosingAViewAsksTheModifiedOptimiserFirst) {
  Picture("a.png");
  Open();
  Select({"a.png"});
  window->cmdOptimize_Click();
  QPointer<frmImgOpt> optimizer = shell.Optimizer();
  ASSERT_NE(optimizer, nullptr);
  optimizer->findChild<QSlider*>("sldQuality")->setValue(50);  // the picture is now modified
  window->mnuBView_Click();
  QPointer<frmPicturePreview> view;
  for (frmPicturePreview* p : OpenOf<frmPicturePreview>())
    if (p != optimizer->OriginalPreview() && p != optimizer->OptimizedPreview()) view = p;
  ASSERT_NE(view, nullptr);

  dialogs.answers = {Dialogs::Cancel};
  EXPECT_FALSE(view->close());
  EXPECT_EQ(dialogs.MessageCount(), 1);
  EXPECT_TRUE(view->isVisible());
  EXPECT_TRUE(optimizer->isVisible());

  dialogs.answers = {Dialogs::No};
  EXPECT_TRUE(view->close());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(dialogs.MessageCount(), 2);
  EXPECT_TRUE(optimizer.isNull());
}

// A second Optimize over a modified picture asks the optimiser's save question: Cancel keeps
// the changed picture, No drops it for the new one.
TEST_F(MainWindowTest, SecondOptimizeAsksBeforeDroppingChanges) {
  const QString a = Picture("a.png", 64, 48);
  const QString b = Picture("b.png", 90, 30);
  Open();
  for (const auto& [answer, loaded] : {std::pair{Dialogs::Cancel, a}, std::pair{Dialogs::No, b}}) {
    SCOPED_TRACE(loaded.toStdString());
    Select({"a.png"});
    window->cmdOptimize_Click();
    QPointer<frmImgOpt> optimizer = shell.Optimizer();
    ASSERT_NE(optimizer, nullptr);
    // The picture is now modified (the quality is remembered from the round before).
    auto* quality = optimizer->findChild<QSlider*>("sldQuality");
    quality->setValue(quality->value() == 50 ? 40 : 50);
    const int asked = dialogs.MessageCount();
    dialogs.answers = {answer};
    Select({"b.png"});
    window->cmdOptimize_Click();
    EXPECT_EQ(dialogs.MessageCount(), asked + 1);
    ASSERT_FALSE(optimizer.isNull());
    EXPECT_EQ(optimizer->GetFileName(), loaded);
    EXPECT_EQ(optimizer->SourcePicture()->Width(), loaded == a ? 64 : 90);
    EXPECT_EQ(optimizer->windowTitle().endsWith('*'), loaded == a);  // kept changes stay marked
    dialogs.answers = {Dialogs::No};
    optimizer->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(optimizer.isNull());
  }
}

// Programs started with this channel name that still run (the test's own process aside).
int OthersOnChannel(const QByteArray& name) {
  int count = 0;
  const QByteArray own = QByteArray::number(QCoreApplication::applicationPid());
  QDirIterator it("/proc");
  while (it.hasNext()) {
    const QFileInfo pid(it.next());
    if (pid.fileName() == own || pid.fileName().toInt() == 0) continue;
    QFile environ(pid.filePath() + "/environ");
    if (environ.open(QIODevice::ReadOnly) &&
        environ.readAll().split('\0').contains("TRIMJET_INSTANCE=" + name))
      ++count;
  }
  return count;
}

// A file manager's second hand-off reaches the program that runs, over the session bus where
// there is one and a local socket where not: its picture shows in the open optimiser after
// the optimiser's question, and the second start ends without a window of its own.
TEST_F(MainWindowTest, ASecondStartHandsItsPictureToTheRunningOptimiser) {
  const QString a = Picture("a.png", 64, 48);
  const QString b = Picture("b b.png", 90, 30);
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  QProcess bus;
  for (const bool onBus : {false, true}) {
    SCOPED_TRACE(onBus ? "session bus" : "local socket");
    if (onBus) {
      bus.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
      if (!bus.waitForStarted(5000) || !bus.waitForReadyRead(5000)) {
        ADD_FAILURE() << "no dbus-daemon to try the session bus with";
        return;
      }
      const QByteArray address = bus.readLine().trimmed();
      qputenv("DBUS_SESSION_BUS_ADDRESS", address);
      env.insert("DBUS_SESSION_BUS_ADDRESS", QString::fromUtf8(address));
    } else {
      env.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent");
    }
    const QByteArray name = onBus ? "ShellTestBus" : "ShellTestSocket";
    env.insert("TRIMJET_INSTANCE", QString::fromLatin1(name));
    RunningProgram running(QString::fromLatin1(name), onBus ? RunningProgram::Channel::kAny
                                                            : RunningProgram::Channel::kSocketOnly);
    ASSERT_TRUE(running.Listen());
    QObject::connect(&running, &RunningProgram::Received, &shell,
                     [this](const QString& folder, const QString& args) {
                       modMAIN::TakeOver(folder, args, shell);
                     });
    QPointer<frmImgOpt> optimizer = shell.Optimize(a);
    ASSERT_NE(optimizer, nullptr);
    // No main window in this route: the previews belong to the optimiser.
    for (const frmPicturePreview* p : {optimizer->OriginalPreview(), optimizer->OptimizedPreview()})
      EXPECT_EQ(p->windowHandle()->transientParent(), optimizer->windowHandle());
    auto* quality = optimizer->findChild<QSlider*>("sldQuality");
    quality->setValue(quality->value() == 50 ? 40 : 50);  // a change, so it asks first
    dialogs.answers = {Dialogs::No};
    const int asked = dialogs.MessageCount();

    QProcess handoff;
    handoff.setProcessEnvironment(env);
    handoff.setWorkingDirectory(dir.path());
    handoff.start(TestEnv::BinDir() + "/trimjet-handoff", {"b b.png"});  // relative to its folder
    ASSERT_TRUE(handoff.waitForFinished(10000));
    EXPECT_EQ(handoff.exitCode(), 0) << handoff.readAllStandardError().toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return optimizer && optimizer->GetFileName() == b; }, 10000));
    EXPECT_EQ(dialogs.MessageCount(), asked + 1);
    EXPECT_EQ(optimizer->SourcePicture()->Width(), 90);
    EXPECT_EQ(OpenOf<frmImgOpt>().size(), 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return OthersOnChannel(name) == 0; }, 10000));
    dialogs.answers = {Dialogs::No};
    optimizer->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  bus.kill();
  bus.waitForFinished();
}

}  // namespace
