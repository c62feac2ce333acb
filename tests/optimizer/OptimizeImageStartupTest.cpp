#include <QDir>
#include <QFile>

#include "OptimizerWindow.h"
#include "TestEnv.h"
#include "app/Shell.h"
#include "browse/frmPicturePreview.h"

namespace {

// Start-up's route, for a file of each format in a folder whose name has blanks.
class StartupFormatTest : public ::testing::TestWithParam<const char*> {};

TEST_P(StartupFormatTest, OptimizeImageOpensTheWindowWithBothPreviews) {
  OptimizerFixtures::UseDefaultTexts();
  RecordingDialogs dialogs;
  QTemporaryDir dir;
  const QString folder = dir.filePath("my pictures");
  ASSERT_TRUE(QDir().mkpath(folder));
  const QString name = QString::fromLatin1(GetParam());
  const QString path = folder + "/a photo " + name;
  ASSERT_TRUE(QFile::copy(TestEnv::SourceDir() + "/tests/engine/fixtures/" + name, path));
  Shell windows;
  windows.ShowOptimizer(path);
  QPointer<frmImgOpt> window;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* found = qobject_cast<frmImgOpt*>(w)) window = found;
  ASSERT_FALSE(window.isNull());
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->GetFileName(), path);
  EXPECT_TRUE(window->OriginalPreview()->isVisible());
  EXPECT_TRUE(window->OptimizedPreview()->isVisible());
  EXPECT_EQ(window->windowTitle(), "Image Optimization [a photo " + name + "]");
  EXPECT_EQ(dialogs.MessageCount(), 0);
  delete window.data();
}

INSTANTIATE_TEST_SUITE_P(SevenFormats, StartupFormatTest,
                         ::testing::Values("photo.jpg", "photo.gif", "rgb24.bmp", "photo.pcx",
                                           "photo.png", "topdown.tga", "photo.tif"));

}  // namespace
