#pragma once
// Thumbnails through the whole engine (clsImage): every format it loads, with its size caps and
// strict format checks, cut by the fast (nearest) stretch and kept as its compact JPEG bytes.
//
// Thread rule: uses clsImage and so libvips, whose error buffer is one per process; call it
// only where no other thread of the process uses libvips (the window thread, or the
// trimjet-thumbnailer helper process that ThumbnailClient talks to).
#include <QByteArray>
#include <QSize>
#include <QString>
#include <functional>

namespace EngineThumbnail {

struct Result {
  int pictureWidth = 0;  // full size as loaded, after the stored orientation
  int pictureHeight = 0;
  QByteArray buffer;  // what clsImage::LoadFromBuffer restores
};

// fit maps the loaded size to the thumbnail size; a size outside 1 .. the picture's own
// (as fit gives when it gives up) fails. False when the file does not load.
bool Make(const QString& fileName, const std::function<QSize(int, int)>& fit, Result& result);

}  // namespace EngineThumbnail
