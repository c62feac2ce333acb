#pragma once
// ChromaChoice: how much colour resolution a picture needs. Halving chroma saves a third to
// a half of the bytes and costs little the eye sees on photos at low and middle qualities,
// whose colour is soft and whose chroma grain quantisation removes anyway; it smears coloured
// text, lines and flat graphics, and at high qualities it is the largest error left. Below
// quality 80 the measure is cheap: the share of neighbouring chroma samples that differ by
// more than grain does, across and down, on every fourth row.
#include <cstdint>

namespace ChromaChoice {

enum class Layout { k444, k422, k420 };

// cb and cr: full-resolution planes of width x height; quality 1..100 (at low qualities the
// quantiser blurs colour edges anyway, so they must be stronger to count).
Layout Pick(const std::uint8_t* cb, const std::uint8_t* cr, int width, int height, int quality);

}  // namespace ChromaChoice
