#include "core/SaveName.h"

#include "engine/ImageFormat.h"

namespace SaveName {

QString JpegName(const QString& fileName) {
  const qsizetype namePart = fileName.lastIndexOf(QLatin1Char('/')) + 1;
  const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
  if (dot < namePart) return fileName + QStringLiteral(".jpg");
  if (ImageFormat::FromExtension(fileName) == ImageFormat::kJpeg) return fileName;
  return fileName.left(dot) + QStringLiteral(".jpg");
}

bool HasInvalidChars(const QString& fileName) {
  const QString name = fileName.mid(fileName.lastIndexOf(QLatin1Char('/')) + 1);
  for (const char* c = kInvalidChars; *c; ++c)
    if (name.contains(QLatin1Char(*c))) return true;
  return false;
}

}  // namespace SaveName
