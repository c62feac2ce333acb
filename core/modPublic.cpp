#include "core/modPublic.h"

#include "engine/ImageFormat.h"
#include "engine/Rounding.h"

namespace modPublic {

int GetImageType(const QString& extension) {
  // BMP shares TIFF's code here; the rest are the image object's own codes.
  const ImageFormat::Code code = ImageFormat::FromExtension(QStringLiteral(".") + extension);
  return code == ImageFormat::kBmp ? ImageFormat::kTiff : code;
}

QString FormatKb(std::int64_t bytes) {
  const std::int64_t t = Rounding::HalfEven(bytes * 10, 1024);
  const std::int64_t mag = t < 0 ? -t : t;
  return QString("%1%2.%3").arg(t < 0 ? "-" : "").arg(mag / 10).arg(mag % 10) +
         QLatin1String(kKbUnit);
}

}  // namespace modPublic
