#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>

#include "engine/SafeFile.h"

namespace {

QByteArray Bytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Put(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

struct stat Stat(const QString& path) {
  struct stat s {};
  ::lstat(QFile::encodeName(path).constData(), &s);
  return s;
}

// What a replace must leave behind, per case: how the old file was before the write.
struct Case {
  const char* name;
  uid_t owner;  // chown-ed to this when running as root
  mode_t mode;
  bool link;  // the name is a link to a file outside the folder
  bool keepDate;
  bool xattr;  // a user attribute that must come along
};

class SafeReplace : public ::testing::TestWithParam<Case> {};

TEST_P(SafeReplace, KeepsWhatTheOldFileHadAndNeverWritesThroughALink) {
  const Case c = GetParam();
  QTemporaryDir dir;
  ASSERT_TRUE(QDir(dir.path()).mkpath("out"));
  const QString name = dir.path() + "/out/a.jpg";
  const QString outside = dir.path() + "/elsewhere.jpg";
  Put(c.link ? outside : name, "old bytes");
  if (c.link) {
    ASSERT_TRUE(QFile::link(outside, name));
  }
  const QString real = c.link ? outside : name;
  if (::geteuid() == 0) {
    ASSERT_EQ(::chown(QFile::encodeName(real).constData(), c.owner, c.owner), 0);
  }
  ASSERT_EQ(::chmod(QFile::encodeName(real).constData(), c.mode), 0);
  timespec old[2] = {{1000000000, 0}, {1000000000, 0}};  // 2001
  ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(real).constData(), old, 0), 0);
  bool xattrKept = c.xattr;
  if (c.xattr && ::setxattr(QFile::encodeName(name).constData(), "user.trimjet", "v", 1, 0) != 0) {
    ASSERT_EQ(errno, ENOTSUP);  // the scratch file system keeps none
    xattrKept = false;
  }

  QString reason;
  ASSERT_TRUE(SafeFile::Replace(name, "new bytes", &reason, c.keepDate ? name : QString()))
      << reason.toStdString();

  EXPECT_EQ(Bytes(name), "new bytes");
  const struct stat s = Stat(name);
  EXPECT_TRUE(S_ISREG(s.st_mode));
  if (c.link) {
    EXPECT_EQ(Bytes(outside), "old bytes");  // the link's target is another file
    return;
  }
  EXPECT_EQ(s.st_mode & 07777, c.mode);
  if (::geteuid() == 0) {
    EXPECT_EQ(s.st_uid, c.owner);
    EXPECT_EQ(s.st_gid, c.owner);
  }
  EXPECT_EQ(s.st_mtim.tv_sec == 1000000000, c.keepDate);
  if (xattrKept) {
    char v[4] = {};
    EXPECT_EQ(::getxattr(QFile::encodeName(name).constData(), "user.trimjet", v, sizeof v), 1);
  }
  // No temporary file is left beside it.
  EXPECT_EQ(QDir(dir.path() + "/out").entryList(QDir::Files | QDir::Hidden).size(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SafeReplace,
    ::testing::Values(Case{"OtherOwnerPrivate", 1234, 0600, false, false, true},
                      Case{"GroupReadable", 1234, 0640, false, true, false},
                      Case{"LinkToOutside", 0, 0644, true, false, false}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

// A failure names the file and says why in words; the old file stays as it was.
TEST(SafeReplaceFailure, SaysPermissionDeniedAndKeepsTheFile) {
  QTemporaryDir dir;
  const QString name = dir.path() + "/locked/a.jpg";
  ASSERT_TRUE(QDir(dir.path()).mkpath("locked"));
  Put(name, "old bytes");
  ::chmod(QFile::encodeName(dir.path() + "/locked").constData(), 0555);
  int pipeFds[2];
  ASSERT_EQ(::pipe(pipeFds), 0);
  // Root may write anywhere: the write is tried by an ordinary user.
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (::geteuid() == 0 && ::setuid(1234) != 0) ::_exit(2);
    QString reason;
    SafeFile::Replace(name, "new bytes", &reason);
    const QByteArray text = reason.toUtf8();
    (void)!::write(pipeFds[1], text.constData(), std::size_t(text.size()));
    ::_exit(0);
  }
  ::close(pipeFds[1]);
  char buffer[512] = {};
  const ssize_t got = ::read(pipeFds[0], buffer, sizeof buffer - 1);
  ::close(pipeFds[0]);
  ::waitpid(pid, nullptr, 0);
  ::chmod(QFile::encodeName(dir.path() + "/locked").constData(), 0755);
  ASSERT_GT(got, 0);
  EXPECT_EQ(QString::fromUtf8(buffer), "cannot write " + name + ": permission denied");
  EXPECT_EQ(Bytes(name), "old bytes");
}

}  // namespace
