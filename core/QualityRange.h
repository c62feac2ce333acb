#pragma once
// The encoder quality every front end offers: the sliders, trimjet-cli's --quality, the target
// size search and the automatic quality all stay within it.
namespace QualityRange {

inline constexpr int kLowest = 7;
inline constexpr int kHighest = 98;
inline constexpr int kDefault = 70;

}  // namespace QualityRange
