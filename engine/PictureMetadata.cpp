#include "engine/PictureMetadata.h"

#include <libexif/exif-data.h>

#include <QRegularExpression>
#include <cstdlib>
#include <cstring>

namespace {

// A marker segment holds at most 65535 bytes, two of them its length.
constexpr int kMaxPayload = 65533;
const QByteArray kExifLead("Exif\0\0", 6);
const QByteArray kXmpLead("http://ns.adobe.com/xap/1.0/\0", 29);
const QByteArray kPhotoshopLead("Photoshop 3.0\0", 14);

void SetShort(ExifData* data, ExifIfd ifd, ExifTag tag, ExifShort value) {
  ExifEntry* entry = exif_content_get_entry(data->ifd[ifd], tag);
  if (!entry) {
    entry = exif_entry_new();
    if (!entry) return;
    // The IFD refuses an entry whose tag it already holds; a blank entry has tag 0, which a
    // damaged directory may hold. Tagged first, and checked, so a refused entry is not used.
    entry->tag = tag;
    exif_content_add_entry(data->ifd[ifd], entry);
    const bool added = entry->parent == data->ifd[ifd];
    if (added) exif_entry_initialize(entry, tag);
    exif_entry_unref(entry);  // the IFD holds it now, or it is gone
    if (!added) return;
  }
  if (entry->format == EXIF_FORMAT_SHORT && entry->size >= 2)
    exif_set_short(entry->data, exif_data_get_byte_order(data), value);
}

ExifData* NewExif() {
  ExifData* data = exif_data_new();
  if (!data) return nullptr;
  // Kept as the camera wrote it: unknown tags too, no entries made up (libexif's defaults would
  // add "mandatory" ones, stale pixel sizes among them), maker notes untouched. The maker-note
  // option is libexif's highest; every option below it is cleared first.
  exif_data_unset_option(data, ExifDataOption((EXIF_DATA_OPTION_DONT_CHANGE_MAKER_NOTE << 1) - 1));
  exif_data_set_option(data, EXIF_DATA_OPTION_DONT_CHANGE_MAKER_NOTE);
  return data;
}

ExifEntry* InteropIndex(ExifData* data) {
  ExifEntry* entry =
      exif_content_get_entry(data->ifd[EXIF_IFD_INTEROPERABILITY], EXIF_TAG_INTEROPERABILITY_INDEX);
  return entry && entry->data && entry->size >= 3 ? entry : nullptr;
}

QByteArray Upright(ExifData* data) {
  if (exif_content_get_entry(data->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION))
    SetShort(data, EXIF_IFD_0, EXIF_TAG_ORIENTATION, 1);
  SetShort(data, EXIF_IFD_EXIF, EXIF_TAG_COLOR_SPACE, 1);
  // "R03" is the Adobe RGB option of the camera rule; the pixels are sRGB's now.
  if (ExifEntry* index = InteropIndex(data); index && std::memcmp(index->data, "R03", 3) == 0)
    std::memcpy(index->data, "R98", 3);
  // The thumbnail and its directory describe the unedited picture.
  ExifContent* first = data->ifd[EXIF_IFD_1];
  while (first->count > 0) exif_content_remove_entry(first, first->entries[first->count - 1]);
  std::free(data->data);
  data->data = nullptr;
  data->size = 0;
  unsigned char* bytes = nullptr;
  unsigned int size = 0;
  exif_data_save_data(data, &bytes, &size);
  QByteArray out;
  if (bytes && size <= unsigned(kMaxPayload))
    out = QByteArray(reinterpret_cast<char*>(bytes), int(size));
  std::free(bytes);
  return out.startsWith(kExifLead) ? out : QByteArray();
}

// The EXIF loaded as libexif keeps it, or null when there is none.
ExifData* Loaded(const QByteArray& exif) {
  // HEIF stores a 4-byte offset before the TIFF header; find the header itself.
  qsizetype at = exif.startsWith(kExifLead) ? 6 : 0;
  if (!exif.mid(at, 4).startsWith("II*") && !exif.mid(at, 4).startsWith("MM")) {
    const qsizetype ii = exif.indexOf(QByteArray("II*\0", 4)),
                    mm = exif.indexOf(QByteArray("MM\0*", 4));
    at = ii >= 0 && (mm < 0 || ii < mm) ? ii : mm;
    if (at < 0 || at > 16) return nullptr;
  }
  const QByteArray withLead = kExifLead + exif.mid(at);
  ExifData* data = NewExif();
  if (!data) return nullptr;
  exif_data_load_data(data, reinterpret_cast<const unsigned char*>(withLead.constData()),
                      unsigned(withLead.size()));
  if (data->ifd[EXIF_IFD_0]->count > 0 || data->ifd[EXIF_IFD_EXIF]->count > 0) return data;
  exif_data_unref(data);
  return nullptr;
}

}  // namespace

