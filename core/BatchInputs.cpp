#include "core/BatchInputs.h"

#include <QDir>
#include <QFileInfo>

#include "core/InputCheck.h"
#include "core/modPublic.h"
#include "core/modString.h"
#include "engine/SafeFile.h"

bool BatchInputs::IsSupportedName(const QString& fileName) {
  return modPublic::GetImageType(modString::GetExtension(fileName)) > 0;
}

QStringList BatchInputs::FilesFromPath(const QString& folder, bool subFolders,
                                       QStringList* unreadable) {
  QStringList files;
  const QDir dir(folder);
  // Qt lists an unreadable folder as empty; it is named instead of passed over.
  if (!InputCheck::Folder(folder).isEmpty()) {
    if (unreadable) *unreadable << QDir::cleanPath(dir.absolutePath());
    return files;
  }
  const QFileInfoList entries =
      dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
  for (const QFileInfo& entry : entries) {
    if (entry.isDir()) {
      if (subFolders && !entry.isSymLink())
        files += FilesFromPath(entry.absoluteFilePath(), true, unreadable);
    } else if (IsSupportedName(entry.fileName())) {
      files << entry.absoluteFilePath();
    }
  }
  AddUndecodableNames(dir.absolutePath(), files);
  return files;
}

void BatchInputs::AddUndecodableNames(const QString& folder, QStringList& files) {
  // Qt leaves out names that are not valid UTF-8 (legal on Linux) without a word. Listed with
  // replacement characters they cannot be opened, but the run names them instead of passing
  // over them in silence.
  for (const QString& name : SafeFile::UndecodableNames(folder))
    if (IsSupportedName(name)) files << folder + QLatin1Char('/') + name;
}

QString BatchInputs::Identity(const QString& path) {
  const SafeFile::Identity id = SafeFile::IdentityOf(path);
  if (id.size < 0) return path;
  return QStringLiteral("%1:%2").arg(id.device).arg(id.inode);
}

bool BatchInputs::InOutputFolder(const QString& path, const QString& root,
                                 const QString& outputDir) {
  if (root.isEmpty() || outputDir.isEmpty()) return false;
  const QString out = QFileInfo(outputDir).canonicalFilePath();
  if (out.isEmpty() || out == QFileInfo(root).canonicalFilePath()) return false;
  const QString folder = QFileInfo(QFileInfo(path).absolutePath()).canonicalFilePath();
  return (folder + '/').startsWith(out + '/');
}
