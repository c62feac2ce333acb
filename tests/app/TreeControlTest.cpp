// The folder tree: a deep folder made current although the model lists folders lazily.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileSystemModel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include "controls/TreeControl.h"

namespace {

class TreeControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    deep = dir.path() + "/one/two/three/four";
    ASSERT_TRUE(QDir().mkpath(deep));
    tree.resize(300, 400);
    tree.show();
  }
  QString CurrentInView() const {
    const auto* model = static_cast<const QFileSystemModel*>(tree.View()->model());
    return model->filePath(tree.View()->currentIndex());
  }

  QTemporaryDir dir;
  QString deep;
  TreeControl tree;
};

TEST_F(TreeControlTest, DeepFolderBecomesCurrentExpandedAndNotifiedOnce) {
  QSignalSpy spy(&tree, &TreeControl::FolderSelected);
  tree.SetCurrentFolder(deep);
  ASSERT_EQ(spy.count(), 1);
  EXPECT_EQ(spy.at(0).at(0).toString(), deep);
  EXPECT_EQ(tree.CurrentFolder(), deep);
  // The listings arrive later; the folder must still be the current row then.
  QTest::qWait(300);
  EXPECT_EQ(CurrentInView(), deep);
  const QModelIndex parent = tree.View()->currentIndex().parent();
  EXPECT_TRUE(tree.View()->isExpanded(parent));

  tree.SetCurrentFolder(deep);
  EXPECT_EQ(spy.count(), 1) << "the same folder again is no new choice";
}

TEST_F(TreeControlTest, PathsThatAreNoFoldersAreIgnored) {
  tree.SetCurrentFolder(deep);
  QSignalSpy spy(&tree, &TreeControl::FolderSelected);
  for (const QString& path : {dir.path() + "/missing", QString(), deep + "/../nothing"}) {
    tree.SetCurrentFolder(path);
    EXPECT_EQ(tree.CurrentFolder(), deep) << path.toStdString();
  }
  EXPECT_EQ(spy.count(), 0);
}

TEST_F(TreeControlTest, RefreshKeepsTheFolderOrFallsBackToTheNearestOneLeft) {
  tree.SetCurrentFolder(deep);
  QSignalSpy spy(&tree, &TreeControl::FolderSelected);
  tree.Refresh();
  EXPECT_EQ(tree.CurrentFolder(), deep);
  EXPECT_EQ(CurrentInView(), deep);
  EXPECT_EQ(spy.count(), 0);

  ASSERT_TRUE(QDir(dir.path() + "/one/two").removeRecursively());
  tree.Refresh();
  EXPECT_EQ(tree.CurrentFolder(), dir.path() + "/one");
  EXPECT_EQ(spy.count(), 1);
}

TEST_F(TreeControlTest, ClickedFolderIsNotified) {
  tree.SetCurrentFolder(deep);
  QTest::qWait(300);
  QSignalSpy spy(&tree, &TreeControl::FolderSelected);
  const QModelIndex parent = tree.View()->currentIndex().parent();
  tree.View()->scrollTo(parent);
  const QRect rect = tree.View()->visualRect(parent);
  ASSERT_TRUE(rect.isValid());
  QTest::mouseClick(tree.View()->viewport(), Qt::LeftButton, {}, rect.center());
  ASSERT_EQ(spy.count(), 1);
  EXPECT_EQ(spy.at(0).at(0).toString(), dir.path() + "/one/two/three");
}

}  // namespace
