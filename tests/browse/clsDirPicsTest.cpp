#include <gtest/gtest.h>

#include <QPainter>
#include <QTemporaryDir>

#include "BrowseFixtures.h"
#include "browse/clsBrowsePic.h"
#include "browse/clsDirPics.h"

using BrowseFixtures::Parts;
using BrowseFixtures::RecordingHost;
using BrowseFixtures::WritePicture;
using BrowseFixtures::WriteText;

namespace {

class DirPicsTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }
  QString Folder() const { return dir.path() + "/"; }
  // n text-free JPEG names; the scan only looks at names.
  void MakeItems(int n) {
    for (int i = 1; i <= n; ++i)
      WriteText(dir.filePath(QString("p%1.jpg").arg(i, 2, 10, QChar('0'))));
    model.SetDirectory(dir.path());
    model.RebuildImageList(nullptr);
  }
  std::vector<int> Selected() const {
    std::vector<int> out;
    for (int i = 1; i <= model.GetImagesCount(); ++i)
      if (model.Item(i)->IsSelected()) out.push_back(i);
    return out;
  }
  // Centre of the cell of item i on a 500-wide first page.
  void Click(int index, int shift = 0) {
    const int i = index - 1;
    model.SelectPics((i % 4) * 120 + 60, (i / 4) * 130 + 60, shift, 500, 1);
  }

  QTemporaryDir dir;
  clsDirPics model;
};

TEST_F(DirPicsTest, ScanListsVisiblePicturesWithProgress) {
  WriteText(dir.filePath("a.JPG"));
  WriteText(dir.filePath("b.txt"));
  WriteText(dir.filePath("c.tiff"));
  WriteText(dir.filePath(".d.png"));  // hidden
  QDir(dir.path()).mkdir("e.jpg");    // a folder, not a file
  RecordingHost host;
  int clearedAt = -1;
  model.SetDirectory(dir.path());
  model.RebuildImageList(&host, [&] { clearedAt = int(host.calls.size()); });

  ASSERT_EQ(model.GetImagesCount(), 2);
  EXPECT_EQ(model.Item(1)->GetFileName(), "a.jpg");
  EXPECT_EQ(model.Item(1)->GetDiskName(), "a.JPG");
  EXPECT_EQ(model.Item(2)->GetFileName(), "c.tiff");
  EXPECT_EQ(host.calls,
            (std::vector<std::string>{"begin", "range 3", "value 1", "value 2", "end"}));
  EXPECT_EQ(clearedAt, 1);  // the old list is gone before the progress starts
  EXPECT_EQ(host.eventRuns, 3);
}

TEST_F(DirPicsTest, CancelledScanKeepsWhatItFound) {
  for (const char* name : {"a.jpg", "b.png", "c.gif", "d.bmp"}) WriteText(dir.filePath(name));
  RecordingHost host;
  host.cancelAfter = 2;
  model.SetDirectory(dir.path());
  model.RebuildImageList(&host);
  ASSERT_EQ(model.GetImagesCount(), 2);
  EXPECT_EQ(model.Item(2)->GetFileName(), "b.png");
  EXPECT_EQ(host.calls.back(), "end");
}

TEST_F(DirPicsTest, RescanDropsItemsSelectionAndAnchor) {
  MakeItems(5);
  Click(4);
  QFile::remove(dir.filePath("p02.jpg"));
  WriteText(dir.filePath("p06.jpg"));
  model.RebuildImageList(nullptr);
  EXPECT_EQ(model.GetImagesCount(), 5);
  EXPECT_EQ(model.GetSelectedCount(), 0);
  EXPECT_EQ(model.Anchor(), 0);
  EXPECT_EQ(model.Item(5)->GetFileName(), "p06.jpg");
}

TEST_F(DirPicsTest, FolderNames) {
  model.SetDirectory("/tmp/Photos");
  EXPECT_EQ(model.GetDirectory(), "/tmp/Photos/");
  EXPECT_TRUE(model.IsDirName("/tmp/Photos"));
  EXPECT_TRUE(model.IsDirName("/tmp/Photos/"));
  EXPECT_FALSE(model.IsDirName("/tmp/photos"));
  EXPECT_FALSE(model.IsDirName("/tmp/Photo"));
}

