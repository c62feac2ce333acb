#include "FaithfulFiles.h"

#include <lcms2.h>
#include <libexif/exif-data.h>

#include <QColorSpace>
#include <QFile>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
// jpeglib.h needs size_t and FILE declared first.
// clang-format off
#include <cstddef>
#include <cstdio>
#include <jpeglib.h>
// clang-format on

#include "EngineFixtures.h"

namespace FaithfulFiles {
namespace {

void Put16(QByteArray& b, unsigned v) { b.append(char(v & 0xFF)).append(char(v >> 8)); }
void Put32(QByteArray& b, std::uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

Rgb8 Make(int w, int h, const std::function<EngineFixtures::Rgb(int, int)>& colour) {
  Rgb8 p{w, h, {}};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (int c : colour(x, y)) p.pixels.push_back(std::uint8_t(c));
  return p;
}

// libjpeg writer into memory with optional CMYK input, profile, markers and scan script.
struct JpegJob {
  int width = 0, height = 0;
  const std::uint8_t* pixels = nullptr;
  bool cmyk = false;
  bool grey = false;  // one component: the first channel of RGB pixels
  int quality = 90;
  QByteArray profile;
  std::vector<std::pair<int, QByteArray>> markers;
  std::vector<jpeg_scan_info> scans;
};

QByteArray Write(const JpegJob& job) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &out, &size);
  cinfo.image_width = JDIMENSION(job.width);
  cinfo.image_height = JDIMENSION(job.height);
  cinfo.input_components = job.cmyk ? 4 : job.grey ? 1 : 3;
  cinfo.in_color_space = job.cmyk ? JCS_CMYK : job.grey ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, job.quality, TRUE);
  if (!job.scans.empty()) {
    cinfo.scan_info = job.scans.data();
    cinfo.num_scans = int(job.scans.size());
  }
  jpeg_start_compress(&cinfo, TRUE);
  for (const auto& [marker, payload] : job.markers)
    jpeg_write_marker(&cinfo, marker, reinterpret_cast<const JOCTET*>(payload.constData()),
                      unsigned(payload.size()));
  if (!job.profile.isEmpty())
    jpeg_write_icc_profile(&cinfo, reinterpret_cast<const JOCTET*>(job.profile.constData()),
                           unsigned(job.profile.size()));
  const int row = job.width * (job.grey ? 3 : cinfo.input_components);
  std::vector<std::uint8_t> first(std::size_t(job.width));
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW r = const_cast<JSAMPROW>(job.pixels + std::size_t(row) * cinfo.next_scanline);
    for (int x = 0; job.grey && x < job.width; ++x) first[std::size_t(x)] = r[3 * x];
    if (job.grey) r = first.data();
    jpeg_write_scanlines(&cinfo, &r, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  QByteArray bytes(reinterpret_cast<char*>(out), qsizetype(size));
  std::free(out);
  return bytes;
}

void SetAscii(ExifData* data, ExifIfd ifd, ExifTag tag, const char* text) {
  ExifEntry* e = exif_entry_new();
  exif_content_add_entry(data->ifd[ifd], e);
  e->tag = tag;
  e->format = EXIF_FORMAT_ASCII;
  e->components = std::strlen(text) + 1;
  e->size = unsigned(e->components);
  e->data = static_cast<unsigned char*>(std::malloc(e->size));
  std::memcpy(e->data, text, e->size);
  exif_entry_unref(e);
}

void SetShort(ExifData* data, ExifIfd ifd, ExifTag tag, ExifShort value) {
  ExifEntry* e = exif_entry_new();
  exif_content_add_entry(data->ifd[ifd], e);
  e->tag = tag;
  e->format = EXIF_FORMAT_SHORT;
  e->components = 1;
  e->size = 2;
  e->data = static_cast<unsigned char*>(std::malloc(2));
  exif_set_short(e->data, exif_data_get_byte_order(data), value);
  exif_entry_unref(e);
}

std::string Text(ExifData* data, ExifIfd ifd, ExifTag tag) {
  ExifEntry* e = exif_content_get_entry(data->ifd[ifd], tag);
  if (!e || !e->data) return {};
  return std::string(reinterpret_cast<const char*>(e->data),
                     strnlen(reinterpret_cast<const char*>(e->data), e->size));
}

int Short(ExifData* data, ExifIfd ifd, ExifTag tag) {
  ExifEntry* e = exif_content_get_entry(data->ifd[ifd], tag);
  return e && e->size >= 2 ? exif_get_short(e->data, exif_data_get_byte_order(data)) : 0;
}

QByteArray Saved(cmsHPROFILE profile) {
  cmsUInt32Number size = 0;
  cmsSaveProfileToMem(profile, nullptr, &size);
  QByteArray bytes(qsizetype(size), '\0');
  cmsSaveProfileToMem(profile, bytes.data(), &size);
  cmsCloseProfile(profile);
  return bytes;
}

QByteArray Saved(ExifData* data) {
  unsigned char* exif = nullptr;
  unsigned int size = 0;
  exif_data_save_data(data, &exif, &size);
  exif_data_unref(data);
  QByteArray bytes(reinterpret_cast<char*>(exif), int(size));
  std::free(exif);
  return bytes;
}

}  // namespace

