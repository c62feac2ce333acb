#include "engine/TgaDecoder.h"

#include <algorithm>
#include <array>

#include "engine/ImageDescriptor.h"

namespace TgaDecoder {
namespace {

using Rgba = std::array<std::uint8_t, 4>;

unsigned Word(const std::uint8_t* p) { return unsigned(p[0]) | unsigned(p[1]) << 8; }

std::uint8_t Widened(unsigned five) { return std::uint8_t(five << 3 | five >> 2); }

// One stored value: grey, BGR, BGRA, or 5-5-5 with the attribute bit as alpha.
Rgba Colour(const std::uint8_t* p, int bytes, bool grey) {
  switch (bytes) {
    case 1:
      return {p[0], p[0], p[0], 255};
    case 2: {
      if (grey) return {p[0], p[0], p[0], p[1]};
      const unsigned v = Word(p);
      return {Widened(v >> 10 & 31), Widened(v >> 5 & 31), Widened(v & 31),
              std::uint8_t(v & 0x8000 ? 255 : 0)};
    }
    case 3:
      return {p[2], p[1], p[0], 255};
    default:
      return {p[2], p[1], p[0], p[3]};
  }
}

// The stored values in file order, raw or as run-length packets (which may cross rows).
class Values {
 public:
  Values(const std::uint8_t* at, const std::uint8_t* end, int bytes, bool packed)
      : at_(at), end_(end), bytes_(bytes), packed_(packed) {}

  // Null when the data ends early.
  const std::uint8_t* Next() {
    if (!packed_) return Take();
    if (left_ == 0) {
      if (at_ >= end_) return nullptr;
      const std::uint8_t head = *at_++;
      run_ = (head & 0x80) != 0;
      left_ = (head & 0x7F) + 1;
      if (run_ && !(repeated_ = Take())) return nullptr;
    }
    --left_;
    return run_ ? repeated_ : Take();
  }

 private:
  const std::uint8_t* Take() {
    if (end_ - at_ < bytes_) return nullptr;
    const std::uint8_t* value = at_;
    at_ += bytes_;
    return value;
  }

  const std::uint8_t* at_;
  const std::uint8_t* end_;
  int bytes_;
  bool packed_;
  bool run_ = false;
  int left_ = 0;
  const std::uint8_t* repeated_ = nullptr;
};

}  // namespace

Result Decode(const QByteArray& bytes, Picture& out) {
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
  const std::uint8_t* end = data + bytes.size();
  if (bytes.size() < 18) return Result::kNotTga;
  const int type = data[2] & 7, bits = data[16], descriptor = data[17];
  const bool packed = (data[2] & 8) != 0, mapped = type == 1, grey = type == 3;
  const int width = int(Word(data + 12)), height = int(Word(data + 14));
  const int bytesPer = (bits + 7) / 8;
  const bool bitsFit = mapped ? bits == 8 || bits == 16
                       : grey ? bits == 8 || bits == 16
                              : bits == 15 || bits == 16 || bits == 24 || bits == 32;
  if (type < 1 || type > 3 || data[2] > 11 || !bitsFit || width == 0 || height == 0)
    return Result::kNotTga;
  if (!ImageDescriptor::SizeAllowed(width, height)) return Result::kTooLarge;

  std::ptrdiff_t at = 18 + data[0];
  std::vector<Rgba> map;
  if (data[1] == 1) {
    const int entryBits = data[7], entryBytes = (entryBits + 7) / 8;
    if (entryBits != 15 && entryBits != 16 && entryBits != 24 && entryBits != 32)
      return Result::kDamaged;
    const int length = int(Word(data + 5));
    if (bytes.size() - at < std::ptrdiff_t(length) * entryBytes) return Result::kDamaged;
    for (int i = 0; i < length; ++i, at += entryBytes)
      map.push_back(Colour(data + at, entryBytes, false));
  }
  if (mapped && map.empty()) return Result::kDamaged;
  // Data too short for the picture it claims is refused before a byte is allocated: a raw
  // value per pixel, or a packet header and value per 128 pixels at the least.
  const std::int64_t pixels = std::int64_t(width) * height;
  const std::int64_t least = packed ? (pixels + 127) / 128 * (1 + bytesPer) : pixels * bytesPer;
  if (bytes.size() - at < least) return Result::kDamaged;

  const unsigned mapFirst = Word(data + 3);
  // 16-bit colour carries alpha only when the header says it has an attribute bit.
  const bool alphaPossible = (descriptor & 15) != 0 || (grey && bits == 16);
  const bool upward = (descriptor & 0x20) == 0, leftward = (descriptor & 0x10) != 0;
  const int bands = alphaPossible ? 4 : 3;
  out.pixels.assign(std::size_t(pixels) * bands, 0);
  Values values(data + at, end, bytesPer, packed);
  bool anyAlpha = false;
  for (int row = 0; row < height; ++row) {
    const int y = upward ? height - 1 - row : row;
    for (int col = 0; col < width; ++col) {
      const std::uint8_t* value = values.Next();
      if (!value) return Result::kDamaged;
      Rgba c;
      if (mapped) {
        const unsigned index = (bits == 16 ? Word(value) : value[0]) - mapFirst;
        if (index >= map.size()) return Result::kDamaged;
        c = map[index];
      } else {
        c = Colour(value, bytesPer, grey);
      }
      anyAlpha = anyAlpha || c[3] != 0;
      const int x = leftward ? width - 1 - col : col;
      std::copy_n(c.begin(), bands, out.pixels.begin() + (std::ptrdiff_t(y) * width + x) * bands);
    }
  }
  out.width = width, out.height = height, out.bands = bands;
  // Alpha zero everywhere is a writer leaving the attribute bits unset, not a blank picture.
  if (bands == 4 && !anyAlpha) {
    for (std::int64_t i = 0; i < pixels; ++i)
      std::copy_n(out.pixels.begin() + i * 4, 3, out.pixels.begin() + i * 3);
    out.pixels.resize(std::size_t(pixels) * 3);
    out.bands = 3;
  }
  return Result::kOk;
}

}  // namespace TgaDecoder
