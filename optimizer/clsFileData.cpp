#include "optimizer/clsFileData.h"

#include <QFile>
#include <QFileInfo>

#include "core/modString.h"

bool clsFileData::OpenFile(const QString& fileName) {
  if (fileName.isEmpty()) return false;
  const QFileInfo info(fileName);
  if (!info.exists() || !info.isFile() || info.isHidden() || info.size() <= 0) return false;
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) return false;
  QByteArray bytes = file.readAll();
  // A file that shrank or failed part-way is not the file the user sees.
  if (bytes.isEmpty() || file.error() != QFileDevice::NoError) return false;
  buffer_ = std::move(bytes);
  fileName_ = modString::GetFileTitle(fileName, false, QStringLiteral("/"));
  return true;
}

void clsFileData::CloseFile() {
  fileName_.clear();
  buffer_ = QByteArray(1, '\0');
}
