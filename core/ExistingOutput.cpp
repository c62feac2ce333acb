#include "core/ExistingOutput.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include "engine/SafeFile.h"

bool ExistingOutput::Parse(const QString& text, Rule& rule) {
  if (text == QLatin1String("number")) return (rule = Rule::kNumber), true;
  if (text == QLatin1String("replace")) return (rule = Rule::kReplace), true;
  if (text == QLatin1String("skip")) return (rule = Rule::kSkip), true;
  return false;
}

bool ExistingOutput::IsSource(const QString& source, const QString& dest) {
  return SafeFile::IsSameFile(source, dest);
}

bool ExistingOutput::IsOtherFile(const QString& source, const QString& dest) {
  if (IsSource(source, dest)) return false;
  const QFileInfo info(dest);
  return info.exists() || info.isSymLink();
}

bool ExistingOutput::FoldsCase(const QString& folder) {
  QString existing = QDir::cleanPath(folder);
  while (!QFileInfo(existing).isDir() && existing != QDir::cleanPath(existing + "/.."))
    existing = QDir::cleanPath(existing + "/..");
  // A fresh lower-case name whose upper-case form the file system then finds.
  QTemporaryFile probe(existing + QStringLiteral("/.trimjet-case-probe-XXXXXX"));
  if (!probe.open()) return false;
  const QString name = QFileInfo(probe.fileName()).fileName();
  return name != name.toUpper() && QFileInfo::exists(existing + '/' + name.toUpper());
}

std::vector<BatchNaming::Output> ExistingOutput::Plan(const QStringList& sources,
                                                      BatchNaming::Request request, Rule rule) {
  // Written into another folder, a source is never its own output: an output folder that
  // is the source's folder finds the source there as another file.
  const bool otherDir = request.mode == BatchNaming::Mode::kOtherDir;
  auto taken = [otherDir](const QString& source, const QString& dest) {
    return IsOtherFile(source, dest) || (otherDir && IsSource(source, dest));
  };
  if (rule == Rule::kNumber) request.occupied = taken;
  if (rule == Rule::kReplace && otherDir) request.occupied = IsSource;
  std::vector<BatchNaming::Output> plan = BatchNaming::Plan(sources, request);
  if (rule == Rule::kSkip)
    for (std::size_t i = 0; i < plan.size(); ++i)
      plan[i].skip = taken(sources[int(i)], plan[i].dest);
  return plan;
}
