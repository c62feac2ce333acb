#pragma once
// Test inputs made on the spot for FaithfulPictureTest: pictures with colour profiles, CMYK,
// float and 16-bit grey, camera metadata, hostile scan counts, TGA origins; and readers that
// look at the results with other libraries than the engine's own code.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

namespace FaithfulFiles {

struct Rgb8 {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;  // RGB, rows top-down, no padding
};

bool WriteFile(const QString& path, const QByteArray& bytes);

// The engine fixtures' 24 x 16 quadrant pattern, and a colourful 64 x 48 picture whose
// saturated colours show a wrong profile.
Rgb8 PatternPixels();
Rgb8 Photo();
// A 256 x 2 ramp from black to white.
Rgb8 GreyRamp();

// The pattern as a TGA of the given kind with the given origin (descriptor bits 5 and 4),
// run-length encoded across rows when asked; TgaPicture is what such a file holds (the grey
// kind a grey of each quadrant).
enum class TgaKind { kGrey8, kMapped8, kRgb15, kRgb16, kRgb24, kRgba32 };
QByteArray Tga(TgaKind kind, bool rle, bool topToBottom, bool rightToLeft);
Rgb8 TgaPicture(TgaKind kind);

// Adobe RGB (1998) primaries and gamma, built by lcms2.
QByteArray AdobeRgbProfile();
// sRGB's primaries and white under any description: with sRGB's curve (gamma 0) or a gamma.
QByteArray SrgbPrimariesProfile(const char* description, double gamma);
QByteArray GreyProfile(double gamma);
// RGB or grey profiles (a grey one reads the first channel).
Rgb8 LcmsToSrgb(const Rgb8& source, const QByteArray& profile);

// One component when grey is set; exif is an APP1 payload.
QByteArray EncodeJpeg(const Rgb8& picture, int quality, const QByteArray& profile,
                      bool grey = false, const QByteArray& exif = {});
// EXIF of a camera set to Adobe RGB: colour space uncalibrated, interoperability "R03".
QByteArray AdobeCameraExif();
Rgb8 DecodeJpeg(const QByteArray& jpeg);  // plain libjpeg, profile ignored
bool WritePng(const QString& path, const Rgb8& picture, const QByteArray& profile);
// The file's pixels as stored, without any colour conversion (JPEG or PNG).
bool UnconvertedPixels(const QString& path, Rgb8& out);

// Three 16 x 16 blocks without profile: no ink, full cyan, full black; and roughly what a
// standard press profile shows for them.
QByteArray CmykJpeg();
Rgb8 CmykInks();
QByteArray FloatGreyTiff();  // GreyRamp as 32-bit float samples 0..1
bool WriteGrey16Png(const QString& path);

// The pattern stored with EXIF orientation 6, date taken, camera, GPS and an embedded
// thumbnail, plus XMP and IPTC blocks.
QByteArray CameraJpeg();
// The same tags (no thumbnail) over any picture in an uncompressed TIFF's own directories,
// the camera set to Adobe RGB as in AdobeCameraExif when asked.
QByteArray CameraTiff(const Rgb8& picture, int orientation, bool adobe);
struct ReadBack {
  std::string dateTaken;
  std::string model;
  std::string gpsLatitudeRef;
  int orientation = 0;  // 0: no tag
  int colourSpace = 0;
  bool thumbnail = false;
  bool xmp = false;  // present, saying upright and sRGB without naming a profile
  bool iptc = false;
};
ReadBack ReadMetadata(const QByteArray& jpeg);  // libexif and the markers themselves

// A progressive JPEG of about 2100 scans (libjpeg's scan script), with a profile if given.
QByteArray ManyScanJpeg(const QByteArray& profile);

}  // namespace FaithfulFiles
