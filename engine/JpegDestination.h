#pragma once
// libjpeg destination growing inside a QByteArray, so encoded bytes need no second copy.
// Shared by the encoder and the coefficient rewriter.
#include <QByteArray>

#include "engine/JpegErrorManager.h"

class PictureMetadata;

struct JpegDestination {
  jpeg_destination_mgr pub;
  QByteArray* out;

  // Sets cinfo's destination to this; out must outlive the compression.
  void Attach(jpeg_compress_struct& cinfo, QByteArray& bytes);
};

// The EXIF, XMP and IPTC markers every writer puts after the header; none for null.
void WriteJpegMetadata(jpeg_compress_struct& cinfo, const PictureMetadata* meta);
