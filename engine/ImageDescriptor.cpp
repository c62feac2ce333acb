#include "engine/ImageDescriptor.h"

#include <cstring>
#include <new>

bool ImageDescriptor::SizeAllowed(std::int64_t width, std::int64_t height) {
  return width >= 1 && height >= 1 && width <= kMaxImageSide && height <= kMaxImageSide &&
         width * height <= kMaxImagePixels;
}

int ImageDescriptor::Allocate(int width, int height, bool zero) {
  if (width < 1 || height < 1) return kImageBadArgument;
  if (!SizeAllowed(width, height)) return kImageNoMemory;
  const int stride = StrideFor(width);
  const std::size_t bytes = std::size_t(stride) * std::size_t(height);
  // Decoders overwrite every byte, so only Create pays for clearing.
  std::unique_ptr<std::uint8_t[]> pixels(new (std::nothrow) std::uint8_t[bytes]);
  if (!pixels) return kImageNoMemory;
  if (zero) {
    std::memset(pixels.get(), 0, bytes);
  } else if (stride > width * 3) {
    // Pad bytes are never decoded into; clear them so rows compare and hash stably.
    for (int y = 0; y < height; ++y)
      std::memset(pixels.get() + std::size_t(y) * stride + width * 3, 0, stride - width * 3);
  }
  pixels_ = std::move(pixels);
  width_ = width;
  height_ = height;
  stride_ = stride;
  return kImageOk;
}

void ImageDescriptor::Release() {
  pixels_.reset();
  width_ = height_ = stride_ = 0;
}

ImageDescriptor ImageDescriptor::Clone() const {
  ImageDescriptor copy;
  if (Empty() || copy.Allocate(width_, height_, false) != kImageOk) return copy;
  std::memcpy(copy.pixels_.get(), pixels_.get(), std::size_t(stride_) * height_);
  return copy;
}
