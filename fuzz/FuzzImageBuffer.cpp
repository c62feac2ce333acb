// CreateFromBuffer on arbitrary bytes: every in-memory path (JPEG through libjpeg and
// libvips, BMP, GIF, TIFF, PNG), into an object that already holds a picture.
#include "FuzzSupport.h"
#include "ImageChecks.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzSupport::Initialize();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static clsImage image;
  if (image.hDC() == 0) image.Create(4, 3, 24);  // a failed load must empty it again
  const QByteArray bytes = FuzzSupport::Bytes(data, size);
  CheckLoadResult(image, image.CreateFromBuffer(bytes));
  return 0;
}
