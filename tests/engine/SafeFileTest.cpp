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

#include "TestEnv.h"
#include "engine/GuardedMapping.h"
#include "engine/ImageDescriptor.h"
#include "engine/JpegCodec.h"
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

// A refusal names the file and says why in words; the file at the name stays as it is then.
struct Refusal {
  const char* name;
  mode_t folderMode;
  bool otherUser;      // the file belongs to root and an ordinary user writes (root only)
  const char* change;  // "save": an editor saves it anew after it was read
  const char* reason;  // %1: the file's path
};

class SafeReplaceRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(SafeReplaceRefusal, SaysWhyAndKeepsTheFile) {
  const Refusal c = GetParam();
  if (c.otherUser && ::geteuid() != 0) GTEST_SKIP() << "needs root to own a file for another";
  QTemporaryDir dir;
  const QString name = dir.path() + "/folder/a.jpg";
  ASSERT_TRUE(QDir(dir.path()).mkpath("folder"));
  Put(name, "old bytes");
  ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
  ::chmod(QFile::encodeName(name).constData(), 0666);
  const SafeFile::Identity read = SafeFile::IdentityOf(name);
  QByteArray now = "old bytes";
  if (QByteArray(c.change) == "save") {
    Put(name + ".new", now = "saved anew");
    ASSERT_EQ(
        ::rename(QFile::encodeName(name + ".new").constData(), QFile::encodeName(name).constData()),
        0);
  }
  ::chmod(QFile::encodeName(dir.path() + "/folder").constData(), c.folderMode);
  int pipeFds[2];
  ASSERT_EQ(::pipe(pipeFds), 0);
  const pid_t pid = ::fork();
  if (pid == 0) {
    // Root may write anywhere: the write is tried by an ordinary user.
    if (::geteuid() == 0 && !*c.change && ::setuid(1234) != 0) ::_exit(2);
    QString reason;
    SafeFile::Replace(name, "new bytes", &reason, QString(), *c.change ? &read : nullptr);
    const QByteArray text = reason.toUtf8();
    (void)!::write(pipeFds[1], text.constData(), std::size_t(text.size()));
    ::_exit(0);
  }
  ::close(pipeFds[1]);
  char buffer[512] = {};
  const ssize_t got = ::read(pipeFds[0], buffer, sizeof buffer - 1);
  ::close(pipeFds[0]);
  ::waitpid(pid, nullptr, 0);
  ::chmod(QFile::encodeName(dir.path() + "/folder").constData(), 0755);
  ASSERT_GT(got, 0);
  EXPECT_EQ(QString::fromUtf8(buffer), QString(c.reason).arg(name));
  EXPECT_EQ(Bytes(name), now);
  EXPECT_EQ(QDir(dir.path() + "/folder").entryList(QDir::Files | QDir::Hidden).size(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SafeReplaceRefusal,
    ::testing::Values(
        Refusal{"LockedFolder", 0555, false, "", "cannot write %1: permission denied"},
        // Another user's file in a folder anyone may write: a new file would be the writer's.
        Refusal{"AnotherUsersFile", 0777, true, "",
                "cannot replace %1: it belongs to another user, and a replacement would not keep "
                "its owner"},
        // An editor saved the file anew, or a program added to it, after it was read.
        Refusal{"SavedAnewSinceRead", 0755, false, "save",
                "changed while it was being optimised; left as it is now"}),
    [](const ::testing::TestParamInfo<Refusal>& info) { return std::string(info.param.name); });

// A file cut short by another program while it is read: no crash, the reader is told.
class CutWhileRead : public ::testing::TestWithParam<double> {};

TEST_P(CutWhileRead, ReadsZerosAndSaysSo) {
  QTemporaryDir dir;
  const QString name = dir.path() + "/a.jpg";
  const QByteArray photo = Bytes(TestEnv::SourceDir() + "/samples/Evening field.jpg");
  ASSERT_GT(photo.size(), 100000);
  Put(name, photo);
  QFile file(name);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const GuardedMapping mapped(file.handle(), std::size_t(file.size()));
  ASSERT_NE(mapped.Data(), nullptr);
  const qint64 kept = qint64(photo.size() * GetParam());
  ASSERT_EQ(::truncate(QFile::encodeName(name).constData(), kept), 0);
  ImageDescriptor picture;
  int orientation = 1;
  const bool decoded = JpegCodec::Decode(mapped.Data(), mapped.Size(), picture, &orientation);
  EXPECT_EQ(mapped.Changed(), kept < photo.size());
  EXPECT_TRUE(decoded || kept < photo.size());
}

INSTANTIATE_TEST_SUITE_P(Cuts, CutWhileRead, ::testing::Values(1.0, 0.5, 0.0));

}  // namespace
