#pragma once
// The conversation between ThumbnailClient and the trimjet-thumbnailer helper over one Unix
// socket, native byte order (both ends run on this machine):
//   client: u32 path length, UTF-8 path
//   helper: i32 loaded (1 or 0), i32 width, i32 height            -- nothing more when 0
//   client: i32 thumbnail width, i32 thumbnail height             -- 0 x 0 gives up
//   helper: u32 byte count (0 = failed), the compact JPEG bytes
#include <cstdint>

namespace ThumbnailProtocol {

// The helper finds its socket here; stdin, stdout and stderr stay what they were.
inline constexpr int kSocketFd = 3;
inline constexpr std::uint32_t kMaxPathBytes = 64 * 1024;
// A 100 x 100 thumbnail at quality 50 is a few kilobytes; anything far larger is not one.
inline constexpr std::uint32_t kMaxThumbnailBytes = 4 * 1024 * 1024;

}  // namespace ThumbnailProtocol