bool WriteFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

Rgb8 PatternPixels() {
  return Make(EngineFixtures::kWidth, EngineFixtures::kHeight, EngineFixtures::Pattern);
}

Rgb8 Photo() {
  return Make(64, 48, [](int x, int y) {
    // Saturated hues across, brightness down: the colours a wide gamut moves most.
    const double hue = x / 64.0 * 6.0, v = 0.35 + 0.65 * (1.0 - y / 48.0);
    const double f = hue - std::floor(hue);
    double r = 0, g = 0, b = 0;
    switch (int(hue) % 6) {
      case 0:
        r = 1, g = f;
        break;
      case 1:
        r = 1 - f, g = 1;
        break;
      case 2:
        g = 1, b = f;
        break;
      case 3:
        g = 1 - f, b = 1;
        break;
      case 4:
        r = f, b = 1;
        break;
      default:
        r = 1, b = 1 - f;
        break;
    }
    return EngineFixtures::Rgb{int(std::lround(255 * r * v)), int(std::lround(255 * g * v)),
                               int(std::lround(255 * b * v))};
  });
}

Rgb8 GreyRamp() {
  return Make(256, 2, [](int x, int) { return EngineFixtures::Rgb{x, x, x}; });
}

Rgb8 TgaPicture(TgaKind kind) {
  return Make(EngineFixtures::kWidth, EngineFixtures::kHeight, [kind](int x, int y) {
    const auto c = EngineFixtures::Pattern(x, y);
    const int grey = (c[0] + 2 * c[1] + 4 * c[2]) / 7;  // a different level per quadrant
    return kind == TgaKind::kGrey8 ? EngineFixtures::Rgb{grey, grey, grey} : c;
  });
}

