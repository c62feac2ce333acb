#pragma once
// The yardstick: libjpeg-turbo called directly, with the settings the engine uses, and
// nothing around it.
#include <cstdint>
#include <vector>

namespace BareJpeg {

struct Picture {
  std::vector<std::uint8_t> rgb;  // packed rows
  int width = 0;
  int height = 0;
};

// Baseline, 4:2:0, accurate DCT, optimised Huffman tables (unless told not to), into memory.
std::vector<std::uint8_t> Encode(const Picture& picture, int quality, bool optimize = true);
// Decodes into out, which must already have the JPEG's size.
bool Decode(const std::vector<std::uint8_t>& jpeg, Picture& out);
// Reads the file with libjpeg's stdio source into a fresh buffer.
bool DecodeFile(const char* path, Picture& out);

}  // namespace BareJpeg
