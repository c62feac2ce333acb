// The desktop trash: where a file goes, what its record says, and where no folder is made.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

#include "TestEnv.h"
#include "engine/Trash.h"

namespace {

QByteArray Bytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct Case {
  const char* name;
  const char* dataHome;  // XDG_DATA_HOME, "@" the scratch folder; empty: unset (HOME is @/home)
  const char* taken;     // a name already in the trash's files/, or empty
  const char* trash;     // the trash folder expected, below the scratch folder
  const char* trashed;   // the name the file gets there
};

class TrashMove : public ::testing::TestWithParam<Case> {};

TEST_P(TrashMove, GoesToTheTrashOfItsDiskWithItsRecordFirst) {
  const Case c = GetParam();
  QTemporaryDir dir;
  const QString root = dir.path();
  const QByteArray photo = Bytes(TestEnv::SourceDir() + "/samples/Coast.gif");
  const QString file = root + "/pictures/my photo.gif";
  ASSERT_TRUE(QDir(root).mkpath("pictures"));
  ASSERT_TRUE(QFile::copy(TestEnv::SourceDir() + "/samples/Coast.gif", file));
  const QString trash = root + "/" + c.trash;
  if (*c.taken) {
    ASSERT_TRUE(QDir(trash).mkpath("files"));
    QFile(trash + "/files/" + c.taken).open(QIODevice::WriteOnly);
  }
  const QByteArray oldData = qgetenv("XDG_DATA_HOME"), oldHome = qgetenv("HOME");
  const QString oldCwd = QDir::currentPath();
  QDir::setCurrent(root + "/pictures");  // a trash made relative to it would show there
  qputenv("XDG_DATA_HOME", QString(c.dataHome).replace("@", root).toUtf8());
  qputenv("HOME", QFile::encodeName(root + "/home"));
  QString reason;
  const bool moved = Trash::Move(file, &reason);
  qputenv("XDG_DATA_HOME", oldData);
  qputenv("HOME", oldHome);
  QDir::setCurrent(oldCwd);

  ASSERT_TRUE(moved) << reason.toStdString();
  EXPECT_FALSE(QFile::exists(file));
  EXPECT_EQ(Bytes(trash + "/files/" + c.trashed), photo);
  const QByteArray info = Bytes(trash + "/info/" + c.trashed + ".trashinfo");
  EXPECT_TRUE(QUrl::fromPercentEncoding(info).startsWith("[Trash Info]\nPath=" + file +
                                                         "\nDeletionDate=20"))
      << info.toStdString();
  EXPECT_EQ(QDir(root + "/pictures")
                .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)
                .size(),
            0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TrashMove,
    ::testing::Values(
        Case{"DataHomeTrash", "@/data", "", "data/Trash", "my photo.gif"},
        // Without ~/.local/share, the home trash is made there, not beside the file.
        Case{"MissingFoldersMade", "", "", "home/.local/share/Trash", "my photo.gif"},
        Case{"RelativeDataHomePassedOver", "share", "", "home/.local/share/Trash", "my photo.gif"},
        Case{"NameTakenGetsItsOwn", "@/data", "my photo.gif", "data/Trash", "my photo.2.gif"}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
