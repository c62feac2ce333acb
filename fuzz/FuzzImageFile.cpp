// CreateFromFile on arbitrary bytes written under each of the thirteen extensions (the
// extension picks the loader) and under none (the content decides). Loading never changes the
// file.
#include "FuzzSupport.h"
#include "ImageChecks.h"

namespace {
const char* const kNames[] = {"in.bmp",  "in.jpg",  "in.jpeg", "in.gif", "in.tif",
                              "in.tiff", "in.png",  "in.pcx",  "in.tga", "in.webp",
                              "in.heic", "in.avif", "in"};
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzSupport::Initialize();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes = FuzzSupport::Bytes(data, size);
  clsImage image;
  for (const char* name : kNames) {
    const QString path = FuzzSupport::ScratchPath(QString::fromLatin1(name));
    FuzzSupport::Check(FuzzSupport::WriteFile(path, bytes), "scratch file not written");
    if (image.hDC() == 0) image.Create(4, 3, 24);
    CheckLoadResult(image, image.CreateFromFile(path));
    FuzzSupport::Check(FuzzSupport::ReadFile(path) == bytes, "loading changed the file");
  }
  return 0;
}
