#pragma once
// JpegSegments: a JPEG file's marker segments read without decoding: where its picture ends,
// what follows that end, and the same picture without the blocks that describe the photo.
#include <QByteArray>

class JpegSegments {
 public:
  enum class Trailer {
    kNone,         // nothing after the end marker, or only padding
    kMotionVideo,  // a video that the XMP finds by its distance from the end of the file
    kPictures,     // further pictures listed by an APP2 "MPF" block, at offsets from the start
    kUnknown,
  };

  // The length of the picture up to and with its end marker; 0 when there is none.
  static qsizetype PictureEnd(const QByteArray& jpeg);
  // What the bytes after PictureEnd are.
  static Trailer TrailerKind(const QByteArray& jpeg);
  // Words for the report: "a motion photo's video", "its second pictures (MPF)", ...
  static QString TrailerText(Trailer kind);
  // The same compressed picture without EXIF, XMP, IPTC, comments and the blocks of other
  // programs, and without anything after its end. Kept: what decoding needs (tables, JFIF, the
  // colour profile, Adobe's colour transform) and, as a small EXIF of its own, an orientation
  // other than upright. Empty when the file's segments cannot be followed.
  static QByteArray Stripped(const QByteArray& jpeg);
};
