#include "core/modString.h"

#include <QDir>
#include <QFileInfo>

namespace modString {

QString GetExtension(const QString& path) {
  const qsizetype dot = path.lastIndexOf('.');
  return dot < 0 ? QString() : path.mid(dot + 1);
}

QString RemoveExtension(const QString& path) {
  const qsizetype dot = path.lastIndexOf('.');
  return dot < 0 ? path : path.left(dot);
}

QString GetFileTitle(const QString& path, bool bStrip, const QString& separator) {
  const qsizetype sep = separator.isEmpty() ? -1 : path.lastIndexOf(separator);
  QString title = sep < 0 ? path : path.mid(sep + separator.size());
  if (bStrip) {
    const qsizetype dot = title.indexOf('.');
    if (dot >= 0) title.truncate(dot);
  }
  return title;
}

QString GetFolderPart(const QString& path, const QString& separator) {
  const qsizetype sep = separator.isEmpty() ? -1 : path.lastIndexOf(separator);
  // Position 2 or later in 1-based counting: index 1 or later here.
  return sep >= 1 ? path.left(sep) : QString();
}

bool CreatePath(const QString& path) {
  const qsizetype root = path.indexOf('/');
  if (root < 0) return false;
  QString last;
  for (qsizetype sep = path.indexOf('/', root + 1); sep >= 0; sep = path.indexOf('/', sep + 1)) {
    last = path.left(sep);
    const QFileInfo info(last);
    if (info.isDir()) continue;
    if (info.exists() || !QDir().mkdir(last)) return false;  // a file in the way, or no rights
  }
  if (last.isEmpty()) return false;
  const QString name = QFileInfo(last).fileName();
  return QFileInfo(last).isDir() && !name.isEmpty() && name != "FOUND.000" && name != ".." &&
         name != ".";
}

QString NextPathFromList(QString& list, QChar separator) {
  const qsizetype p = list.indexOf(separator);
  if (p < 0) {
    QString whole = list;
    list.clear();
    return whole;
  }
  QString folder = list.left(p);
  if (!folder.endsWith('/')) folder += '/';
  const QString rest = list.mid(p + 1);
  const qsizetype q = rest.indexOf(separator);
  if (q < 0) {
    list.clear();
    return folder + rest;
  }
  list = folder + rest.mid(q);
  return folder + rest.left(q);
}

}  // namespace modString
