#pragma once
// CoefficientWriter: a standard JPEG file from quantised coefficients the engine chose
// itself, through libjpeg-turbo's coefficient interface, so every decoder reads it. The
// Huffman tables are made for the picture; a progressive file tries a few scan scripts and
// keeps the smallest.
#include <QByteArray>
#include <array>
#include <cstdint>
#include <vector>

class PictureMetadata;

class CoefficientWriter {
 public:
  using Block = std::array<std::int16_t, 64>;  // natural order
  using Table = std::array<std::uint16_t, 64>;

  struct Component {
    int h = 1, v = 1;  // sampling factors
    int table = 0;     // 0 luma, 1 chroma
    int blocksWide = 0, blocksHigh = 0;
    std::vector<Block> blocks;  // row by row
  };

  CoefficientWriter(int width, int height) : width_(width), height_(height) {}
  // Blocks across and down of a component with these factors, as libjpeg counts them.
  static int BlocksWide(int width, int h, int maxH) {
    return (width * h + 8 * maxH - 1) / (8 * maxH);
  }

  // components: one (grey) or three (YCbCr). False, out untouched, when libjpeg refused.
  bool Write(const std::vector<Component>& components, const std::vector<Table>& tables,
             bool progressive, const PictureMetadata* metadata, QByteArray& out) const;

 private:
  bool WriteScript(const std::vector<Component>& components, const std::vector<Table>& tables,
                   int script, const PictureMetadata* metadata, QByteArray& out) const;

  int width_, height_;
};
