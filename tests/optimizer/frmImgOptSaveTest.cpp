#include <QFile>
#include <QFileInfo>

#include "CommandButton.h"
#include "OptimizerWindow.h"
#include "clsImage.h"
#include "clsReg.h"
#include "frmPicturePreview.h"

namespace {

void Click(QObject* window, const char* button) {
  CommandButton* b = window->findChild<CommandButton*>(QString::fromLatin1(button));
  ASSERT_NE(b, nullptr) << button;
  emit b->Click();
}

struct SaveAsCase {
  const char* chosen;   // name typed in the Save As dialog
  const char* written;  // file that appears
};
class SaveAsNameTest : public OptimizerWindowTest,
                       public ::testing::WithParamInterface<SaveAsCase> {};

TEST_P(SaveAsNameTest, WritesAJpegUnderTheRuleName) {
  OpenPicture(40, 30);
  QDir(dir_.path()).mkpath("my.dir");
  dialogs_.fileAnswers = {dir_.filePath(GetParam().chosen)};
  Click(window_, "cmdSaveAs");
  const QString written = dir_.filePath(GetParam().written);
  ASSERT_TRUE(QFile::exists(written)) << GetParam().written;
  clsImage check;
  ASSERT_TRUE(check.CreateFromFile(written));
  EXPECT_EQ(check.Width(), 40);
  EXPECT_EQ(window_->GetFileName(), written);
  EXPECT_EQ(window_->windowTitle(), "Image Optimization [" + QFileInfo(written).fileName() + "]");
  EXPECT_EQ(dialogs_.MessageCount(), 0);
  // The folder is remembered for the next Save As.
  EXPECT_EQ(Registry().ReadRegDir("SaveAs", "/nowhere"), QFileInfo(written).path());
}

INSTANTIATE_TEST_SUITE_P(Cases, SaveAsNameTest,
                         ::testing::Values(SaveAsCase{"a.b.png", "a.b.jpg"},
                                           SaveAsCase{"name", "name.jpg"},
                                           SaveAsCase{"x.Jpg", "x.Jpg"},
                                           SaveAsCase{"x.JPEG", "x.JPEG"},
                                           SaveAsCase{"my.dir/name", "my.dir/name.jpg"}));

TEST_F(OptimizerWindowTest, RefusedNameSaysWhyAndAsksAgain) {
  OpenPicture(40, 30);
  dialogs_.fileAnswers = {dir_.filePath("what?.jpg"), dir_.filePath("fine.jpg")};
  Click(window_, "cmdSaveAs");
  EXPECT_FALSE(QFile::exists(dir_.filePath("what?.jpg")));
  EXPECT_TRUE(QFile::exists(dir_.filePath("fine.jpg")));
  ASSERT_EQ(dialogs_.MessageCount(), 1);
  EXPECT_TRUE(dialogs_.calls[1].text.startsWith("The folowing characters may not be used"));
  EXPECT_EQ(dialogs_.calls[1].style, Dialogs::Critical);
  EXPECT_EQ(dialogs_.calls[2].kind, "save");  // the dialog again
}

TEST_F(OptimizerWindowTest, SaveOverABitmapWritesTheJpegThenRemovesTheBitmap) {
  const QString bmp =
      OptimizerFixtures::Write(dir_, "photo.bmp", OptimizerFixtures::Gradient(40, 30));
  Open(bmp);
  Quality()->setValue(60);
  Click(window_, "cmdSave");
  EXPECT_FALSE(QFile::exists(bmp));
  EXPECT_TRUE(QFile::exists(dir_.filePath("photo.jpg")));
  EXPECT_EQ(window_->windowTitle(), "Image Optimization [photo.jpg]");
  EXPECT_EQ(window_->GetFileName(), dir_.filePath("photo.jpg"));
}

class FailedSaveTest : public OptimizerWindowTest,
                       public ::testing::WithParamInterface<const char*> {};

TEST_P(FailedSaveTest, KeepsEveryFileByteForByteAndSaysSo) {
  const QString loaded =
      OptimizerFixtures::Write(dir_, GetParam(), OptimizerFixtures::Gradient(40, 30));
  const QString target = dir_.filePath("photo.jpg");
  if (loaded != target) QFile::copy(loaded, target);
  // Nobody may write the JPEG; the engine refuses it even for root.
  QFile::setPermissions(target, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
  const QByteArray loadedBytes = OptimizerFixtures::Bytes(loaded);
  const QByteArray targetBytes = OptimizerFixtures::Bytes(target);
  Open(loaded);
  Scale()->setValue(50);
  Click(window_, "cmdSave");
  EXPECT_EQ(OptimizerFixtures::Bytes(loaded), loadedBytes);
  EXPECT_EQ(OptimizerFixtures::Bytes(target), targetBytes);
  ASSERT_GE(dialogs_.MessageCount(), 1);
  EXPECT_EQ(dialogs_.calls[0].text, "Error occured while saving file");
  EXPECT_EQ(dialogs_.calls[1].kind, "save");  // Save As offered
  // Still modified: closing would ask.
  EXPECT_TRUE(window_->windowTitle().endsWith("*"));
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden).size(),
            loaded == target ? 1 : 2);  // no temporary file left behind
}

INSTANTIATE_TEST_SUITE_P(Cases, FailedSaveTest, ::testing::Values("photo.jpg", "photo.bmp"));

TEST_F(OptimizerWindowTest, SaveToAMissingFolderFailsCleanly) {
  OpenPicture(40, 30);
  EXPECT_FALSE(window_->SaveAs(dir_.filePath("no such folder/out.jpg")));
  EXPECT_EQ(dialogs_.calls[0].text, "Error occured while saving file");
}

TEST_F(OptimizerWindowTest, ResetAfterSavingOverTheFileRestoresTheFirstLoadedPicture) {
  const QString path =
      OptimizerFixtures::Write(dir_, "photo.jpg", OptimizerFixtures::Gradient(80, 60));
  const auto Decoded = [](const QByteArray& bytes) {
    clsImage image;
    image.CreateFromBuffer(bytes);
    return image.Surface().copy();
  };
  const QImage first = Decoded(OptimizerFixtures::Bytes(path));
  Open(path);
  Scale()->setValue(50);
  Quality()->setValue(20);
  Click(window_, "cmdSave");
  ASSERT_EQ(Decoded(OptimizerFixtures::Bytes(path)).width(), 40);  // the file is now half size
  Click(window_, "cmdReset");
  EXPECT_EQ(Scale()->value(), 100);
  EXPECT_EQ(Quality()->value(), 70);
  EXPECT_EQ(window_->SourcePicture()->Surface(), first);
  EXPECT_EQ(Text("txtOptimizedDimensions"), "80x60");
  EXPECT_EQ(window_->OriginalPreview()->GetImage(), window_->SourcePicture());
  EXPECT_EQ(window_->windowTitle(), "Image Optimization [photo.jpg]");
}

TEST_F(OptimizerWindowTest, ClosingWithYesSavesFirst) {
  const QString path =
      OptimizerFixtures::Write(dir_, "photo.png", OptimizerFixtures::Gradient(40, 30));
  Open(path);
  Quality()->setValue(30);
  dialogs_.answers = {Dialogs::Yes};
  EXPECT_TRUE(window_->close());
  EXPECT_TRUE(QFile::exists(dir_.filePath("photo.jpg")));
  EXPECT_FALSE(QFile::exists(path));
}

}  // namespace
