#pragma once
// The plug-in's table of strings, the one place its five texts are kept.
#include <cstddef>

namespace modPlugInStrings {

inline constexpr unsigned kPlugInName = 1;
inline constexpr unsigned kMenuText = 4;
inline constexpr unsigned kButtonText = 5;
inline constexpr unsigned kHint = 6;
inline constexpr unsigned kShortText = 7;

// Copies text id into buffer, cut to size - 1 bytes and zero-ended; returns the bytes copied
// (0 for an unknown id or a buffer without room).
std::size_t LoadPlugInString(unsigned id, char* buffer, std::size_t size);

}  // namespace modPlugInStrings
