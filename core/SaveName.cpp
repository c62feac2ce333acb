#include "core/SaveName.h"

namespace SaveName {

QString JpegName(const QString& fileName) {
  const qsizetype namePart = fileName.lastIndexOf(QLatin1Char('/')) + 1;
  const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
  if (dot < namePart) return fileName + QStringLiteral(".jpg");
  const QString extension = fileName.mid(dot + 1).toUpper();
  if (extension == QLatin1String("JPG") || extension == QLatin1String("JPEG")) return fileName;
  return fileName.left(dot) + QStringLiteral(".jpg");
}

bool HasInvalidChars(const QString& fileName) {
  const QString name = fileName.mid(fileName.lastIndexOf(QLatin1Char('/')) + 1);
  for (const char* c = kInvalidChars; *c; ++c)
    if (name.contains(QLatin1Char(*c))) return true;
  return false;
}

}  // namespace SaveName
