#pragma once
// The one door to libvips: decoding the formats other than the engine's own JPEG path,
// and smooth scaling. Every result is normalised to the engine's 24-bit picture.
#include <QByteArray>
#include <QString>

#include "engine/ImageFormat.h"
#include "engine/PictureMetadata.h"

class ImageDescriptor;
class RowSink;

namespace VipsAdapter {

// What a load found besides the pixels.
struct Extras {
  PictureMetadata metadata;
  bool tooLarge = false;  // refused by a size limit, not for its content
  // Refused because its picture data ends early or is damaged, although its header was fine
  // (loaders would otherwise give black or grey for what is missing).
  bool brokenData = false;
};

// Loads a whole picture of the given format. The orientation stored in JPEG, TIFF, WebP and
// HEIF files is applied, and BMP, PCX and TGA (the engine's TgaDecoder) rows are put in the
// order their header names (PNG and GIF stay as stored); colours are converted
// to sRGB (PictureColour), alpha is composited onto white, and grey, palette, 16-bit and CMYK
// pictures become 8-bit RGB. Files and pictures beyond the engine's size limits are refused
// before their pixels are decoded, and so is content that is not of the format named.
bool LoadFile(const QString& path, ImageFormat::Code format, ImageDescriptor& out,
              Extras* extras = nullptr);
bool LoadBuffer(const QByteArray& bytes, ImageFormat::Code format, ImageDescriptor& out,
                Extras* extras = nullptr);

// LoadFile's checks and pixels, handed to sink row by row instead of held whole; extras are
// filled before sink.Begin.
bool StreamFile(const QString& path, ImageFormat::Code format, RowSink& sink,
                Extras* extras = nullptr);

// Resamples src to exactly width x height: area-averaging shrink then Lanczos 3, the
// quality every encoded output shows. An out of that size is drawn into in place.
bool ResizeSmooth(const ImageDescriptor& src, int width, int height, ImageDescriptor& out);

}  // namespace VipsAdapter
