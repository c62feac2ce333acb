#include <QFile>
#include <QFileInfo>
#include <QThread>

#include "FatCard.h"
#include "OptimizerWindow.h"
#include "browse/frmPicturePreview.h"
#include "controls/CommandButton.h"
#include "core/SaveName.h"
#include "core/StatisticsText.h"
#include "engine/clsImage.h"
#include "settings/clsReg.h"

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
  // The saved file is the original the figures now compare with.
  EXPECT_EQ(Text("txtOriginalSize"), StatisticsText::SizeText(QFileInfo(written).size()));
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
  EXPECT_TRUE(dialogs_.calls[1].text.startsWith("The following characters may not be used"));
  EXPECT_EQ(dialogs_.calls[1].style, Dialogs::Critical);
  EXPECT_EQ(dialogs_.calls[2].kind, "save");  // the dialog again
}

TEST_F(OptimizerWindowTest, SaveOverABitmapWritesTheJpegThenTrashesTheBitmap) {
  const QString bmp =
      OptimizerFixtures::Write(dir_, "photo.bmp", OptimizerFixtures::Gradient(40, 30));
  const QByteArray bmpBytes = OptimizerFixtures::Bytes(bmp);
  Open(bmp);
  Quality()->setValue(60);
  dialogs_.answers = {Dialogs::Yes};
  Click(window_, "cmdSave");
  ASSERT_EQ(dialogs_.MessageCount(), 1);
  EXPECT_TRUE(dialogs_.calls[0].text.contains("\"photo.bmp\" goes to the trash"));
  EXPECT_FALSE(QFile::exists(bmp));
  // The tests' private data folder holds the trash.
  EXPECT_EQ(
      OptimizerFixtures::Bytes(qEnvironmentVariable("XDG_DATA_HOME") + "/Trash/files/photo.bmp"),
      bmpBytes);
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
  // The bitmap's Save asks first: the JPEG beside it is another file, the bitmap would go.
  const int asked = loaded == target ? 0 : 2;
  dialogs_.answers = {Dialogs::Yes, Dialogs::Yes};
  Click(window_, "cmdSave");
  EXPECT_EQ(OptimizerFixtures::Bytes(loaded), loadedBytes);
  EXPECT_EQ(OptimizerFixtures::Bytes(target), targetBytes);
  ASSERT_GE(dialogs_.MessageCount(), 1 + asked);
  EXPECT_EQ(dialogs_.calls[asked].text, "Error occurred while saving file\ncannot write " + target +
                                            ": the file is write-protected");
  EXPECT_EQ(dialogs_.calls[asked + 1].kind, "save");  // Save As offered, on the JPEG's name
  EXPECT_EQ(QFileInfo(dialogs_.calls[asked + 1].path).fileName(), QFileInfo(target).fileName());
  // Still modified: closing would ask.
  EXPECT_TRUE(window_->windowTitle().endsWith("*"));
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden).size(),
            loaded == target ? 1 : 2);  // no temporary file left behind
}

INSTANTIATE_TEST_SUITE_P(Cases, FailedSaveTest, ::testing::Values("photo.jpg", "photo.bmp"));

TEST_F(OptimizerWindowTest, SaveToAMissingFolderFailsCleanly) {
  OpenPicture(40, 30);
  EXPECT_FALSE(window_->SaveAs(dir_.filePath("no such folder/out.jpg")));
  EXPECT_EQ(dialogs_.calls[0].text, "Error occurred while saving file\ncannot write " +
                                        dir_.filePath("no such folder/out.jpg") +
                                        ": the folder does not exist");
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
  const QByteArray png = OptimizerFixtures::Bytes(path);
  dialogs_.answers = {Dialogs::Yes};
  EXPECT_TRUE(window_->close());
  EXPECT_TRUE(QFile::exists(dir_.filePath("photo.jpg")));
  EXPECT_FALSE(QFile::exists(path));
  // The close question said where the PNG goes, and asked nothing more.
  EXPECT_EQ(dialogs_.MessageCount(), 1);
  EXPECT_EQ(
      OptimizerFixtures::Bytes(qEnvironmentVariable("XDG_DATA_HOME") + "/Trash/files/photo.png"),
      png);
}

