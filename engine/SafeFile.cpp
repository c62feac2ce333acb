#include "engine/SafeFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <vector>

namespace SafeFile {
namespace {

mode_t CurrentUmask() {
  static const mode_t mask = [] {
    const mode_t m = ::umask(0);
    ::umask(m);
    return m;
  }();
  return mask;
}

bool WriteAll(int fd, const char* data, qsizetype size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, std::size_t(size));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = ENOSPC;
      return false;
    }
    data += n;
    size -= n;
  }
  return true;
}

// Best effort: a file system without them, or a name only the kernel may set, is passed over.
void CopyExtendedAttributes(const QByteArray& from, int to) {
  const int fd = ::open(from.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return;
  const ssize_t size = ::flistxattr(fd, nullptr, 0);
  if (size > 0) {
    std::vector<char> names(static_cast<std::size_t>(size));
    const ssize_t got = ::flistxattr(fd, names.data(), names.size());
    for (ssize_t at = 0; at < got; at += ssize_t(std::strlen(names.data() + at)) + 1) {
      const char* name = names.data() + at;
      const ssize_t len = ::fgetxattr(fd, name, nullptr, 0);
      if (len < 0) continue;
      std::vector<char> value(std::size_t(len) + 1);
      const ssize_t vlen = ::fgetxattr(fd, name, value.data(), value.size());
      if (vlen >= 0) ::fsetxattr(to, name, value.data(), std::size_t(vlen), 0);
    }
  }
  ::close(fd);
}

// The temporary file a signal handler removes when the process is told to end mid-write.
char pendingTemp[4096];
std::atomic<bool> pending{false};

void SetPending(const QByteArray& temp) {
  if (pending.load() || temp.size() >= qsizetype(sizeof pendingTemp)) return;
  std::memcpy(pendingTemp, temp.constData(), std::size_t(temp.size()) + 1);
  pending.store(true);
}

// The old file's owner, group and bits on the new one; a new name gets the bits any
// program would create it with. Empty, or why the old file's owner or group cannot be kept.
QString TakeOverAttributes(const QByteArray& path, int fd) {
  struct stat old {};
  if (::lstat(path.constData(), &old) != 0 || !S_ISREG(old.st_mode)) {
    ::fchmod(fd, 0666 & ~CurrentUmask());
    return {};
  }
  // Only root may give a file away, and only a member may give it a group.
  if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
    if (old.st_uid != ::geteuid())
      return QStringLiteral(
          "it belongs to another user, and a replacement would not keep its owner");
    return QStringLiteral("a replacement would not keep its group");
  }
  ::fchmod(fd, old.st_mode & 07777);  // after fchown, which clears set-id bits
  CopyExtendedAttributes(path, fd);
  return {};
}

// Written last: every write sets the time again.
void TakeOverDate(const QString& from, int fd) {
  struct stat old {};
  if (from.isEmpty() || ::stat(QFile::encodeName(from).constData(), &old) != 0) return;
  const timespec times[2] = {old.st_atim, old.st_mtim};
  ::futimens(fd, times);
}

bool Fail(QString* reason, const QString& path, int error) {
  if (reason) *reason = QStringLiteral("cannot write %1: %2").arg(path, ErrorText(error));
  return false;
}

}  // namespace

QString ErrorText(int error) {
  switch (error) {
    case EACCES:
    case EPERM:
      return QStringLiteral("permission denied");
    case ENOSPC:
      return QStringLiteral("disk full");
    case EDQUOT:
      return QStringLiteral("disk quota exceeded");
    case EROFS:
      return QStringLiteral("read-only file system");
    case ENOENT:
      return QStringLiteral("the folder does not exist");
    case EISDIR:
      return QStringLiteral("it is a folder");
    case ENAMETOOLONG:
      return QStringLiteral("the name is too long");
    default:
      return QString::fromLocal8Bit(std::strerror(error));
  }
}

bool IsWriteProtected(const QString& path) {
  const QFileInfo info(path);
  if (info.isSymLink() || !info.exists()) return false;  // a link is replaced, not written
  // WriteUser is left out: for root it says "writable" whatever the bits say.
  constexpr QFile::Permissions kAnyWrite =
      QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
  return (info.permissions() & kAnyWrite) == 0 || !info.isWritable();
}

