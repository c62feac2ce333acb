#pragma once
// TGA pictures read by the engine itself. The header's origin decides the row and column
// order, whoever wrote the file; ImageMagick's reader, used before, turned the bottom-left
// files most programs write upside down.
#include <QByteArray>
#include <cstdint>
#include <vector>

namespace TgaDecoder {

enum class Result { kOk, kNotTga, kTooLarge, kDamaged };

struct Picture {
  int width = 0;
  int height = 0;
  int bands = 3;                     // 4 when the file has alpha that is not zero everywhere
  std::vector<std::uint8_t> pixels;  // RGB or RGBA, top row first, no padding
};

// Colour-mapped, true-colour and grey pictures, raw or run-length encoded, at 8, 15, 16, 24
// and 32 bits, in any of the four origins. A picture beyond the engine's size limits, or
// one whose data cannot fill it, is refused before its pixels are allocated.
Result Decode(const QByteArray& bytes, Picture& out);

}  // namespace TgaDecoder
