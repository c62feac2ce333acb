#include "BatchNaming.h"

#include <QSet>

#include "modString.h"

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

QString BatchNaming::OutputName(const QString& source, Mode mode, const QString& outputDir) {
  const QString name = GetFileTitle(source, false, QStringLiteral("/"));
  const bool jpeg = IsJpegName(name);
  // The extension is taken off the file name only: "/pics.old/scan" must not become
  // "/pics.jpg" in another folder.
  const QString jpegName = jpeg ? name : RemoveExtension(name) + QStringLiteral(".jpg");
  if (mode == Mode::kOverwrite) return jpeg ? source : FolderOf(source) + jpegName;
  return outputDir + jpegName;
}

QString BatchNaming::Numbered(const QString& name, int number) {
  const int slash = name.lastIndexOf(QLatin1Char('/'));
  int dot = name.lastIndexOf(QLatin1Char('.'));
  if (dot <= slash) dot = name.size();
  return name.left(dot) + QStringLiteral(" (%1)").arg(number) + name.mid(dot);
}

std::vector<BatchNaming::Output> BatchNaming::Plan(const QStringList& sources, Mode mode,
                                                   const QString& outputDir) {
  const QSet<QString> inputs(sources.begin(), sources.end());
  QSet<QString> taken;
  std::vector<Output> plan;
  plan.reserve(std::size_t(sources.size()));
  for (const QString& source : sources) {
    Output out;
    out.wanted = OutputName(source, mode, outputDir);
    out.dest = out.wanted;
    // Another input's file is never written over: it may not have been read yet.
    for (int n = 2; taken.contains(out.dest) || (inputs.contains(out.dest) && out.dest != source);
         ++n)
      out.dest = Numbered(out.wanted, n);
    taken.insert(out.dest);
    plan.push_back(out);
  }
  return plan;
}
