#include "core/BatchNaming.h"

#include <QDir>
#include <QHash>
#include <QSet>

#include "core/modPublic.h"
#include "core/modString.h"
#include "engine/ImageFormat.h"

using namespace modString;

namespace {

bool IsJpegName(const QString& path) {
  return ImageFormat::FromExtension(path) == ImageFormat::kJpeg;
}

QString FolderOf(const QString& path) {
  const int slash = path.lastIndexOf(QLatin1Char('/'));
  return slash < 0 ? QString() : path.left(slash + 1);
}

QString JpegName(const QString& name) {
  return IsJpegName(name) ? name : RemoveExtension(name) + QStringLiteral(".jpg");
}

QStringList NamesOnDisk(const QString& folder) {
  return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

}  // namespace

QString BatchNaming::OutputName(const QString& source, Mode mode, const QString& outputDir,
                                const QString& root) {
  const QString name = GetFileTitle(source, false, QStringLiteral("/"));
  // The extension is taken off the file name only: "/pics.old/scan" must not become
  // "/pics.jpg" in another folder.
  const QString jpegName = JpegName(name);
  if (mode == Mode::kOverwrite) return IsJpegName(name) ? source : FolderOf(source) + jpegName;
  QString below;
  if (!root.isEmpty() && source.startsWith(root)) below = FolderOf(source.mid(root.size()));
  return outputDir + below + jpegName;
}

namespace {

// The name a picture takes among its folder's names by extension alone: a JPEG keeps its
// own, any other picture adds its extension when another picture there wants the same name.
QString NameByExtension(const QString& fileName, const QStringList& siblings,
                        Qt::CaseSensitivity cs) {
  const QString wanted = JpegName(fileName);
  if (IsJpegName(fileName)) return wanted;
  for (const QString& other : siblings)
    if (other != fileName && modPublic::GetImageType(GetExtension(other)) > 0 &&
        JpegName(other).compare(wanted, cs) == 0 &&
        (IsJpegName(other) || GetExtension(other).compare(GetExtension(fileName), cs) != 0))
      return RemoveExtension(fileName) + QStringLiteral(" (%1).jpg").arg(GetExtension(fileName));
  return wanted;
}

}  // namespace

QString BatchNaming::OwnName(const QString& fileName, const QStringList& siblings, bool foldCase) {
  const Qt::CaseSensitivity cs = foldCase ? Qt::CaseInsensitive : Qt::CaseSensitive;
  const QString own = NameByExtension(fileName, siblings, cs);
  if (!foldCase) return own;
  // Names that differ only in case ("A.png", "a.png") still meet on a folder that folds
  // case: they are numbered by their order as bytes, which every part of a run sees alike.
  int rank = 1;
  for (const QString& other : siblings)
    if (other != fileName && modPublic::GetImageType(GetExtension(other)) > 0 &&
        other < fileName && NameByExtension(other, siblings, cs).compare(own, cs) == 0)
      ++rank;
  return rank == 1 ? own : Numbered(own, rank);
}

QString BatchNaming::Numbered(const QString& name, int number) {
  const int slash = name.lastIndexOf(QLatin1Char('/'));
  int dot = name.lastIndexOf(QLatin1Char('.'));
  if (dot <= slash) dot = name.size();
  return name.left(dot) + QStringLiteral(" (%1)").arg(number) + name.mid(dot);
}

std::vector<BatchNaming::Output> BatchNaming::Plan(const QStringList& sources, Mode mode,
                                                   const QString& outputDir) {
  Request request;
  request.mode = mode;
  request.outputDir = outputDir;
  return Plan(sources, request);
}

std::vector<BatchNaming::Output> BatchNaming::Plan(const QStringList& sources,
                                                   const Request& request) {
  // On a folder that folds case, names are compared folded.
  auto key = [&request](const QString& path) {
    return request.foldCase ? path.toCaseFolded() : path;
  };
  QSet<QString> inputs, taken;
  for (const QString& source : sources) inputs.insert(key(source));
  // Per folder, its names grouped by the output name they want: a picture looks at its
  // group only, so a folder of many pictures costs one listing.
  QHash<QString, QHash<QString, QStringList>> folders;
  auto group = [&](const QString& folder, const QString& name) -> QStringList {
    auto it = folders.find(folder);
    if (it == folders.end()) {
      QHash<QString, QStringList> wanting;
      for (const QString& other : NamesOnDisk(folder)) wanting[key(JpegName(other))] << other;
      it = folders.insert(folder, wanting);
    }
    return it->value(key(JpegName(name)));
  };
  std::vector<Output> plan;
  plan.reserve(std::size_t(sources.size()));
  auto occupied = [&](const QString& source, const QString& dest) {
    // Another input's file is never written over: it may not have been read yet.
    return taken.contains(key(dest)) || (inputs.contains(key(dest)) && dest != source) ||
           (request.occupied && request.occupied(source, dest));
  };
  for (int i = 0; i < sources.size(); ++i) {
    const QString& source = sources[i];
    Output out;
    const QString table =
        OutputName(source, request.mode, request.outputDir, request.roots.value(i));
    const QString folder = FolderOf(source);
    const QString name = GetFileTitle(source, false, QStringLiteral("/"));
    const QString own = OwnName(name, group(folder, name), request.foldCase);
    // A JPEG in place keeps its own path; any other name is the table's with its own name.
    out.wanted = table == source ? table : FolderOf(table) + own;
    out.dest = out.wanted;
    for (int n = 2; occupied(source, out.dest); ++n) out.dest = Numbered(out.wanted, n);
    taken.insert(key(out.dest));
    plan.push_back(out);
  }
  return plan;
}