void PictureMetadata::SetExif(const QByteArray& exif) {
  exif_.clear();
  if (ExifData* data = Loaded(exif)) {
    exif_ = Upright(data);
    exif_data_unref(data);
  }
}

bool PictureMetadata::SaysAdobeRgb(const QByteArray& exif) {
  if (exif.isEmpty()) return false;
  ExifData* data = Loaded(exif);
  if (!data) return false;
  const ExifEntry* space = exif_content_get_entry(data->ifd[EXIF_IFD_EXIF], EXIF_TAG_COLOR_SPACE);
  const ExifEntry* index = InteropIndex(data);
  const bool adobe = space && space->format == EXIF_FORMAT_SHORT && space->size >= 2 &&
                     exif_get_short(space->data, exif_data_get_byte_order(data)) == 0xFFFF &&
                     index && std::memcmp(index->data, "R03", 3) == 0;
  exif_data_unref(data);
  return adobe;
}

void PictureMetadata::DeclareSrgb() {
  if (!exif_.isEmpty()) return;
  ExifData* data = NewExif();
  if (!data) return;
  exif_data_set_byte_order(data, EXIF_BYTE_ORDER_INTEL);
  exif_ = Upright(data);
  exif_data_unref(data);
}

void PictureMetadata::SetXmp(const QByteArray& xmp) {
  xmp_ = xmp.isEmpty() || xmp.startsWith(kXmpLead) ? xmp : kXmpLead + xmp;
  // XMP can repeat the orientation (as an attribute or an element); it must say upright too.
  static const QRegularExpression orientation(
      QStringLiteral(R"((?<=tiff:Orientation=["'])[2-8]|(?<=<tiff:Orientation>)[2-8])"));
  if (xmp_.contains("tiff:Orientation"))
    xmp_ = QString::fromUtf8(xmp_).replace(orientation, QStringLiteral("1")).toUtf8();
  // Its colour notes too: the pixels are sRGB now and carry no profile.
  static const QRegularExpression space(
      QStringLiteral(R"((?<=exif:ColorSpace=["'])\d+|(?<=<exif:ColorSpace>)\d+)"));
  static const QRegularExpression profile(QStringLiteral(
      R"(\s+photoshop:ICCProfile=("[^"]*"|'[^']*')|<photoshop:ICCProfile>[^<]*</photoshop:ICCProfile>)"));
  if (xmp_.contains("exif:ColorSpace") || xmp_.contains("photoshop:ICCProfile"))
    xmp_ = QString::fromUtf8(xmp_)
               .replace(space, QStringLiteral("1"))
               .remove(profile)
               .toUtf8();
  if (xmp_.size() > kMaxPayload) xmp_.clear();  // extended XMP is not carried
}

void PictureMetadata::SetIptc(const QByteArray& iptc) {
  iptc_.clear();
  if (iptc.isEmpty()) return;
  if (iptc.startsWith(kPhotoshopLead)) {
    iptc_ = iptc;
  } else {
    // Bare records go into resource 0x0404 of a Photoshop block.
    QByteArray block = kPhotoshopLead + QByteArray("8BIM\x04\x04\0\0", 8);
    const quint32 n = quint32(iptc.size());
    block.append(char(n >> 24)).append(char(n >> 16)).append(char(n >> 8)).append(char(n));
    block += iptc;
    if (n & 1) block.append('\0');
    iptc_ = block;
  }
  if (iptc_.size() > kMaxPayload) iptc_.clear();
}
