#pragma once
// One picture's pixels: 24-bit RGB, rows top-down, each row padded to a multiple of four
// bytes. The engine's only pixel store; it owns its buffer and is moved, never copied.
#include <cstddef>
#include <cstdint>
#include <memory>

// Result codes of allocation, kept in the image library's style: 0 is success.
enum ImageResult : int {
  kImageOk = 0,
  kImageBadArgument = -2,
  kImageNoMemory = -14,
};

// JPEG cannot store more than this many pixels a side.
inline constexpr int kMaxImageSide = 65500;
// Largest picture the engine allocates; larger files are refused before decoding.
inline constexpr std::int64_t kMaxImagePixels = 300'000'000;
// Largest file the engine opens; larger ones are refused without being read.
inline constexpr std::int64_t kMaxFileBytes = std::int64_t(1) << 30;
// What the user is told when any of these limits refuses a file; the file and scan limits
// add which one it was.
inline constexpr char kTooLargeText[] = "too large";
inline constexpr char kFileTooLargeText[] = "too large (the file is over 1 GiB)";
inline constexpr char kTooManyScansText[] = "too large (more than 500 progressive scans)";

class ImageDescriptor {
 public:
  ImageDescriptor() = default;
  ImageDescriptor(ImageDescriptor&&) noexcept = default;
  ImageDescriptor& operator=(ImageDescriptor&&) noexcept = default;
  ImageDescriptor(const ImageDescriptor&) = delete;
  ImageDescriptor& operator=(const ImageDescriptor&) = delete;

  // True when a picture of this size may be allocated at all (limits above).
  static bool SizeAllowed(std::int64_t width, std::int64_t height);
  static int StrideFor(int width) { return (width * 3 + 3) & ~3; }

  // Replaces the contents by a new picture; zeroed (black) when zero is set. On failure
  // the descriptor is left as it was and the code says why.
  int Allocate(int width, int height, bool zero);
  void Release();
  ImageDescriptor Clone() const;

  bool Empty() const { return stride_ == 0; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  int Stride() const { return stride_; }
  int PadBytes() const { return stride_ - 3 * width_; }
  std::uint8_t* Bits() { return pixels_.get(); }
  const std::uint8_t* Bits() const { return pixels_.get(); }
  std::uint8_t* Row(int y) { return pixels_.get() + std::ptrdiff_t(y) * stride_; }
  const std::uint8_t* Row(int y) const { return pixels_.get() + std::ptrdiff_t(y) * stride_; }

 private:
  std::unique_ptr<std::uint8_t[]> pixels_;
  int width_ = 0;
  int height_ = 0;
  int stride_ = 0;  // bytes per row; 0 = no picture
};
