#pragma once
// The benchmark's deterministic pictures: photo-like 12-megapixel scenes (gradients,
// texture, noise and hard edges) and small files of every supported format.
#include <QString>
#include <QStringList>
#include <memory>

class clsImage;

namespace BenchCorpus {

// A photo-like picture; variant changes the scene, not its character.
std::shared_ptr<clsImage> MakePhoto(int width, int height, int variant);
// Binary PPM, the input cjpeg and ImageMagick read.
bool WritePpm(const clsImage& image, const QString& path);
// Small files (bmp, jpg, gif, tif, png, pcx, tga) of a picture, made with ImageMagick.
QStringList WriteSmallFormats(const clsImage& image, const QString& folder);

}  // namespace BenchCorpus