Identity IdentityOf(const QString& path) {
  Identity id;
  struct stat st {};
  if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &st) != 0) return id;
  id.device = st.st_dev;
  id.inode = st.st_ino;
  id.size = st.st_size;
  id.seconds = st.st_mtim.tv_sec;
  id.nanoseconds = st.st_mtim.tv_nsec;
  return id;
}

bool IsSameFile(const QString& source, const QString& dest) {
  if (dest == source) return true;
  const QFileInfo d(dest), s(source);
  return d.exists() && s.exists() && !d.isSymLink() &&
         d.canonicalFilePath() == s.canonicalFilePath();
}

QString ChangedText() {
  return QStringLiteral("changed while it was being optimised; left as it is now");
}

void RemovePendingTemporary() {
  if (pending.exchange(false)) ::unlink(pendingTemp);
}

bool Replace(const QString& path, const QByteArray& bytes, QString* reason, const QString& dateFrom,
             const Identity* unchanged) {
  if (path.isEmpty()) return Fail(reason, path, ENOENT);
  const QFileInfo info(path);
  if (!info.isSymLink() && info.isDir()) return Fail(reason, path, EISDIR);
  if (IsWriteProtected(path)) {
    if (reason) *reason = QStringLiteral("cannot write %1: the file is write-protected").arg(path);
    return false;
  }
  const QByteArray target = QFile::encodeName(path);
  const QByteArray folder = QFile::encodeName(info.absolutePath());
  QByteArray temp = folder + "/." + QFile::encodeName(info.fileName()).left(200) + ".XXXXXX";
  const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return Fail(reason, path, errno);
  SetPending(temp);
  const QString kept = TakeOverAttributes(target, fd);
  if (!kept.isEmpty()) {
    ::close(fd);
    ::unlink(temp.constData());
    pending.store(false);
    if (reason) *reason = QStringLiteral("cannot replace %1: %2").arg(path, kept);
    return false;
  }
  bool ok = WriteAll(fd, bytes.constData(), bytes.size());
  if (ok) TakeOverDate(dateFrom, fd);
  ok = ok && ::fsync(fd) == 0;
  int error = errno;
  if (::close(fd) != 0 && ok) ok = false, error = errno;
  // Checked as late as can be: an editor's save between here and the rename is the only gap.
  const bool same = !ok || !unchanged || IdentityOf(path) == *unchanged;
  if (ok && same && ::rename(temp.constData(), target.constData()) != 0) ok = false, error = errno;
  if (!ok || !same) {
    ::unlink(temp.constData());
    pending.store(false);
    if (!same) {
      if (reason) *reason = ChangedText();
      return false;
    }
    return Fail(reason, path, error);
  }
  pending.store(false);
  // The rename is only durable once the folder's entry is on disk.
  const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

bool Read(const QString& path, QByteArray& bytes, qint64 maxBytes) {
  if (path.isEmpty()) return false;  // QFile would warn on the console about it
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  bytes = maxBytes < 0 ? file.readAll() : file.read(maxBytes);
  return file.error() == QFile::NoError;
}

}  // namespace SafeFile

bool SafeFile::NameUnreadable(const QString& path) {
  return path.contains(QChar::ReplacementCharacter) && !QFileInfo::exists(path);
}

QString SafeFile::MissingReason(const QString& path) {
  return NameUnreadable(path) ? QStringLiteral("file name is not valid UTF-8, cannot open: ") + path
                              : QStringLiteral("no such file");
}

QStringList SafeFile::UndecodableNames(const QString& folder) {
  QStringList names;
  DIR* dir = opendir(QFile::encodeName(folder).constData());
  if (!dir) return names;
  while (const dirent* entry = readdir(dir)) {
    const QByteArray raw(entry->d_name);
    const QString name = QString::fromUtf8(raw);
    if (name.toUtf8() != raw) names << name;
  }
  closedir(dir);
  return names;
}