QByteArray Tga(TgaKind kind, bool rle, bool topToBottom, bool rightToLeft) {
  using EngineFixtures::kHeight;
  using EngineFixtures::kWidth;
  const Rgb8 picture = TgaPicture(kind);
  const bool mapped = kind == TgaKind::kMapped8;
  const int bits[] = {8, 8, 15, 16, 24, 32};
  std::vector<QByteArray> palette, values;  // BGR entries in order of first use
  for (int row = 0; row < kHeight; ++row)
    for (int col = 0; col < kWidth; ++col) {
      const int x = rightToLeft ? kWidth - 1 - col : col, y = topToBottom ? row : kHeight - 1 - row;
      const std::uint8_t* p = &picture.pixels[std::size_t(y * kWidth + x) * 3];
      const QByteArray bgr = QByteArray().append(char(p[2])).append(char(p[1])).append(char(p[0]));
      QByteArray v = kind == TgaKind::kGrey8 ? bgr.left(1) : bgr;
      const auto entry = std::find(palette.begin(), palette.end(), bgr);
      if (mapped) v = QByteArray(1, char(entry - palette.begin()));
      if (mapped && entry == palette.end()) palette.push_back(bgr);
      const unsigned five = unsigned(p[0] >> 3) << 10 | unsigned(p[1] >> 3) << 5 | p[2] >> 3;
      if (kind == TgaKind::kRgb15 || kind == TgaKind::kRgb16) v.clear(), Put16(v, five | 0x8000);
      if (kind == TgaKind::kRgba32) v.append(char(255));
      values.push_back(v);
    }
  QByteArray body;
  for (std::size_t i = 0; i < values.size();) {
    std::size_t n = 1;  // a run of equal values, else raw values up to the next run
    while (rle && i + n < values.size() && n < 128 && values[i + n] == values[i]) ++n;
    if (n > 1) {
      body.append(char(0x80 | (n - 1))).append(values[i]);
    } else {
      while (i + n < values.size() && n < 128 &&
             !(rle && i + n + 1 < values.size() && values[i + n] == values[i + n + 1]))
        ++n;
      if (rle) body.append(char(n - 1));
      for (std::size_t k = 0; k < n; ++k) body.append(values[i + k]);
    }
    i += n;
  }
  const int type[] = {3, 1, 2, 2, 2, 2};
  QByteArray b;
  b.append(char(0)).append(char(mapped)).append(char(type[int(kind)] + (rle ? 8 : 0)));
  Put16(b, 0), Put16(b, unsigned(palette.size())), b.append(char(mapped ? 24 : 0));
  Put16(b, 0), Put16(b, 0), Put16(b, kWidth), Put16(b, kHeight);
  const int alphaBits = kind == TgaKind::kRgb16 ? 1 : kind == TgaKind::kRgba32 ? 8 : 0;
  b.append(char(bits[int(kind)]));
  b.append(char((topToBottom ? 0x20 : 0) | (rightToLeft ? 0x10 : 0) | alphaBits));
  for (const QByteArray& e : palette) b += e;
  return b + body;
}

QByteArray AdobeRgbProfile() {
  const cmsCIExyY white{0.3127, 0.3290, 1.0};
  const cmsCIExyYTRIPLE primaries{{0.64, 0.33, 1.0}, {0.21, 0.71, 1.0}, {0.15, 0.06, 1.0}};
  cmsToneCurve* gamma = cmsBuildGamma(nullptr, 563.0 / 256.0);
  cmsToneCurve* curves[3] = {gamma, gamma, gamma};
  cmsHPROFILE profile = cmsCreateRGBProfile(&white, &primaries, curves);
  cmsFreeToneCurve(gamma);
  return Saved(profile);
}

QByteArray SrgbPrimariesProfile(const char* description, double gamma) {
  const cmsCIExyY white{0.3127, 0.3290, 1.0};
  const cmsCIExyYTRIPLE primaries{{0.64, 0.33, 1.0}, {0.30, 0.60, 1.0}, {0.15, 0.06, 1.0}};
  cmsToneCurve* curve = cmsBuildGamma(nullptr, gamma);
  cmsToneCurve* curves[3] = {curve, curve, curve};
  cmsHPROFILE profile =
      gamma > 0 ? cmsCreateRGBProfile(&white, &primaries, curves) : cmsCreate_sRGBProfile();
  cmsFreeToneCurve(curve);
  cmsMLU* text = cmsMLUalloc(nullptr, 1);
  cmsMLUsetASCII(text, "en", "US", description);
  cmsWriteTag(profile, cmsSigProfileDescriptionTag, text);
  cmsMLUfree(text);
  cmsSetProfileVersion(profile, 2.1);  // the description in plain ASCII, as most cameras write
  return Saved(profile);
}

