#include "batch/BatchNaming.h"

#include <QSet>

#include "app/helpers/modString.h"

using namespace modString;

namespace {

bool IsJpegName(const QString& path) {
  const QString ext = GetExtension(path).toUpper();
  return ext == QLatin1String("JPG") || ext == QLatin1String("JPEG");
}

QString FolderOf(const QString& path) {
  const int slash = path.lastIndexOf(QLatin1Char('/'));
  return slash < 0 ? QString() : path.left(slash + 1);
}

}  // namespace

QString BatchNaming::OutputName(const QString& source, Mode mode, const QString& outputDir,
                                const QString& root) {
  const QString name = GetFileTitle(source, false, QStringLiteral("/"));
  const bool jpeg = IsJpegName(name);
  // The extension is taken off the file name only: "/pics.old/scan" must not become
  // "/pics.jpg" in another folder.
  const QString jpegName = jpeg ? name : RemoveExtension(name) + QStringLiteral(".jpg");
  if (mode == Mode::kOverwrite) return jpeg ? source : FolderOf(source) + jpegName;
  QString below;
  if (!root.isEmpty() && source.startsWith(root)) below = FolderOf(source.mid(root.size()));
  return outputDir + below + jpegName;
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
  const QSet<QString> inputs(sources.begin(), sources.end());
  QSet<QString> taken;
  std::vector<Output> plan;
  plan.reserve(std::size_t(sources.size()));
  auto occupied = [&](const QString& source, const QString& dest) {
    // Another input's file is never written over: it may not have been read yet.
    return taken.contains(dest) || (inputs.contains(dest) && dest != source) ||
           (request.occupied && request.occupied(source, dest));
  };
  for (int i = 0; i < sources.size(); ++i) {
    const QString& source = sources[i];
    Output out;
    out.wanted = OutputName(source, request.mode, request.outputDir, request.roots.value(i));
    out.dest = out.wanted;
    for (int n = 2; occupied(source, out.dest); ++n) out.dest = Numbered(out.wanted, n);
    taken.insert(out.dest);
    plan.push_back(out);
  }
  return plan;
}
