#include "core/AppInfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace AppInfo {
namespace {
QString& HelpFilePath() {
  static QString path;
  return path;
}
}  // namespace

int VersionMajor() { return TRIMJET_VERSION_MAJOR; }
int VersionMinor() { return TRIMJET_VERSION_MINOR; }

QString ProgramFolder() {
  // Before a QCoreApplication exists there is no executable path to ask for.
  if (!QCoreApplication::instance()) return QDir::currentPath();
  return QCoreApplication::applicationDirPath();
}

QString PicturesFolder() {
  const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
  if (!pictures.isEmpty() && QFileInfo(pictures).isDir()) return pictures;
  return QDir::homePath();
}

QString HelpFile() { return HelpFilePath(); }
void SetHelpFile(const QString& path) { HelpFilePath() = path; }

QString FindDataFile(const QString& fileName) {
  const QString beside = ProgramFolder() + "/" + fileName;
  if (QFileInfo::exists(beside)) return beside;
  // Installed, the program lives in PREFIX/lib/trimjet and its data in PREFIX/share/trimjet.
  for (const char* up : {"/../../share/trimjet/", "/../share/trimjet/"}) {
    const QString shared = QDir::cleanPath(ProgramFolder() + up + fileName);
    if (QFileInfo::exists(shared)) return shared;
  }
  return beside;
}

}  // namespace AppInfo
