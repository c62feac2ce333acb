#include "batch/cli/CliInputs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <cstdio>

#include "batch/BatchInputs.h"
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

bool CliInputs::Collect(const QStringList& inputs, bool recursive, bool listed,
                        std::vector<Picture>& pictures, QTextStream& err) {
  auto slashed = [](const QString& f) { return f.endsWith(QLatin1Char('/')) ? f : f + '/'; };
  const QString current = slashed(QDir::currentPath());
  QSet<QString> seen;
  for (const Picture& p : pictures) seen.insert(p.path);
  bool allFound = true;
  for (const QString& input : inputs) {
    const QFileInfo info(input);
    const QString given = QDir::cleanPath(input);
    std::vector<Picture> found;
    if (info.isDir()) {
      const QString root = slashed(QDir::cleanPath(info.absoluteFilePath()));
      const QString keyRoot = slashed(given);
      for (const QString& file : BatchInputs::FilesFromPath(root, recursive)) {
        const QString path = QDir::cleanPath(file);
        found.push_back({path, root, keyRoot + path.mid(root.size())});
      }
    } else if (info.isFile()) {
      const bool below = listed && QDir::isRelativePath(input);
      found.push_back(
          {QDir::cleanPath(info.absoluteFilePath()), below ? current : QString(), given});
    } else {
      err << "trimjet-cli: " << input << ": "
          << (SafeFile::NameUnreadable(input) ? "file name is not valid UTF-8"
                                              : "no such file or folder")
          << "\n";
      allFound = false;
    }
    for (Picture& p : found)
      if (!seen.contains(p.path)) seen.insert(p.path), pictures.push_back(std::move(p));
  }
  return allFound;
}
