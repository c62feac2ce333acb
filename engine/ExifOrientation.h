#pragma once
// EXIF orientation of photographs: read from a JPEG's APP1 block and applied to the
// pixels, because the files the engine writes carry no EXIF to say it.
#include <cstddef>
#include <cstdint>

class ImageDescriptor;

namespace ExifOrientation {

// Orientation tag (1..8) of an APP1 payload starting with "Exif\0\0"; 1 when absent or bad.
int FromApp1(const std::uint8_t* data, std::size_t size);
// Turns the picture so that it looks upright; 1 and unknown values leave it alone.
// False only when the turned copy could not be allocated (the picture is then unchanged).
bool Apply(ImageDescriptor& picture, int orientation);

}  // namespace ExifOrientation
