#include "engine/Trash.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <cerrno>
#include <cstdlib>

#include "engine/SafeFile.h"

namespace {

bool Stat(const QByteArray& path, struct stat& st) { return ::stat(path.constData(), &st) == 0; }

QByteArray Parent(const QByteArray& path) {
  const qsizetype slash = path.lastIndexOf('/');
  return slash <= 0 ? QByteArray("/") : path.left(slash);
}

// A folder of ours: made when missing, refused when it is a link or not a folder.
bool OwnFolder(const QByteArray& path) {
  if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST) return false;
  struct stat st {};
  return ::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Only absolute places count: a relative one would put the trash under the current folder.
QByteArray DataHome() {
  const QByteArray xdg = qgetenv("XDG_DATA_HOME");
  if (xdg.startsWith('/')) return xdg;
  QByteArray home = qgetenv("HOME");
  if (!home.startsWith('/')) {
    const passwd* user = ::getpwuid(::getuid());
    home = user && user->pw_dir ? QByteArray(user->pw_dir) : QByteArray();
  }
  return home.startsWith('/') ? home + "/.local/share" : QByteArray();
}

// The home trash, when the file is on its file system (or, while it does not exist yet, on
// that of the nearest folder above it); its folders are made as needed.
QByteArray HomeTrash(dev_t device) {
  const QByteArray data = DataHome();
  if (data.isEmpty()) return {};
  QByteArray probe = data + "/Trash";
  struct stat st {};
  while (!Stat(probe, st))
    if (probe == "/" || (probe = Parent(probe)).isEmpty()) return {};
  if (st.st_dev != device) return {};
  QByteArray made;
  for (const QByteArray& part : (data + "/Trash").split('/')) {
    if (part.isEmpty()) continue;
    made += "/" + part;
    if (!OwnFolder(made)) return {};
  }
  return made;
}

// The top folder of the file system that folder is on.
QByteArray TopDir(const QByteArray& folder, dev_t device) {
  QByteArray top = folder;
  struct stat st {};
  while (top != "/" && Stat(Parent(top), st) && st.st_dev == device) top = Parent(top);
  return top;
}

QByteArray TopTrash(const QByteArray& top) {
  const QByteArray uid = QByteArray::number(::getuid());
  const QByteArray base = top == "/" ? QByteArray() : top;
  struct stat st {};
  // An administrator's shared .Trash counts only when sticky and not a link.
  if (::lstat((base + "/.Trash").constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
      (st.st_mode & S_ISVTX) && OwnFolder(base + "/.Trash/" + uid))
    return base + "/.Trash/" + uid;
  const QByteArray own = base + "/.Trash-" + uid;
  if (!OwnFolder(own) || ::lstat(own.constData(), &st) != 0 || st.st_uid != ::getuid()) return {};
  return own;
}

QByteArray Numbered(const QByteArray& name, int n) {
  if (n == 1) return name;
  const qsizetype dot = name.lastIndexOf('.');
  const QByteArray number = "." + QByteArray::number(n);
  return dot > 0 ? name.left(dot) + number + name.mid(dot) : name + number;
}

bool Fail(QString* reason, const QString& text) {
  if (reason) *reason = text;
  return false;
}

}  // namespace

bool Trash::Move(const QString& path, QString* reason) {
  const QFileInfo info(path);
  const QByteArray name = QFile::encodeName(info.fileName());
  char* real = ::realpath(QFile::encodeName(info.absolutePath()).constData(), nullptr);
  const QByteArray folder = real ? QByteArray(real) : QByteArray();
  std::free(real);
  const QByteArray file = (folder == "/" ? QByteArray() : folder) + "/" + name;
  struct stat st {};
  if (folder.isEmpty() || name.isEmpty() || ::lstat(file.constData(), &st) != 0)
    return Fail(reason, QStringLiteral("no such file"));
  QByteArray trash = HomeTrash(st.st_dev);
  QByteArray shown = file;  // the home trash keeps the whole path, a top folder's its own part
  if (trash.isEmpty()) {
    struct stat dir {};
    const QByteArray top = Stat(folder, dir) ? TopDir(folder, dir.st_dev) : QByteArray();
    trash = top.isEmpty() ? QByteArray() : TopTrash(top);
    shown = file.mid(top == "/" ? 1 : top.size() + 1);
  }
  if (trash.isEmpty() || !OwnFolder(trash + "/files") || !OwnFolder(trash + "/info"))
    return Fail(reason, QStringLiteral("there is no trash on its disk that it could go to"));

  const QByteArray entry =
      "[Trash Info]\nPath=" + QUrl::toPercentEncoding(shown, "/") +
      "\nDeletionDate=" + QDateTime::currentDateTime().toString("yyyy-MM-ddTHH:mm:ss").toLatin1() +
      "\n";
  for (int n = 1; n < 10000; ++n) {
    const QByteArray chosen = Numbered(name, n);
    const QByteArray infoPath = trash + "/info/" + chosen + ".trashinfo";
    const QByteArray target = trash + "/files/" + chosen;
    const int fd = ::open(infoPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0 && errno == EEXIST) continue;
    if (fd < 0) return Fail(reason, SafeFile::ErrorText(errno));
    struct stat taken {};
    const bool written = ::write(fd, entry.constData(), std::size_t(entry.size())) == entry.size();
    ::close(fd);
    if (written && ::lstat(target.constData(), &taken) != 0 &&
        ::rename(file.constData(), target.constData()) == 0)
      return true;
    const int error = errno;
    ::unlink(infoPath.constData());
    if (written && ::lstat(target.constData(), &taken) == 0) continue;  // a leftover of old
    return Fail(reason, SafeFile::ErrorText(written ? error : ENOSPC));
  }
  return Fail(reason, QStringLiteral("too many files of that name in the trash"));
}
