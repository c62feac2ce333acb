// The main window: status fields, enabling rule, splitters, remembered folder, folder scan.
#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "MainWindowFixture.h"
#include "batch/frmBatch.h"
#include "browse/ImagePreview.h"
#include "controls/CommandButton.h"
#include "controls/SizerBarX.h"
#include "controls/SizerBarY.h"
#include "controls/UserProgress.h"
#include "optimizer/frmImgOpt.h"
#include "settings/clsReg.h"

namespace {

struct SizeCase {
  std::vector<int> sizes;
  const char* text;
};
class StatusSizeTest : public MainWindowTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(StatusSizeTest, TotalOfTheSelectionDropsAZeroDecimal) {
  QStringList names;
  for (int bytes : GetParam().sizes) {
    names << QString("p%1.jpg").arg(names.size());
    FileOfSize(names.last(), bytes);
  }
  Open();
  Select(names);
  EXPECT_EQ(Child<QLabel>("txtSize")->text(), QString::fromLatin1(GetParam().text));
}
INSTANTIATE_TEST_SUITE_P(Sizes, StatusSizeTest,
                         ::testing::Values(SizeCase{{1500}, "1.5 Kb"}, SizeCase{{1024}, "1 Kb"},
                                           SizeCase{{1000, 1000}, "2 Kb"},
                                           SizeCase{{1200, 1300, 1400}, "3.8 Kb"}));

TEST_F(MainWindowTest, NothingSelectedClearsTheStatusAndThePreview) {
  Picture("a.png");
  Open();
  Select({"a.png"});
  ASSERT_TRUE(window->Preview()->HasPicture());
  Select({});
  EXPECT_EQ(Child<QLabel>("txtSize")->text(), "0 Kb");
  EXPECT_EQ(Child<QLabel>("txtDimensions")->text(), "");
  EXPECT_FALSE(window->Preview()->HasPicture());
  EXPECT_FALSE(Child<CommandButton>("cmdOptimize")->isEnabled());
}

TEST_F(MainWindowTest, DimensionsAndCountOfTheFolder) {
  Picture("a.png", 64, 48);
  Picture("b.png", 30, 20);
  FileOfSize("notes.txt", 10);
  Open();
  EXPECT_EQ(Child<QLabel>("txtPics")->text(), "2");
  // Chosen before its thumbnail is read: the size fills in when it is.
  Select({"a.png", "b.png"});
  EXPECT_TRUE(
      QTest::qWaitFor([&] { return Child<QLabel>("txtDimensions")->text() == "64x48"; }));
}

// Open, Save, Save As, Optimize and the three menu items that follow Open.
struct Enabling {
  bool open, save, optimize;
};
void ExpectEnabling(frmMainForm* w, Enabling e) {
  const auto enabled = [w](const char* name) {
    if (auto* b = w->findChild<CommandButton*>(name)) return b->isEnabled();
    return w->findChild<QAction*>(name)->isEnabled();
  };
  for (const char* name : {"cmdOpen", "mnuFOpen", "mnuTBatch", "mnuHWizard"})
    EXPECT_EQ(enabled(name), e.open) << name;
  for (const char* name : {"cmdSave", "cmdSaveAs", "mnuFSave", "mnuFSaveAs"})
    EXPECT_EQ(enabled(name), e.save) << name;
  EXPECT_EQ(enabled("cmdOptimize"), e.optimize);
  for (const char* name : {"mnuTSelectAll", "mnuHHelp", "mnuHAbout", "mnuBView", "mnuBDelete"})
    EXPECT_TRUE(enabled(name)) << name;
}

TEST_F(MainWindowTest, CommandsFollowTheSelectionAndTheOpenWorkWindows) {
  Picture("a.png");
  Open();
  ExpectEnabling(window, {true, false, false});
  Select({"a.png"});
  ExpectEnabling(window, {true, false, true});

  auto* optimizer = new frmImgOpt;
  optimizer->show();
  window->UpdateControls();
  ExpectEnabling(window, {false, true, true});
  Select({});
  ExpectEnabling(window, {false, true, false});
  delete optimizer;
  window->UpdateControls();
  ExpectEnabling(window, {true, false, false});

  auto* batch = new frmBatch;
  window->UpdateControls();
  ExpectEnabling(window, {false, false, false});
  delete batch;
}

TEST_F(MainWindowTest, HorizontalSplitterMovesHeightFromPreviewToTree) {
  Open();
  auto* preview = window->Preview();
  QWidget* tree = window->Tree();
  QWidget* leftBar = Child<QWidget>("LeftBar");
  const int previewHeight = preview->height(), treeHeight = tree->height();
  Q_EMIT Child<SizerBarY>("SizerBarY")->Dragged(20);  // 300 twips down
  EXPECT_EQ(preview->height(), previewHeight - 20);
  EXPECT_EQ(tree->height(), treeHeight + 20);
  EXPECT_EQ(preview->geometry().bottom() + 1, leftBar->height() - 3);  // 50 twips
  EXPECT_EQ(Child<QWidget>("SizerBarY")->geometry().bottom() + 1, preview->y());

  Q_EMIT Child<SizerBarY>("SizerBarY")->Dragged(preview->height() + 1);
  EXPECT_EQ(preview->height(), previewHeight - 20) << "a negative preview is refused";
}

TEST_F(MainWindowTest, BarsAndPlaceComeBackInTheNextWindow) {
  Open();
  Q_EMIT Child<SizerBarX>("SizerBar")->Dragged(30);
  Q_EMIT Child<SizerBarY>("SizerBarY")->Dragged(20);
  window->resize(window->width() + 50, window->height() + 40);
  const int leftBar = Child<QWidget>("LeftBar")->width();
  const int preview = window->Preview()->height();
  const QSize size = window->size();
  ASSERT_TRUE(window->close());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ASSERT_TRUE(window.isNull());

  Open();
  EXPECT_EQ(Child<QWidget>("LeftBar")->width(), leftBar);
  EXPECT_EQ(window->Preview()->height(), preview);
  EXPECT_EQ(window->size(), size);
  // The browser starts right of the remembered bar.
  EXPECT_EQ(window->Browser()->x(), Child<QWidget>("SizerBar")->geometry().right() + 1);
}

TEST_F(MainWindowTest, VerticalSplitterWidensTheLeftBarAndNarrowsTheBrowser) {
  Open();
  QWidget* leftBar = Child<QWidget>("LeftBar");
  QWidget* browser = window->Browser();
  const int width = leftBar->width(), left = browser->x(), right = browser->geometry().right();
  Q_EMIT Child<SizerBarX>("SizerBar")->Dragged(11);  // 165 twips
  EXPECT_EQ(leftBar->width(), width + 11);
  EXPECT_EQ(Child<QWidget>("SizerBar")->x(), width + 11);
  EXPECT_EQ(browser->x(), left + 11);
  EXPECT_EQ(browser->geometry().right(), right);
  Q_EMIT Child<SizerBarX>("SizerBar")->Dragged(-leftBar->width() - 1);
  EXPECT_EQ(leftBar->width(), width + 11);
}

TEST_F(MainWindowTest, BrowserAndStatusStripFollowTheWindowSize) {
  Open();
  window->resize(900, 600);
  QTest::qWait(20);
  const QWidget* client = window->centralWidget();
  EXPECT_EQ(window->Browser()->geometry().right() + 1, client->width() - 7);  // 100 twips
  // Gaps of 50 twips are 3 or 4 pixels, depending on how the edges round.
  const auto gap = [](int left, int right) { return right - left >= 3 && right - left <= 4; };
  const auto* cancel = Child<QPushButton>("cmdCancel");
  EXPECT_PRED2(gap, cancel->geometry().right() + 1, client->width());
  EXPECT_EQ(Child<QLabel>("txtPics")->x(), cancel->x());
  EXPECT_PRED2(gap, Child<QLabel>("txtSize")->geometry().right() + 1, cancel->x());
  EXPECT_PRED2(gap, Child<QLabel>("txtDimensions")->geometry().right() + 1,
               Child<QLabel>("txtSize")->x());
  EXPECT_PRED2(gap, Child<UserProgress>("Progress")->width(), Child<QLabel>("txtDimensions")->x());
}

TEST_F(MainWindowTest, FolderOfTheTreeIsRememberedAcrossWindows) {
  const QString other = Path("other");
  ASSERT_TRUE(QDir().mkpath(other));
  Picture("other/x.png");
  Open();
  window->SetDirectory(other);
  EXPECT_EQ(Shown(), other + "/");
  EXPECT_EQ(window->Browser()->Current()->GetImagesCount(), 1);
  window->close();
  ASSERT_TRUE(QTest::qWaitFor([&] { return window.isNull(); }));
  EXPECT_EQ(Registry().ReadRegDir("BrowseDir", "none"), other);

  window = new frmMainForm;
  window->show();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  EXPECT_EQ(window->Tree()->CurrentFolder(), other);
  EXPECT_EQ(Shown(), other + "/");
}

// How the user stops a scan: each has to reach Cancel while the window is disabled.
class ScanCancelTest : public MainWindowTest, public ::testing::WithParamInterface<int> {};

TEST_P(ScanCancelTest, ScanStopsAndTheWindowComesBack) {
  Open();
  const QString big = Path("big");
  ASSERT_TRUE(QDir().mkpath(big));
  for (int i = 0; i < 400; ++i) {
    QFile file(QString("%1/p%2.jpg").arg(big).arg(i, 3, 10, QChar('0')));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  auto* cancel = Child<QPushButton>("cmdCancel");
  bool duringScan = false;
  QTimer::singleShot(0, window, [&] {
    duringScan = cancel->isVisible() && cancel->isEnabled() && !window->Tree()->isEnabled() &&
                 !window->Browser()->isEnabled() && QWidget::mouseGrabber() == cancel;
    switch (GetParam()) {
      case 0:
        QTest::mouseClick(cancel, Qt::LeftButton);
        break;
      case 1:
        QTest::keyClick(cancel, Qt::Key_Escape);
        break;
      case 2:
        QTest::mousePress(cancel, Qt::RightButton);
        break;
      default:
        cancel->clearFocus();
        break;
    }
  });
  window->SetDirectory(big);
  EXPECT_TRUE(duringScan);
  EXPECT_EQ(Shown(), big + "/");
  EXPECT_LT(window->Browser()->Current()->GetImagesCount(), 400);
  EXPECT_FALSE(cancel->isVisible());
  EXPECT_TRUE(window->Tree()->isEnabled());
  EXPECT_TRUE(window->Browser()->isEnabled());
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);

  window->cmdRefresh_Click();  // no cancel this time: the whole folder
  EXPECT_EQ(window->Browser()->Current()->GetImagesCount(), 400);
  EXPECT_EQ(Child<QLabel>("txtPics")->text(), "400");
}
INSTANTIATE_TEST_SUITE_P(Ways, ScanCancelTest, ::testing::Values(0, 1, 2, 3));

TEST_F(MainWindowTest, ClosingDuringAScanStopsItThenCloses) {
  Open();
  const QString big = Path("big");
  ASSERT_TRUE(QDir().mkpath(big));
  for (int i = 0; i < 400; ++i)
    QFile(QString("%1/p%2.png").arg(big).arg(i)).open(QIODevice::WriteOnly);
  QTimer::singleShot(0, window, [&] { window->close(); });
  window->SetDirectory(big);
  EXPECT_LT(window->Browser()->Current()->GetImagesCount(), 400);
  ASSERT_TRUE(QTest::qWaitFor([&] { return window.isNull(); }));
  EXPECT_EQ(Registry().ReadRegDir("BrowseDir", "none"), big);
}

}  // namespace