QByteArray GreyProfile(double gamma) {
  const cmsCIExyY white{0.3127, 0.3290, 1.0};
  cmsToneCurve* curve = cmsBuildGamma(nullptr, gamma);
  cmsHPROFILE profile = cmsCreateGrayProfile(&white, curve);
  cmsFreeToneCurve(curve);
  return Saved(profile);
}

Rgb8 LcmsToSrgb(const Rgb8& source, const QByteArray& profile) {
  cmsHPROFILE in = cmsOpenProfileFromMem(profile.constData(), cmsUInt32Number(profile.size()));
  cmsHPROFILE srgb = cmsCreate_sRGBProfile();
  const bool grey = cmsGetColorSpace(in) == cmsSigGrayData;
  cmsHTRANSFORM t = cmsCreateTransform(in, grey ? TYPE_GRAY_8 : TYPE_RGB_8, srgb, TYPE_RGB_8,
                                       INTENT_RELATIVE_COLORIMETRIC, 0);
  Rgb8 out = source;
  std::vector<std::uint8_t> first;
  for (std::size_t i = 0; grey && i < source.pixels.size(); i += 3)
    first.push_back(source.pixels[i]);
  cmsDoTransform(t, grey ? first.data() : source.pixels.data(), out.pixels.data(),
                 cmsUInt32Number(source.width * source.height));
  cmsDeleteTransform(t);
  cmsCloseProfile(in);
  cmsCloseProfile(srgb);
  return out;
}

QByteArray EncodeJpeg(const Rgb8& picture, int quality, const QByteArray& profile, bool grey,
                      const QByteArray& exif) {
  JpegJob job;
  job.width = picture.width, job.height = picture.height, job.pixels = picture.pixels.data();
  job.quality = quality, job.profile = profile, job.grey = grey;
  if (!exif.isEmpty()) job.markers.push_back({JPEG_APP0 + 1, exif});
  return Write(job);
}

QByteArray AdobeCameraExif() {
  ExifData* data = exif_data_new();
  SetAscii(data, EXIF_IFD_0, EXIF_TAG_MODEL, "Trimjet Testcam");
  SetShort(data, EXIF_IFD_EXIF, EXIF_TAG_COLOR_SPACE, 0xFFFF);
  SetAscii(data, EXIF_IFD_INTEROPERABILITY, EXIF_TAG_INTEROPERABILITY_INDEX, "R03");
  return Saved(data);
}

Rgb8 DecodeJpeg(const QByteArray& jpeg) {
  jpeg_decompress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(jpeg.constData()),
               static_cast<unsigned long>(jpeg.size()));
  jpeg_read_header(&cinfo, TRUE);
  cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&cinfo);
  Rgb8 out{int(cinfo.output_width), int(cinfo.output_height), {}};
  out.pixels.resize(std::size_t(out.width) * out.height * 3);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW r = out.pixels.data() + std::size_t(out.width) * 3 * cinfo.output_scanline;
    jpeg_read_scanlines(&cinfo, &r, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return out;
}

bool WritePng(const QString& path, const Rgb8& picture, const QByteArray& profile) {
  QImage image(picture.pixels.data(), picture.width, picture.height, picture.width * 3,
               QImage::Format_RGB888);
  QImage copy = image.copy();
  if (!profile.isEmpty()) copy.setColorSpace(QColorSpace::fromIccProfile(profile));
  return copy.save(path, "PNG");
}

bool UnconvertedPixels(const QString& path, Rgb8& out) {
  if (path.endsWith(".jpg")) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    out = DecodeJpeg(f.readAll());
    return true;
  }
  QImage image(path);  // Qt keeps the stored values and only notes the colour space
  if (image.isNull()) return false;
  image = image.convertToFormat(QImage::Format_RGB888);
  out = Rgb8{image.width(), image.height(), {}};
  for (int y = 0; y < image.height(); ++y)
    out.pixels.insert(out.pixels.end(), image.constScanLine(y),
                      image.constScanLine(y) + image.width() * 3);
  return true;
}

