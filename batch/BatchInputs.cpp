#include "BatchInputs.h"

#include <dirent.h>

#include <QDir>
#include <QFile>
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
  AddUndecodableNames(dir.absolutePath(), files);
  return files;
}

void BatchInputs::AddUndecodableNames(const QString& folder, QStringList& files) {
  // Qt leaves out names that are not valid UTF-8 (legal on Linux) without a word. They are
  // listed with replacement characters, under which they cannot be opened, so that the run
  // names them instead of passing over them in silence.
  DIR* dir = opendir(QFile::encodeName(folder).constData());
  if (!dir) return;
  while (const dirent* entry = readdir(dir)) {
    const QByteArray raw(entry->d_name);
    const QString name = QString::fromUtf8(raw);
    if (name.toUtf8() != raw && IsSupportedName(name)) files << folder + QLatin1Char('/') + name;
  }
  closedir(dir);
}
