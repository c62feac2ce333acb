#include "BatchInputs.h"

#include <QDir>
#include <QFileInfo>

#include "modPublic.h"
#include "modString.h"

bool BatchInputs::IsSupportedName(const QString& fileName) {
  return modPublic::GetImageType(modString::GetExtension(fileName)) > 0;
}

QStringList BatchInputs::FilesFromPath(const QString& folder, bool subFolders) {
  QStringList files;
  const QDir dir(folder);
  const QFileInfoList entries =
      dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
  for (const QFileInfo& entry : entries) {
    if (entry.isDir()) {
      if (subFolders && !entry.isSymLink()) files += FilesFromPath(entry.absoluteFilePath(), true);
    } else if (IsSupportedName(entry.fileName())) {
      files << entry.absoluteFilePath();
    }
  }
  return files;
}
