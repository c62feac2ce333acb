#include "core/InputCheck.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>

#include "engine/ImageFormat.h"
#include "engine/SafeFile.h"

namespace {

QString FormatName(ImageFormat::Code code) {
  switch (code) {
    case ImageFormat::kBmp:
      return QStringLiteral("BMP");
    case ImageFormat::kJpeg:
      return QStringLiteral("JPEG");
    case ImageFormat::kGif:
      return QStringLiteral("GIF");
    case ImageFormat::kTiff:
      return QStringLiteral("TIFF");
    case ImageFormat::kPng:
      return QStringLiteral("PNG");
    case ImageFormat::kWebp:
      return QStringLiteral("WebP");
    case ImageFormat::kHeif:
      return QStringLiteral("HEIF");
    case ImageFormat::kAvif:
      return QStringLiteral("AVIF");
    default:
      return QString();
  }
}

}  // namespace

QString InputCheck::Named(const QString& path) {
  struct stat st;
  if (::stat(QFile::encodeName(path).constData(), &st) != 0)
    return errno == ENOENT || errno == ENOTDIR ? QStringLiteral("no such file or folder")
                                               : SafeFile::ErrorText(errno);
  return S_ISDIR(st.st_mode) ? Folder(path) : Picture(path);
}

QString InputCheck::Folder(const QString& path) {
  // access() is what opendir and open will meet (root passes, as it does there).
  if (::access(QFile::encodeName(path).constData(), R_OK | X_OK) != 0)
    return SafeFile::ErrorText(errno);
  return QString();
}

QString InputCheck::Picture(const QString& path) {
  const QByteArray name = QFile::encodeName(path);
  // O_NONBLOCK: a FIFO must not hang the check; it is refused just below.
  const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return SafeFile::ErrorText(errno);
  struct stat st;
  const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  char head[64];
  const ssize_t got = regular ? ::read(fd, head, sizeof head) : 0;
  ::close(fd);
  if (!regular) return QStringLiteral("not a regular file");
  // Only a JPEG name is held to its content: the JPEG decoder takes nothing else, while a
  // mislabelled file of another name may still be read by its content.
  const ImageFormat::Code named = ImageFormat::FromExtension(path);
  const ImageFormat::Code content =
      ImageFormat::FromContent(QByteArray(head, int(std::max<ssize_t>(got, 0))), false);
  if (named == ImageFormat::kJpeg && content != ImageFormat::kUnknown && content != named)
    return QStringLiteral("a %1 picture named .%2")
        .arg(FormatName(content), QFileInfo(path).suffix());
  return QString();
}

QString InputCheck::Destination(const QString& dest) {
  QString folder = QFileInfo(dest).absolutePath();
  while (!QFileInfo(folder).isDir() && folder != QDir::cleanPath(folder + "/.."))
    folder = QDir::cleanPath(folder + "/..");
  struct statvfs fs;
  if (::statvfs(QFile::encodeName(folder).constData(), &fs) == 0 && (fs.f_flag & ST_RDONLY))
    return SafeFile::ErrorText(EROFS);
  return QString();
}
