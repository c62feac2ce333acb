#include "engine/TiffTags.h"

#include <libexif/exif-data.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace TiffTags {
namespace {

// A marker segment holds at most 65535 bytes; a larger value could never be carried.
constexpr std::uint32_t kMaxValueBytes = 60000;
constexpr unsigned kExifPointer = 0x8769, kGpsPointer = 0x8825, kInteropPointer = 0xA005;

// What the first directory says about the picture rather than about its storage.
constexpr unsigned kDescriptive[] = {0x010D, 0x010E, 0x010F, 0x0110, 0x0112, 0x011A,
                                     0x011B, 0x0128, 0x0131, 0x0132, 0x013B, 0x013C,
                                     0x8298, 0x9C9B, 0x9C9C, 0x9C9D, 0x9C9E, 0x9C9F};

class Reader {
 public:
  Reader(const QByteArray& bytes, bool motorola) : bytes_(bytes), motorola_(motorola) {}

  bool Has(std::uint64_t at, std::uint64_t n) const {
    return at + n <= std::uint64_t(bytes_.size());
  }
  unsigned Byte(std::uint64_t at) const { return std::uint8_t(bytes_[qsizetype(at)]); }
  std::uint32_t Get16(std::uint64_t at) const {
    if (!Has(at, 2)) return 0;
    return motorola_ ? Byte(at) << 8 | Byte(at + 1) : Byte(at) | Byte(at + 1) << 8;
  }
  std::uint32_t Get32(std::uint64_t at) const {
    return motorola_ ? Get16(at) << 16 | Get16(at + 2) : Get16(at) | Get16(at + 2) << 16;
  }
  const char* At(std::uint64_t at) const { return bytes_.constData() + at; }

 private:
  const QByteArray& bytes_;
  bool motorola_;
};

void Add(ExifContent* content, unsigned tag, ExifFormat format, std::uint32_t count,
         const char* value, std::uint32_t size) {
  ExifEntry* entry = exif_entry_new();
  if (!entry) return;
  entry->tag = ExifTag(tag);
  entry->format = format;
  entry->components = count;
  entry->size = size;
  entry->data = static_cast<unsigned char*>(std::malloc(size));
  if (entry->data) {
    std::memcpy(entry->data, value, size);
    exif_content_add_entry(content, entry);  // refused when the tag is there already
  }
  exif_entry_unref(entry);
}

// Copies the directory at offset into target; pointers to the directories below are followed
// into theirs, each directory once. The first directory gives only its descriptive tags.
void Copy(const Reader& in, std::uint32_t offset, ExifData* data, ExifIfd target,
          bool (&visited)[EXIF_IFD_COUNT]) {
  if (visited[target] || !in.Has(offset, 2)) return;
  visited[target] = true;
  const std::uint32_t count = in.Get16(offset);
  for (std::uint32_t i = 0; i < count && in.Has(offset + 2 + 12 * (i + 1), 0); ++i) {
    const std::uint64_t at = offset + 2 + 12 * i;
    const unsigned tag = in.Get16(at), type = in.Get16(at + 2);
    const std::uint32_t n = in.Get32(at + 4);
    const ExifIfd below = tag == kExifPointer && target == EXIF_IFD_0  ? EXIF_IFD_EXIF
                          : tag == kGpsPointer && target == EXIF_IFD_0 ? EXIF_IFD_GPS
                          : tag == kInteropPointer && target == EXIF_IFD_EXIF
                              ? EXIF_IFD_INTEROPERABILITY
                              : EXIF_IFD_COUNT;
    if (below != EXIF_IFD_COUNT) {
      Copy(in, in.Get32(at + 8), data, below, visited);
      continue;
    }
    if (tag == kExifPointer || tag == kGpsPointer || tag == kInteropPointer) continue;
    if (target == EXIF_IFD_0 &&
        std::find(std::begin(kDescriptive), std::end(kDescriptive), tag) == std::end(kDescriptive))
      continue;
    const unsigned unit = type >= 1 && type <= 12 ? exif_format_get_size(ExifFormat(type)) : 0;
    if (unit == 0 || n == 0 || n > kMaxValueBytes / unit) continue;
    const std::uint32_t size = unit * n;
    const std::uint64_t value = size <= 4 ? at + 8 : in.Get32(at + 8);
    if (in.Has(value, size)) Add(data->ifd[target], tag, ExifFormat(type), n, in.At(value), size);
  }
}

}  // namespace

QByteArray Exif(const QByteArray& tiff) {
  if (tiff.size() < 8 || (!tiff.startsWith("II") && !tiff.startsWith("MM"))) return {};
  const bool motorola = tiff.startsWith("MM");
  const Reader in(tiff, motorola);
  if (in.Get16(2) != 42) return {};  // BigTIFF's directories have another layout
  ExifData* data = exif_data_new();
  if (!data) return {};
  exif_data_set_byte_order(data, motorola ? EXIF_BYTE_ORDER_MOTOROLA : EXIF_BYTE_ORDER_INTEL);
  bool visited[EXIF_IFD_COUNT] = {};
  Copy(in, in.Get32(4), data, EXIF_IFD_0, visited);
  QByteArray out;
  if (data->ifd[EXIF_IFD_0]->count > 0 || data->ifd[EXIF_IFD_EXIF]->count > 0 ||
      data->ifd[EXIF_IFD_GPS]->count > 0) {
    unsigned char* bytes = nullptr;
    unsigned int size = 0;
    exif_data_save_data(data, &bytes, &size);
    if (bytes) out = QByteArray(reinterpret_cast<const char*>(bytes), qsizetype(size));
    std::free(bytes);
  }
  exif_data_unref(data);
  return out;
}

}  // namespace TiffTags
