#pragma once
// PerceptualTables: quantisation steps shaped by how visible each DCT frequency is, instead
// of the standard tables of JPEG's annex K (made for one viewing distance and known to spend
// too little on fine luma detail and too much on fine colour). A contrast sensitivity curve
// gives each frequency its step at about 40 pixels per degree of sight; colour sensitivity
// falls off faster, and a subsampled chroma block covers twice the angle.
#include <array>
#include <cstdint>

namespace PerceptualTables {

using Table = std::array<std::uint16_t, 64>;  // natural (row-major) order, 1..255

// The luma table for a quality 1..100, scaled the way libjpeg scales its own.
Table Luma(int quality);
// The chroma table; subsampled: the chroma block spans 16 pixels of the picture.
Table Chroma(int quality, bool subsampled);

}  // namespace PerceptualTables
