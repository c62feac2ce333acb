#pragma once
// One finished thumbnail as it travels from the thread that made it to its grid item:
// the picture's full size and the thumbnail in the image object's compact byte form.
#include <QByteArray>
#include <QMetaType>

struct ThumbnailResult {
  bool ok = false;
  int pictureWidth = 0;
  int pictureHeight = 0;
  QByteArray buffer;
};
Q_DECLARE_METATYPE(ThumbnailResult)
