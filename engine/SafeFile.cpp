#include "SafeFile.h"

#include <dirent.h>

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace SafeFile {

bool IsWriteProtected(const QString& path) {
  const QFileInfo info(path);
  if (!info.exists()) return false;
  // WriteUser is left out: for root it says "writable" whatever the bits say.
  constexpr QFile::Permissions kAnyWrite =
      QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
  return (info.permissions() & kAnyWrite) == 0 || !info.isWritable();
}

bool Replace(const QString& path, const QByteArray& bytes) {
  if (path.isEmpty() || IsWriteProtected(path) || QFileInfo(path).isDir()) return false;
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  if (file.write(bytes) != bytes.size()) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
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
