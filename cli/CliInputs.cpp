#include "cli/CliInputs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <cstdio>

#include "core/BatchInputs.h"
#include "core/InputCheck.h"
#include "engine/SafeFile.h"

bool CliInputs::ReadNames(const QString& file, bool nulSeparated, QStringList& names,
                          QString& error) {
  QFile f(file);
  const bool opened =
      file == QLatin1String("-") ? f.open(stdin, QIODevice::ReadOnly) : f.open(QIODevice::ReadOnly);
  if (!opened) {
    error = QStringLiteral("cannot read %1: %2").arg(file, f.errorString());
    return false;
  }
  const QByteArray all = f.readAll();
  // Names are bytes on Linux; a blank, a tab or even a line feed may be part of one.
  for (const QByteArray& name : all.split(nulSeparated ? '\0' : '\n'))
    if (!name.isEmpty()) names << QFile::decodeName(name);
  return true;
}

void CliInputs::Collect(const QStringList& inputs, bool recursive, std::vector<Picture>& pictures) {
  auto slashed = [](const QString& f) { return f.endsWith(QLatin1Char('/')) ? f : f + '/'; };
  const QString current = slashed(QDir::currentPath());
  QSet<QString> seen;
  for (const Picture& p : pictures) seen.insert(BatchInputs::Identity(p.path));
  for (const QString& input : inputs) {
    const QFileInfo info(input);
    const QString given = QDir::cleanPath(input);
    const QString path = QDir::cleanPath(info.absoluteFilePath());
    std::vector<Picture> found;
    if (info.isDir()) {
      const QString root = slashed(path);
      const QString keyRoot = slashed(given);
      QStringList unreadable;
      for (const QString& file : BatchInputs::FilesFromPath(root, recursive, &unreadable)) {
        const QString clean = QDir::cleanPath(file);
        found.push_back({clean, root, keyRoot + clean.mid(root.size()), true, QString()});
      }
      for (const QString& folder : unreadable)
        found.push_back({folder, root, keyRoot + folder.mid(root.size()), true,
                         InputCheck::Folder(folder) + QStringLiteral(" (folder not read)")});
    } else {
      // Only regular files: a FIFO or a device would block or never end.
      QString problem;
      if (SafeFile::NameUnreadable(input))
        problem = QStringLiteral("file name is not valid UTF-8");
      else if (!info.exists())
        problem = QStringLiteral("no such file or folder");
      else if (!info.isFile())
        problem = QStringLiteral("not a regular file");
      const bool below = QDir::isRelativePath(input) && path.startsWith(current);
      found.push_back({path, below ? current : QStringLiteral("/"), given, false, problem});
    }
    for (Picture& p : found) {
      const QString id = p.problem.isEmpty() ? BatchInputs::Identity(p.path) : p.path;
      if (!seen.contains(id)) seen.insert(id), pictures.push_back(std::move(p));
    }
  }
}
