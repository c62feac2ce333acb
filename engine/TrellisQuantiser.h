#pragma once
// TrellisQuantiser: rate-distortion quantisation of one 8 x 8 block. For every AC
// coefficient it weighs the rounded value, one step nearer zero and zero, and keeps the
// choice of the whole block that costs least in bits + distortion / lambda. Bits come from
// the picture's own symbol statistics, gathered by a first plain pass (Count), so the
// choice follows the Huffman code the file will get. Distortion is the squared error in
// quantisation steps: the tables are shaped by visibility, so a step shows alike at every
// frequency.
#include <array>
#include <cstdint>

class TrellisQuantiser {
 public:
  using Coefficients = std::array<float, 64>;   // DCT output, natural order
  using Steps = std::array<std::uint16_t, 64>;  // natural order
  using Block = std::array<std::int16_t, 64>;   // quantised, natural order

  // Plain rounding; the DC is always rounded.
  static void Round(const Coefficients& c, const Steps& q, Block& out);
  // Adds out's AC symbols to the statistics.
  void Count(const Block& block);
  // Turns the statistics into bit costs; before any Quantise.
  void Prepare();
  // lambda > 0: how many bits one squared step of error is worth to save.
  void Quantise(const Coefficients& c, const Steps& q, double lambda, Block& out) const;

 private:
  std::array<std::uint32_t, 256> counts_{};
  std::array<float, 256> bits_{};  // code length of each run/size symbol
};
