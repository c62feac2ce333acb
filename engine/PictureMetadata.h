#pragma once
// What a photo carries besides its pixels (EXIF, XMP, IPTC), kept so the JPEG the user gets
// still has its date, camera, place and copyright. Each part is held as the payload of the
// JPEG marker that will carry it, so writing it costs nothing per encode.
#include <QByteArray>

class PictureMetadata {
 public:
  // EXIF as a TIFF structure, with or without the "Exif\0\0" lead. The copy kept says
  // "upright" (the engine turns the pixels) and sRGB (the engine converts them: colour space
  // 1, interoperability "R98" where it said "R03"), and has no embedded thumbnail, which
  // would show the unedited picture. Damaged EXIF is dropped.
  void SetExif(const QByteArray& exif);
  // The XMP packet, with or without its namespace lead; like the EXIF it says upright and
  // sRGB, and names no profile.
  void SetXmp(const QByteArray& xmp);
  // A Photoshop resource block ("Photoshop 3.0") or bare IPTC records.
  void SetIptc(const QByteArray& iptc);
  // For a picture whose colours were converted from a profile and that has no EXIF: a small
  // EXIF that only says sRGB, so viewers do not guess.
  void DeclareSrgb();

  // Whether EXIF (as SetExif takes it) marks a picture in Adobe RGB the way cameras do without
  // a profile: colour space "uncalibrated" (0xFFFF) and interoperability index "R03".
  static bool SaysAdobeRgb(const QByteArray& exif);

  bool Empty() const { return exif_.isEmpty() && xmp_.isEmpty() && iptc_.isEmpty(); }
  // Marker payloads: APP1 "Exif\0\0...", APP1 XMP, APP13 "Photoshop 3.0\0...".
  const QByteArray& ExifPayload() const { return exif_; }
  const QByteArray& XmpPayload() const { return xmp_; }
  const QByteArray& IptcPayload() const { return iptc_; }

 private:
  QByteArray exif_;
  QByteArray xmp_;
  QByteArray iptc_;
};
