#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "core/modString.h"

using namespace modString;

TEST(PathParts, ExtensionsAndTitles) {
  EXPECT_EQ(GetExtension("photo"), "");
  EXPECT_EQ(GetExtension("archive.tar.gz"), "gz");
  EXPECT_EQ(GetExtension("/x/Pic.JPG"), "JPG");
  EXPECT_EQ(RemoveExtension("archive.tar.gz"), "archive.tar");
  EXPECT_EQ(RemoveExtension("photo"), "photo");
  EXPECT_EQ(GetFileTitle("/x/archive.tar.gz", true, "/"), "archive");
  EXPECT_EQ(GetFileTitle("/x/archive.tar.gz", false, "/"), "archive.tar.gz");
  EXPECT_EQ(GetFileTitle("plain.jpg", true, "/"), "plain");
  EXPECT_EQ(GetFileTitle("/x/noext", true, "/"), "noext");
}

TEST(PathParts, FolderPart) {
  EXPECT_EQ(GetFolderPart("/x/a.jpg", "/"), "/x");
  EXPECT_EQ(GetFolderPart("a.jpg", "/"), "");
  // A separator in the first position leaves no folder text before it.
  EXPECT_EQ(GetFolderPart("/a.jpg", "/"), "");
  EXPECT_EQ(GetFolderPart("/x/y/", "/"), "/x/y");
}

TEST(NextPathFromList, FolderAndNames) {
  QString list = "/pics/?a b.jpg?c.png";
  EXPECT_EQ(NextPathFromList(list, '?'), "/pics/a b.jpg");
  EXPECT_EQ(list, "/pics/?c.png");
  EXPECT_EQ(NextPathFromList(list, '?'), "/pics/c.png");
  EXPECT_EQ(list, "");
  EXPECT_EQ(NextPathFromList(list, '?'), "");
}

TEST(NextPathFromList, FolderWithoutTrailingSeparatorGetsOne) {
  QString list = QString("/pics") + QChar(0) + "a.jpg" + QChar(0) + "b.jpg";
  EXPECT_EQ(NextPathFromList(list, QChar(0)), "/pics/a.jpg");
  EXPECT_EQ(NextPathFromList(list, QChar(0)), "/pics/b.jpg");
  EXPECT_TRUE(list.isEmpty());
}

TEST(NextPathFromList, ListWithoutSeparatorIsOnePath) {
  QString list = "/pics/holiday";
  EXPECT_EQ(NextPathFromList(list, '?'), "/pics/holiday");
  EXPECT_EQ(NextPathFromList(list, '?'), "");
}

TEST(CreatePath, MakesEveryFolderBeforeASeparator) {
  QTemporaryDir tmp;
  const QString base = tmp.path();
  EXPECT_TRUE(CreatePath(base + "/out/sub/"));
  EXPECT_TRUE(QDir(base + "/out/sub").exists());
  // The last component without a trailing separator is not made.
  EXPECT_TRUE(CreatePath(base + "/out/new"));
  EXPECT_FALSE(QDir(base + "/out/new").exists());
}

TEST(CreatePath, RootAloneAndBlockedPathsFail) {
  EXPECT_FALSE(CreatePath("/"));
  EXPECT_FALSE(CreatePath("relative"));
  QTemporaryDir tmp;
  QFile file(tmp.path() + "/file");
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  EXPECT_FALSE(CreatePath(tmp.path() + "/file/sub/"));
}
