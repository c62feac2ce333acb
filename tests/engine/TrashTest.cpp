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
  const char* dataHome;  // XDG_DATA_HOME, "@" the scratch folder; empty: unset
  const char* home;      // HOME
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
  {
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(photo);
  }
  const QString trash = root + "/" + c.trash;
  if (*c.taken) {
    ASSERT_TRUE(QDir(trash).mkpath("files"));
    QFile(trash + "/files/" + c.taken).open(QIODevice::WriteOnly);
  }
  const QByteArray oldData = qgetenv("XDG_DATA_HOME"), oldHome = qgetenv("HOME");
  const QString oldCwd = QDir::currentPath();
  QDir::setCurrent(root + "/pictures");  // a trash made relative to it would show there
  auto set = [&root](const char* key, const char* value) {
    if (*value)
      qputenv(key, QString(value).replace("@", root).toUtf8());
    else
      qunsetenv(key);
  };
  set("XDG_DATA_HOME", c.dataHome);
  set("HOME", c.home);
  QString reason;
  const bool moved = Trash::Move(file, &reason);
  qputenv("XDG_DATA_HOME", oldData);
  qputenv("HOME", oldHome);
  QDir::setCurrent(oldCwd);

  ASSERT_TRUE(moved) << reason.toStdString();
  EXPECT_FALSE(QFile::exists(file));
  EXPECT_EQ(Bytes(trash + "/files/" + c.trashed), photo);
  const QByteArray info = Bytes(trash + "/info/" + c.trashed + ".trashinfo");
  const QList<QByteArray> lines = info.split('\n');
  ASSERT_GE(lines.size(), 3) << info.toStdString();
  EXPECT_EQ(lines[0], "[Trash Info]");
  EXPECT_EQ(QUrl::fromPercentEncoding(lines[1]), "Path=" + file);
  EXPECT_TRUE(lines[2].startsWith("DeletionDate=20")) << lines[2].toStdString();
  EXPECT_EQ(QDir(root + "/pictures")
                .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)
                .size(),
            0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TrashMove,
    ::testing::Values(Case{"DataHomeTrash", "@/data", "@/home", "", "data/Trash", "my photo.gif"},
                      // Without ~/.local/share, the home trash is made there, not beside the file.
                      Case{"MissingFoldersMade", "", "@/home", "", "home/.local/share/Trash",
                           "my photo.gif"},
                      Case{"RelativeDataHomePassedOver", "share", "@/home", "",
                           "home/.local/share/Trash", "my photo.gif"},
                      Case{"NameTakenGetsItsOwn", "@/data", "@/home", "my photo.gif", "data/Trash",
                           "my photo.2.gif"}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
