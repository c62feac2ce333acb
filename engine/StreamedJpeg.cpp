#include "engine/StreamedJpeg.h"

#include <QFile>

#include "engine/GuardedMapping.h"
#include "engine/ImageDescriptor.h"
#include "engine/ImageFormat.h"
#include "engine/JpegCodec.h"
#include "engine/PictureColour.h"
#include "engine/PictureMetadata.h"
#include "engine/ReleasingSink.h"
#include "engine/SafeFile.h"
#include "engine/StreamEncoder.h"
#include "engine/VipsAdapter.h"

namespace StreamedJpeg {
namespace {

// As clsImage::CreateFromFile decides: the extension, else the content.
ImageFormat::Code FormatOf(const QString& path) {
  ImageFormat::Code format = ImageFormat::FromExtension(path);
  if (format != ImageFormat::kUnknown) return format;
  QByteArray head;
  return SafeFile::Read(path, head, 128) ? ImageFormat::FromContent(head, true)
                                         : ImageFormat::kUnknown;
}

bool Fits(const Request& request, int width, int height, QSize& target) {
  if (!request.size) return false;
  target = request.size(width, height);
  return target.isValid() && target.width() <= width && target.height() <= height;
}

}  // namespace

bool Make(const QString& path, const Request& request, QByteArray& out, QSize& size) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly) || file.size() == 0 || file.size() > kMaxFileBytes)
    return false;
  const ImageFormat::Code format = FormatOf(path);
  if (format == ImageFormat::kUnknown) return false;
  PictureMetadata metadata;
  const JpegCodec::Settings settings =
      JpegCodec::SettingsFor(request.quality, request.progressive, request.plain,
                             request.stripMetadata ? nullptr : &metadata);
  QByteArray bytes;
  bool ok = false;

  const GuardedMapping mapping(format == ImageFormat::kJpeg ? file.handle() : -1,
                               std::size_t(file.size()));
  const std::uint8_t* mapped = mapping.Data();
  JpegCodec::Header header;
  if (format == ImageFormat::kJpeg &&
      (!mapped || !JpegCodec::ReadHeader(mapped, std::size_t(file.size()), header)))
    return false;
  QSize made;
  if (format == ImageFormat::kJpeg && header.rgbDecodable) {
    // The engine's own decoder, with its rules: only an upright picture whose pixels are
    // sRGB already is held as decoded.
    QSize target;
    if (!Fits(request, header.width, header.height, target)) return false;
    JpegCodec::Extras extras;
    int orientation = 1;
    StreamEncoder encoder(settings, [&](int width, int height, QSize& wanted) {
      if (orientation != 1 || !PictureColour::SourceProfile(extras.icc, extras.exif).isEmpty())
        return false;
      metadata.SetExif(extras.exif);
      metadata.SetXmp(extras.xmp);
      metadata.SetIptc(extras.iptc);
      return Fits(request, width, height, wanted);
    });
    ReleasingSink releasing(encoder, mapped, std::size_t(file.size()));
    ok =
        JpegCodec::DecodeRows(mapped, std::size_t(file.size()), releasing, &orientation, &extras) &&
        extras.dataLost == 0 && encoder.Finish(bytes);
    made = encoder.Target();
  } else {
    // Everything else as libvips loads it for the engine, CMYK JPEGs included.
    VipsAdapter::Extras extras;
    StreamEncoder encoder(settings, [&](int width, int height, QSize& wanted) {
      metadata = extras.metadata;
      return Fits(request, width, height, wanted);
    });
    ok = VipsAdapter::StreamFile(path, format, encoder, &extras) && encoder.Finish(bytes);
    made = encoder.Target();
  }
  if (!ok || mapping.Changed()) return false;
  out = std::move(bytes);
  size = made;
  return true;
}

}  // namespace StreamedJpeg
