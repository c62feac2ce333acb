#include "JpegThumbnail.h"

#include <QFile>
#include <algorithm>

#include "ExifOrientation.h"
#include "ImageDescriptor.h"
#include "JpegCodec.h"
#include "PixelScaler.h"
#include "clsImage.h"

namespace JpegThumbnail {
namespace {

bool DecodeBytes(const std::uint8_t* data, std::size_t size,
                 const std::function<QSize(int, int)>& fit, Result& result) {
  ImageDescriptor reduced;
  JpegCodec::Header full;
  int orientation = 1;
  // The longer side of the thumbnail is at most 100 pixels in every fit the program uses;
  // the fit is asked below, once the upright size is known.
  constexpr int kEnoughPixels = 128;
  if (!JpegCodec::DecodeReduced(data, size, kEnoughPixels, reduced, full, &orientation))
    return false;
  if (!ExifOrientation::Apply(reduced, orientation)) return false;
  const bool turned = orientation >= 5 && orientation <= 8;
  const int w = turned ? full.height : full.width;
  const int h = turned ? full.width : full.height;
  const QSize fitted = fit(w, h);
  if (fitted.width() < 1 || fitted.height() < 1) return false;
  ImageDescriptor thumb;
  if (thumb.Allocate(fitted.width(), fitted.height(), false) != kImageOk) return false;
  PixelScaler::Nearest(reduced, QRect(0, 0, reduced.Width(), reduced.Height()), thumb,
                       QRect(QPoint(0, 0), fitted));
  JpegCodec::Settings settings;
  settings.quality = clsImage::kBufferQuality;
  if (!JpegCodec::Encode(thumb, settings, result.buffer)) return false;
  result.pictureWidth = w;
  result.pictureHeight = h;
  return true;
}

}  // namespace

bool Make(const QString& fileName, const std::function<QSize(int, int)>& fit, Result& result) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly) || file.size() == 0) return false;
  if (const uchar* mapped = file.map(0, file.size()))
    return DecodeBytes(mapped, std::size_t(file.size()), fit, result);
  const QByteArray bytes = file.readAll();
  return DecodeBytes(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                     std::size_t(bytes.size()), fit, result);
}

}  // namespace JpegThumbnail
