#pragma once
// Thumbnails of JPEG files without libvips: a reduced-scale decode, turned upright, cut to
// the size the caller fits it to and kept as the image object's compact JPEG bytes.
//
// Thread rule: unlike clsImage, this may run on any number of threads at once. It touches
// only libjpeg (one decoder per call, errors caught per call) and pure pixel code, never
// libvips, whose one process-wide error buffer makes the rest of the engine single-threaded.
#include <QByteArray>
#include <QSize>
#include <QString>
#include <functional>

namespace JpegThumbnail {

struct Result {
  int pictureWidth = 0;  // full size as shown, after the EXIF orientation
  int pictureHeight = 0;
  QByteArray buffer;  // what clsImage::LoadFromBuffer restores
};

// fit maps the full upright size to the thumbnail size, which must not be larger than the
// picture. False when the file is no JPEG this decoder takes (CMYK, damaged, unreadable).
bool Make(const QString& fileName, const std::function<QSize(int, int)>& fit, Result& result);

}  // namespace JpegThumbnail