QByteArray CmykJpeg() {
  // Adobe's convention, which libjpeg's Adobe marker announces: ink stored inverted.
  std::vector<std::uint8_t> px;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 48; ++x) {
      const int block = x / 16;
      const std::uint8_t c = block == 1 ? 255 : 0, k = block == 2 ? 255 : 0;
      for (std::uint8_t ink : {c, std::uint8_t(0), std::uint8_t(0), k})
        px.push_back(std::uint8_t(255 - ink));
    }
  JpegJob job;
  job.width = 48, job.height = 16, job.pixels = px.data(), job.cmyk = true, job.quality = 95;
  return Write(job);
}

Rgb8 CmykInks() {
  return Make(48, 16, [](int x, int) {
    switch (x / 16) {
      case 0:
        return EngineFixtures::Rgb{255, 255, 255};
      case 1:
        return EngineFixtures::Rgb{0, 160, 227};  // process cyan on a screen
      default:
        return EngineFixtures::Rgb{35, 31, 32};  // rich black it is not: one ink
    }
  });
}

QByteArray FloatGreyTiff() {
  const int w = 256, h = 2, entries = 10;
  const std::uint32_t dataAt = 8 + 2 + entries * 12 + 4;
  QByteArray b("II*\0", 4);
  Put32(b, 8);
  Put16(b, entries);
  auto entry = [&](unsigned tag, unsigned type, std::uint32_t value) {
    Put16(b, tag), Put16(b, type), Put32(b, 1);
    if (type == 3)
      Put16(b, value), Put16(b, 0);
    else
      Put32(b, value);
  };
  entry(256, 4, w), entry(257, 4, h), entry(258, 3, 32), entry(259, 3, 1), entry(262, 3, 1);
  entry(273, 4, dataAt), entry(277, 3, 1), entry(278, 4, h), entry(279, 4, w * h * 4);
  entry(339, 3, 3);  // IEEE float samples
  Put32(b, 0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const float v = float(x) / 255.0f;
      std::uint32_t bits;
      std::memcpy(&bits, &v, 4);
      Put32(b, bits);
    }
  return b;
}

bool WriteGrey16Png(const QString& path) {
  QImage image(256, 2, QImage::Format_Grayscale16);
  for (int y = 0; y < 2; ++y) {
    auto* row = reinterpret_cast<quint16*>(image.scanLine(y));
    for (int x = 0; x < 256; ++x) row[x] = quint16(x * 257);
  }
  return image.save(path, "PNG");
}

namespace {

const QByteArray kXmp(
    "<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF "
    "xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'><rdf:Description "
    "xmlns:tiff='http://ns.adobe.com/tiff/1.0/' tiff:Orientation='6' "
    "xmlns:exif='http://ns.adobe.com/exif/1.0/' exif:ColorSpace='65535' "
    "xmlns:photoshop='http://ns.adobe.com/photoshop/1.0/' photoshop:ICCProfile='Adobe RGB (1998)'/>"
    "</rdf:RDF></x:xmpmeta>");
const QByteArray kIptcCaption = QByteArray("\x1C\x02\x78\x00\x05", 5) + "Trees";

// A TIFF directory (type, count and value bytes per tag) and its long values appended to b.
std::uint32_t AppendIfd(QByteArray& b, const std::map<unsigned, std::pair<int, QByteArray>>& tags) {
  static const int unit[] = {0, 1, 1, 2, 4, 8};
  if (b.size() % 2) b.append('\0');
  const std::uint32_t at = std::uint32_t(b.size());
  QByteArray values;
  Put16(b, unsigned(tags.size()));
  for (const auto& [tag, typed] : tags) {
    const auto& [type, value] = typed;
    Put16(b, tag), Put16(b, unsigned(type)), Put32(b, std::uint32_t(value.size() / unit[type]));
    if (value.size() <= 4) {
      b += value + QByteArray(4 - value.size(), '\0');
    } else {
      Put32(b, at + 6 + 12 * std::uint32_t(tags.size()) + std::uint32_t(values.size()));
      values += value + QByteArray(value.size() % 2, '\0');
    }
  }
  Put32(b, 0);
  b += values;
  return at;
}

QByteArray Le(std::initializer_list<std::uint32_t> numbers, bool shorts) {
  QByteArray b;
  for (std::uint32_t n : numbers) shorts ? Put16(b, n) : Put32(b, n);
  return b;
}

}  // namespace

