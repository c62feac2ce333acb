#pragma once
// The one door to libvips: decoding the formats other than the engine's own JPEG path,
// and smooth scaling. Every result is normalised to the engine's 24-bit picture.
#include <QByteArray>
#include <QString>

#include "ImageFormat.h"

class ImageDescriptor;

namespace VipsAdapter {

// Loads a whole picture of the given format. The stored orientation is applied, alpha is
// composited onto white, and grey, palette, 16-bit and CMYK pictures become 8-bit RGB.
// Pictures beyond the engine's size limits are refused before their pixels are decoded, and
// so is content that is not of the format named.
bool LoadFile(const QString& path, ImageFormat::Code format, ImageDescriptor& out);
bool LoadBuffer(const QByteArray& bytes, ImageFormat::Code format, ImageDescriptor& out);

// Resamples src to exactly width x height: area-averaging shrink then Lanczos 3, the
// quality every encoded output shows. An out of that size is drawn into in place.
bool ResizeSmooth(const ImageDescriptor& src, int width, int height, ImageDescriptor& out);

}  // namespace VipsAdapter