// A disk no trash can take from (the home trash is on another one, and a file stands where
// its own trash folder would be made): the PNG is deleted for good only on a Yes to a question
// that says so, and no trash folder appears anywhere.
TEST_F(OptimizerWindowTest, APictureNoTrashCanTakeIsKeptUnlessTheUserSaysDelete) {
  const QString top = dir_.filePath("card");
  ASSERT_TRUE(QDir().mkpath(top));
  FatCard card;
  if (const QString why = card.Mount(dir_.filePath("card.img"), top); !why.isEmpty())
    GTEST_SKIP() << why.toStdString();
  QFile blocker(top + "/.Trash-" + QString::number(getuid()));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  const QDir folder(top), homeTrash(qEnvironmentVariable("XDG_DATA_HOME") + "/Trash/files");
  const QStringList trashed = homeTrash.entryList(QDir::Files);
  for (const Dialogs::Answer last : {Dialogs::No, Dialogs::Yes}) {
    const QString path = folder.filePath("photo.png");
    QFile::remove(folder.filePath("photo.jpg"));
    ASSERT_TRUE(OptimizerFixtures::Gradient(40, 30).save(path));
    Open(path);
    Quality()->setValue(Quality()->value() == 30 ? 40 : 30);  // a change to save
    dialogs_.calls.clear();
    dialogs_.answers = {Dialogs::Yes, last};
    EXPECT_TRUE(window_->close());
    ASSERT_EQ(dialogs_.MessageCount(), 2);
    const auto& asked = dialogs_.calls.last();
    EXPECT_TRUE(asked.text.startsWith("\"photo.png\" cannot go to the trash")) << asked.text.toStdString();
    EXPECT_EQ(asked.defaultAnswer, Dialogs::No);
    EXPECT_TRUE(QFile::exists(folder.filePath("photo.jpg")));
    EXPECT_EQ(QFile::exists(path), last != Dialogs::Yes);
    delete window_.data();
  }
  EXPECT_EQ(folder.entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
  EXPECT_EQ(homeTrash.entryList(QDir::Files), trashed);  // the home trash is on another disk
}

// A file other than the loaded picture is never replaced, nor the loaded PNG trashed, unasked,
// whatever name the save ends up with; No is the default and leaves every file that was there
// as it was (to the trash question it still saves the JPEG, keeping the PNG beside it).
struct OtherFileCase {
  const char* name;
  const char* loaded;    // the picture opened
  const char* other;     // an unrelated file already there
  const char* typed;     // Save As name; empty: Save
  const char* asked;     // the file the question names; empty: no question
  bool changed = false;  // another program saves the loaded picture after it was opened
};
class OtherFileTest : public OptimizerWindowTest,
                      public ::testing::WithParamInterface<OtherFileCase> {};

TEST_P(OtherFileTest, IsNamedBeforeItIsReplaced) {
  const OtherFileCase c = GetParam();
  const QString loaded =
      OptimizerFixtures::Write(dir_, c.loaded, OptimizerFixtures::Gradient(40, 30));
  const QString other =
      OptimizerFixtures::Write(dir_, c.other, OptimizerFixtures::Gradient(20, 10));
  const QByteArray otherBytes = OptimizerFixtures::Bytes(other);
  Open(loaded);
  Quality()->setValue(40);
  QByteArray loadedBytes = OptimizerFixtures::Bytes(loaded);
  if (c.changed) {
    QThread::msleep(10);  // a modification time of its own
    OptimizerFixtures::Write(dir_, c.loaded, OptimizerFixtures::Gradient(41, 30));
    loadedBytes = OptimizerFixtures::Bytes(loaded);
  }
  dialogs_.answers = {Dialogs::No};
  if (*c.typed) {
    dialogs_.fileAnswers = {dir_.filePath(c.typed)};
    Click(window_, "cmdSaveAs");
  } else {
    Click(window_, "cmdSave");
  }
  EXPECT_EQ(OptimizerFixtures::Bytes(other), otherBytes);
  EXPECT_EQ(OptimizerFixtures::Bytes(loaded), loadedBytes);
  if (*c.asked) {
    ASSERT_EQ(dialogs_.MessageCount(), 1);
    const RecordingDialogs::Call& q = dialogs_.calls.last();
    EXPECT_TRUE(q.text.contains(dir_.filePath(c.asked)) ||
                q.text.contains("\"" + QString::fromLatin1(c.asked) + "\" goes to the trash"))
        << q.text.toStdString();
    EXPECT_EQ(q.defaultAnswer, Dialogs::No);
    const QString jpeg = dir_.filePath(SaveName::JpegName(c.loaded));
    if (QString::fromLatin1(c.asked) == c.loaded && jpeg != loaded) {
      EXPECT_TRUE(QFile::exists(jpeg));
    }
  } else {
    EXPECT_EQ(dialogs_.MessageCount(), 0);
    EXPECT_TRUE(QFile::exists(dir_.filePath(SaveName::JpegName(c.typed))));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OtherFileTest,
    ::testing::Values(
        OtherFileCase{"JpegBesideThePng", "a.png", "a.jpg", "", "a.jpg"},
        OtherFileCase{"TypedPngBecomesJpeg", "a.jpg", "q70.jpg", "q70.png", "q70.jpg"},
        OtherFileCase{"TypedWithoutExtension", "a.jpg", "noext.jpg", "noext", "noext.jpg"},
        // The typed name itself is another picture: it is not the loaded one,
        // so it is neither replaced nor removed.
        OtherFileCase{"TypedNameIsAnotherPng", "a.jpg", "q70.png", "q70.png", ""},
        // No other JPEG in the way: the question is about the loaded PNG going to the trash.
        OtherFileCase{"LoadedPngToTheTrash", "a.png", "b.jpg", "", "a.png"},
        // Another program saved the picture after it was opened: its version stays.
        OtherFileCase{"LoadedJpegSavedAnew", "a.jpg", "b.jpg", "", "a.jpg", true},
        OtherFileCase{"LoadedJpegSavedAnewSaveAs", "a.jpg", "b.jpg", "a.jpg", "a.jpg", true}),
    [](const ::testing::TestParamInfo<OtherFileCase>& info) {
      return std::string(info.param.name);
    });

}  // namespace
