#include "app/helpers/modPublic.h"

namespace modPublic {

int GetImageType(const QString& extension) {
  const QString ext = extension.toUpper();
  if (ext == "JPG" || ext == "JPEG") return 2;
  if (ext == "GIF") return 3;
  if (ext == "BMP" || ext == "TIF" || ext == "TIFF") return 4;
  if (ext == "PNG") return 5;
  if (ext == "PCX") return 6;
  if (ext == "TGA") return 7;
  // Read only; after the seven codes of the old program.
  if (ext == "WEBP") return 8;
  if (ext == "HEIC" || ext == "HEIF") return 9;
  if (ext == "AVIF") return 10;
  return 0;
}

QString FormatKb(std::int64_t bytes) {
  // Tenths of a kilobyte, rounded exactly with halves to even like the program's other sizes.
  const std::int64_t num = bytes * 10;
  std::int64_t t = num / 1024;
  std::int64_t rem = num % 1024;
  if (rem < 0) {
    rem += 1024;
    --t;
  }
  if (rem > 512 || (rem == 512 && (t & 1))) ++t;
  const std::int64_t mag = t < 0 ? -t : t;
  return QString("%1%2.%3 Kb").arg(t < 0 ? "-" : "").arg(mag / 10).arg(mag % 10);
}

}  // namespace modPublic