TEST_F(DirPicsTest, ClickSelectionSequence) {
  MakeItems(10);
  Click(3);
  Click(7, clsDirPics::kShift);
  EXPECT_EQ(Selected(), (std::vector<int>{3, 4, 5, 6, 7}));
  Click(5, clsDirPics::kCtrl);
  EXPECT_EQ(Selected(), (std::vector<int>{3, 4, 6, 7}));
  Click(9);
  EXPECT_EQ(Selected(), (std::vector<int>{9}));
  Click(6, clsDirPics::kShift);  // the anchor may lie below
  EXPECT_EQ(Selected(), (std::vector<int>{6, 7, 8, 9}));
  Click(2, clsDirPics::kCtrl);
  Click(2, clsDirPics::kCtrl);
  EXPECT_EQ(Selected(), (std::vector<int>{6, 7, 8, 9}));
  Click(8, clsDirPics::kShift | clsDirPics::kCtrl);  // counts as a plain click
  EXPECT_EQ(Selected(), (std::vector<int>{8}));
}

TEST_F(DirPicsTest, ShiftAsFirstClickStartsAtItemOne) {
  MakeItems(10);
  Click(4, clsDirPics::kShift);
  EXPECT_EQ(Selected(), (std::vector<int>{1, 2, 3, 4}));
}

TEST_F(DirPicsTest, ClicksOnNoItem) {
  MakeItems(10);
  model.SelectAll();
  model.SelectPics(490, 10, 0, 500, 1);  // right of the last column
  EXPECT_EQ(model.GetSelectedCount(), 0);
  model.SelectAll();
  model.SelectPics(300, 300, 0, 500, 1);  // below item 10
  EXPECT_EQ(model.GetSelectedCount(), 0);
  model.SelectAll();
  model.SelectPics(300, 300, clsDirPics::kCtrl, 500, 1);
  EXPECT_EQ(model.GetSelectedCount(), 10);
  // Second page: the top-left cell is item 5.
  model.SelectPics(10, 10, 0, 500, 2);
  EXPECT_EQ(Selected(), (std::vector<int>{5}));
}

TEST_F(DirPicsTest, ShiftRangeAfterRemovalStaysInsideTheList) {
  MakeItems(10);
  Click(10);
  model.RemoveSelected();  // the anchor still names item 10
  Click(8, clsDirPics::kShift);
  EXPECT_EQ(Selected(), (std::vector<int>{8, 9}));
}

TEST_F(DirPicsTest, SelectedListForms) {
  WriteText(dir.filePath("B.jpg"));
  WriteText(dir.filePath("c.png"));
  WriteText(dir.filePath("D.PNG"));
  model.SetDirectory(dir.path());
  model.RebuildImageList(nullptr);
  EXPECT_EQ(model.GetSelected(), "");
  EXPECT_EQ(model.GetSelectedBrowsePic(), nullptr);
  model.Item(2)->SetSelected(true);
  EXPECT_EQ(Parts(model.GetSelected()), (QStringList{Folder(), "c.png"}));
  model.Item(1)->SetSelected(true);
  model.Item(3)->SetSelected(true);
  // The names as the file system spells them, so that the paths reach the files.
  EXPECT_EQ(Parts(model.GetSelected()), (QStringList{Folder(), "B.jpg", "c.png", "D.PNG"}));
  EXPECT_EQ(model.GetSelectedBrowsePic(), model.Item(1));
  EXPECT_EQ(model.GetSelectedCount(), 3);
}

TEST_F(DirPicsTest, Removals) {
  MakeItems(6);
  model.Item(2)->SetSelected(true);
  model.Item(5)->SetSelected(true);
  model.RemoveSelected();
  ASSERT_EQ(model.GetImagesCount(), 4);
  EXPECT_EQ(model.Item(2)->GetFileName(), "p03.jpg");
  EXPECT_EQ(model.Item(4)->GetFileName(), "p06.jpg");
  QFile::remove(dir.filePath("p01.jpg"));
  QFile::remove(dir.filePath("p06.jpg"));
  QFile::remove(dir.filePath("p04.jpg"));
  QDir(dir.path()).mkdir("p04.jpg");  // a folder now: no normal file
  model.RemoveInvalid();
  ASSERT_EQ(model.GetImagesCount(), 1);
  EXPECT_EQ(model.Item(1)->GetFileName(), "p03.jpg");
}

TEST_F(DirPicsTest, EmptyFolderModel) {
  EXPECT_EQ(model.GetImagesCount(), 0);
  EXPECT_EQ(model.GetImagesPerLine(500), 0);
  EXPECT_EQ(model.GetTotalLines(500), 0);
  model.SelectPics(10, 10, 0, 500, 1);
  EXPECT_EQ(model.GetSelected(), "");
  model.RemoveInvalid();
  EXPECT_EQ(model.GetImagesCount(), 0);
}

}  // namespace
