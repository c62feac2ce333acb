#include "engine/ExifOrientation.h"

#include <cstring>

#include "engine/ImageDescriptor.h"

namespace ExifOrientation {
namespace {

struct TiffReader {
  const std::uint8_t* p;
  std::size_t size;
  bool little;
  bool Has(std::size_t at, std::size_t n) const { return at <= size && n <= size - at; }
  unsigned U16(std::size_t at) const {
    return little ? p[at] | p[at + 1] << 8 : p[at] << 8 | p[at + 1];
  }
  std::uint32_t U32(std::size_t at) const {
    return little ? U16(at) | std::uint32_t(U16(at + 2)) << 16
                  : std::uint32_t(U16(at)) << 16 | U16(at + 2);
  }
};

}  // namespace

int FromApp1(const std::uint8_t* data, std::size_t size) {
  if (size < 14 || std::memcmp(data, "Exif\0\0", 6) != 0) return 1;
  TiffReader r{data + 6, size - 6, data[6] == 'I'};
  if (!(r.p[0] == r.p[1] && (r.p[0] == 'I' || r.p[0] == 'M')) || r.U16(2) != 42) return 1;
  const std::uint32_t ifd = r.U32(4);
  if (!r.Has(ifd, 2)) return 1;
  const unsigned count = r.U16(ifd);
  for (unsigned i = 0; i < count; ++i) {
    const std::size_t entry = ifd + 2 + std::size_t(i) * 12;
    if (!r.Has(entry, 12)) return 1;
    if (r.U16(entry) == 0x0112 && r.U16(entry + 2) == 3) {
      const unsigned value = r.U16(entry + 8);
      return value >= 1 && value <= 8 ? int(value) : 1;
    }
  }
  return 1;
}

bool Apply(ImageDescriptor& picture, int orientation) {
  if (orientation < 2 || orientation > 8 || picture.Empty()) return true;
  const int w = picture.Width(), h = picture.Height();
  const bool swap = orientation >= 5;  // 5..8 turn by a quarter
  ImageDescriptor turned;
  if (turned.Allocate(swap ? h : w, swap ? w : h, false) != kImageOk) return false;
  // For each stored pixel (x, y): where it lands in the upright picture.
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* src = picture.Row(y);
    for (int x = 0; x < w; ++x, src += 3) {
      int tx = x, ty = y;
      switch (orientation) {
        case 2:
          tx = w - 1 - x;
          break;
        case 3:
          tx = w - 1 - x;
          ty = h - 1 - y;
          break;
        case 4:
          ty = h - 1 - y;
          break;
        case 5:
          tx = y;
          ty = x;
          break;
        case 6:
          tx = h - 1 - y;
          ty = x;
          break;
        case 7:
          tx = h - 1 - y;
          ty = w - 1 - x;
          break;
        case 8:
          tx = y;
          ty = w - 1 - x;
          break;
      }
      std::memcpy(turned.Row(ty) + tx * 3, src, 3);
    }
  }
  picture = std::move(turned);
  return true;
}

}  // namespace ExifOrientation