QByteArray CameraTiff(const Rgb8& pattern, int orientation, bool adobe) {
  QByteArray b("II*\0\0\0\0\0", 8);
  b.append(reinterpret_cast<const char*>(pattern.pixels.data()), qsizetype(pattern.pixels.size()));
  const auto ascii = [](const char* text) {
    return std::make_pair(2, QByteArray(text).append('\0'));
  };
  const std::uint32_t gps =
      AppendIfd(b, {{1, ascii("N")}, {2, {5, Le({52, 1, 30, 1, 0, 1}, false)}}});
  const std::uint32_t interop = AppendIfd(b, {{1, ascii("R03")}});
  std::map<unsigned, std::pair<int, QByteArray>> exif{{0x9003, ascii("2024:05:06 07:08:09")}};
  if (adobe) exif[0xA001] = {3, Le({0xFFFF}, true)}, exif[0xA005] = {4, Le({interop}, false)};
  const std::uint32_t exifAt = AppendIfd(b, exif);
  const auto number = [](std::uint32_t n) { return std::make_pair(4, Le({n}, false)); };
  const auto count = std::uint32_t(pattern.pixels.size());
  const std::uint32_t first = AppendIfd(b, {{256, number(std::uint32_t(pattern.width))},
                                            {257, number(std::uint32_t(pattern.height))},
                                            {258, {3, Le({8, 8, 8}, true)}},
                                            {259, {3, Le({1}, true)}},
                                            {262, {3, Le({2}, true)}},
                                            {271, ascii("Trimjet")},
                                            {272, ascii("Trimjet Testcam")},
                                            {273, number(8)},
                                            {274, {3, Le({std::uint32_t(orientation)}, true)}},
                                            {277, {3, Le({3}, true)}},
                                            {278, number(std::uint32_t(pattern.height))},
                                            {279, number(count)},
                                            {700, {1, kXmp}},
                                            {33723, {4, kIptcCaption + QByteArray(2, '\0')}},
                                            {34665, number(exifAt)},
                                            {34853, number(gps)}});
  for (int i = 0; i < 4; ++i) b[4 + i] = char(first >> (8 * i));
  return b;
}

QByteArray CameraJpeg() {
  ExifData* data = exif_data_new();
  exif_data_set_byte_order(data, EXIF_BYTE_ORDER_MOTOROLA);
  SetShort(data, EXIF_IFD_0, EXIF_TAG_ORIENTATION, 6);
  SetAscii(data, EXIF_IFD_0, EXIF_TAG_MAKE, "Trimjet");
  SetAscii(data, EXIF_IFD_0, EXIF_TAG_MODEL, "Trimjet Testcam");
  SetAscii(data, EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_ORIGINAL, "2024:05:06 07:08:09");
  SetAscii(data, EXIF_IFD_GPS, ExifTag(EXIF_TAG_GPS_LATITUDE_REF), "N");
  // The thumbnail: a tiny JPEG of its own, which would show the picture unturned.
  const QByteArray thumb = EncodeJpeg(Make(8, 8,
                                           [](int, int) {
                                             return EngineFixtures::Rgb{9, 9, 9};
                                           }),
                                      50, {});
  data->data = static_cast<unsigned char*>(std::malloc(std::size_t(thumb.size())));
  std::memcpy(data->data, thumb.constData(), std::size_t(thumb.size()));
  data->size = unsigned(thumb.size());
  SetShort(data, EXIF_IFD_1, EXIF_TAG_COMPRESSION, 6);
  unsigned char* exif = nullptr;
  unsigned int exifSize = 0;
  exif_data_save_data(data, &exif, &exifSize);
  exif_data_unref(data);

  const Rgb8 pattern = PatternPixels();
  JpegJob job;
  job.width = pattern.width, job.height = pattern.height, job.pixels = pattern.pixels.data();
  job.markers.push_back({JPEG_APP0 + 1, QByteArray(reinterpret_cast<char*>(exif), int(exifSize))});
  std::free(exif);
  job.markers.push_back({JPEG_APP0 + 1, QByteArray("http://ns.adobe.com/xap/1.0/\0", 29) + kXmp});
  // IPTC caption (2:120) inside Photoshop's resource 0x0404.
  const QByteArray record = kIptcCaption;
  QByteArray iptc = QByteArray(
      "Photoshop 3.0\0"
      "8BIM\x04\x04\0\0\0\0\0",
      25);
  iptc.append(char(record.size())).append(record).append('\0');
  job.markers.push_back({JPEG_APP0 + 13, iptc});
  return Write(job);
}

