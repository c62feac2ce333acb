#include "batch/BatchInputs.h"

#include <QDir>
#include <QFileInfo>

#include "app/helpers/modPublic.h"
#include "app/helpers/modString.h"
#include "engine/SafeFile.h"

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
