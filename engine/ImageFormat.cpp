#include "engine/ImageFormat.h"

namespace ImageFormat {
namespace {

unsigned Byte(const QByteArray& b, int i) { return i < b.size() ? std::uint8_t(b[i]) : 0u; }
unsigned Word(const QByteArray& b, int i) { return Byte(b, i) | Byte(b, i + 1) << 8; }
unsigned Dword(const QByteArray& b, int i) { return Word(b, i) | Word(b, i + 2) << 16; }

bool IsJpeg(const QByteArray& b) { return b.startsWith("\xFF\xD8\xFF"); }
bool IsGif(const QByteArray& b) { return b.startsWith("GIF87a") || b.startsWith("GIF89a"); }
bool IsPng(const QByteArray& b) { return b.startsWith("\x89PNG\r\n\x1A\n"); }
bool IsTiff(const QByteArray& b) {
  return b.startsWith(QByteArray("II*\0", 4)) || b.startsWith(QByteArray("MM\0*", 4));
}

bool IsWebp(const QByteArray& b) { return b.startsWith("RIFF") && b.mid(8, 4) == "WEBP"; }

// ISO base media file: an "ftyp" box first, whose major brand names the picture kind.
QByteArray HeifBrand(const QByteArray& b) {
  if (b.size() < 12 || b.mid(4, 4) != "ftyp") return {};
  const QByteArray brand = b.mid(8, 4);
  for (const char* known :
       {"heic", "heix", "heim", "heis", "hevc", "hevx", "mif1", "msf1", "avif", "avis"})
    if (brand == known) return brand;
  return {};
}
bool IsHeif(const QByteArray& b) {
  const QByteArray brand = HeifBrand(b);
  return !brand.isEmpty() && !brand.startsWith("avi");
}
bool IsAvif(const QByteArray& b) { return HeifBrand(b).startsWith("avi"); }

bool IsBmp(const QByteArray& b) {
  // "BM" alone is too common a start; the info header size must be a known one.
  const unsigned info = Dword(b, 14);
  return b.startsWith("BM") && b.size() >= 26 &&
         (info == 12 || info == 16 || info == 40 || info == 52 || info == 56 || info == 64 ||
          info == 108 || info == 124);
}

bool IsPcx(const QByteArray& b) {
  const unsigned version = Byte(b, 1), bits = Byte(b, 3);
  return b.size() >= 128 && Byte(b, 0) == 0x0A && version <= 5 && version != 1 && Byte(b, 2) <= 1 &&
         (bits == 1 || bits == 2 || bits == 4 || bits == 8) && Word(b, 8) >= Word(b, 4) &&
         Word(b, 10) >= Word(b, 6);
}

bool IsTga(const QByteArray& b) {
  // No signature: accept only headers whose every field is in range.
  const unsigned mapType = Byte(b, 1), type = Byte(b, 2), bits = Byte(b, 16);
  const bool typeOk = type == 1 || type == 2 || type == 3 || type == 9 || type == 10 || type == 11;
  const bool mapOk = mapType == 0 || (mapType == 1 && (type == 1 || type == 9));
  const bool bitsOk = bits == 8 || bits == 15 || bits == 16 || bits == 24 || bits == 32;
  return b.size() >= 18 && typeOk && mapOk && bitsOk && Word(b, 12) > 0 && Word(b, 14) > 0 &&
         (Byte(b, 17) & 0xC0) == 0;
}

}  // namespace

namespace {

// The one table of extensions the program reads.
struct Extension {
  const char* name;
  Code code;
};
constexpr Extension kExtensions[] = {
    {"jpg", kJpeg},  {"jpeg", kJpeg}, {"gif", kGif},  {"bmp", kBmp}, {"tif", kTiff},
    {"tiff", kTiff}, {"png", kPng},   {"pcx", kPcx},  {"tga", kTga}, {"webp", kWebp},
    {"heic", kHeif}, {"heif", kHeif}, {"avif", kAvif}};

}  // namespace

Code FromExtension(const QString& path) {
  const qsizetype dot = path.lastIndexOf('.');
  if (dot < 0) return kUnknown;
  const QString ext = path.mid(dot + 1);
  for (const Extension& e : kExtensions) {
    if (ext.compare(QLatin1String(e.name), Qt::CaseInsensitive) == 0) return e.code;
  }
  return kUnknown;
}

QStringList Extensions() {
  QStringList names;
  for (const Extension& e : kExtensions) names << QString::fromLatin1(e.name);
  return names;
}

QString FilterPatterns() {
  QStringList patterns;
  for (const Extension& e : kExtensions) patterns << QStringLiteral("*.") + QLatin1String(e.name);
  return patterns.join(' ');
}

bool ContentFits(const QByteArray& bytes, Code format) {
  switch (format) {
    case kBmp:
      return IsBmp(bytes);
    case kPcx:
      return IsPcx(bytes);
    case kTga:
      // The header check alone already refuses text, whose second byte is never 0 or 1.
      return IsTga(bytes) && FromContent(bytes, false) == kUnknown;
    default:
      return true;
  }
}

Code FromContent(const QByteArray& head, bool withFileOnly) {
  if (IsJpeg(head)) return kJpeg;
  if (IsBmp(head)) return kBmp;
  if (IsGif(head)) return kGif;
  if (IsTiff(head)) return kTiff;
  if (IsPng(head)) return kPng;
  if (IsWebp(head)) return kWebp;
  if (IsHeif(head)) return kHeif;
  if (IsAvif(head)) return kAvif;
  if (withFileOnly && IsPcx(head)) return kPcx;
  if (withFileOnly && IsTga(head)) return kTga;
  return kUnknown;
}

}  // namespace ImageFormat
