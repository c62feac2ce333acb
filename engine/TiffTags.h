#pragma once
// A TIFF keeps its camera's tags in its own first directory, where libvips does not look:
// camera, date, author and the EXIF, GPS and interoperability directories. Gathered here
// into the EXIF block a JPEG carries, so a TIFF made into a JPEG keeps them.
#include <QByteArray>

namespace TiffTags {

// "Exif\0\0" and a TIFF structure of those tags (the file's own byte order, values as
// stored); empty when the file has none of them or is no classic TIFF. Tags of the pixels'
// layout (sizes, strips, compression) are not taken: they describe the TIFF only.
QByteArray Exif(const QByteArray& tiff);

}  // namespace TiffTags