ReadBack ReadMetadata(const QByteArray& jpeg) {
  ReadBack r;
  jpeg_decompress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(jpeg.constData()),
               static_cast<unsigned long>(jpeg.size()));
  jpeg_save_markers(&cinfo, JPEG_APP0 + 1, 0xFFFF);
  jpeg_save_markers(&cinfo, JPEG_APP0 + 13, 0xFFFF);
  jpeg_read_header(&cinfo, TRUE);
  for (jpeg_saved_marker_ptr m = cinfo.marker_list; m; m = m->next) {
    const QByteArray payload(reinterpret_cast<const char*>(m->data), int(m->data_length));
    if (m->marker == JPEG_APP0 + 13) r.iptc = payload.contains("Trees");
    if (m->marker == JPEG_APP0 + 1 && payload.startsWith("http://ns.adobe.com/xap/1.0/"))
      r.xmp = payload.contains("tiff:Orientation='1'") &&  // kept, upright and sRGB
              payload.contains("exif:ColorSpace='1'") && !payload.contains("ICCProfile");
    if (m->marker == JPEG_APP0 + 1 && payload.startsWith(QByteArray("Exif\0\0", 6))) {
      ExifData* data = exif_data_new_from_data(m->data, m->data_length);
      r.dateTaken = Text(data, EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_ORIGINAL);
      r.model = Text(data, EXIF_IFD_0, EXIF_TAG_MODEL);
      r.gpsLatitudeRef = Text(data, EXIF_IFD_GPS, ExifTag(EXIF_TAG_GPS_LATITUDE_REF));
      r.orientation = Short(data, EXIF_IFD_0, EXIF_TAG_ORIENTATION);
      r.colourSpace = Short(data, EXIF_IFD_EXIF, EXIF_TAG_COLOR_SPACE);
      r.thumbnail = data->size > 0;
      exif_data_unref(data);
    }
  }
  jpeg_destroy_decompress(&cinfo);
  return r;
}

QByteArray ManyScanJpeg(const QByteArray& profile) {
  // Every coefficient band of every component, one bit at a time: legal, and 2112 scans.
  std::vector<jpeg_scan_info> scans;
  for (int c = 0; c < 3; ++c) {
    scans.push_back({1, {c}, 0, 0, 0, 10});
    for (int al = 9; al >= 0; --al) scans.push_back({1, {c}, 0, 0, al + 1, al});
    for (int k = 1; k < 64; ++k) {
      scans.push_back({1, {c}, k, k, 0, 10});
      for (int al = 9; al >= 0; --al) scans.push_back({1, {c}, k, k, al + 1, al});
    }
  }
  const Rgb8 photo = Photo();
  JpegJob job;
  job.width = photo.width, job.height = photo.height, job.pixels = photo.pixels.data();
  job.profile = profile, job.scans = scans;
  return Write(job);
}

}  // namespace FaithfulFiles
