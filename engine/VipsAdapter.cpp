#include "engine/VipsAdapter.h"

#include <QFile>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <vector>
#include <vips/vips8>

#include "engine/GuardedMapping.h"
#include "engine/ImageDescriptor.h"
#include "engine/JpegCodec.h"
#include "engine/JpegErrorManager.h"
#include "engine/PictureColour.h"
#include "engine/ReleasingSink.h"
#include "engine/RowSink.h"
#include "engine/TgaDecoder.h"
#include "engine/TiffTags.h"
#include "engine/VipsPipeline.h"

using vips::VImage;

namespace VipsAdapter {
namespace {

void Start() {
  static std::once_flag once;
  std::call_once(once, [] {
    vips_init("trimjet");
    // Cached operations would keep references to pixels the engine borrows and frees.
    vips_cache_set_max(0);
  });
}

bool StoresOrientation(ImageFormat::Code format) {
  switch (format) {
    case ImageFormat::kJpeg:
    case ImageFormat::kTiff:
    case ImageFormat::kWebp:
    case ImageFormat::kHeif:
    case ImageFormat::kAvif:
      return true;
    default:
      return false;
  }
}

// ImageMagick hands over BMP and PCX rows in file order and reports the header's origin
// (bottom-left, right-to-left) as an orientation, which puts the rows in picture order.
bool ReportsRowOrder(ImageFormat::Code format) {
  return format == ImageFormat::kBmp || format == ImageFormat::kPcx;
}

// 8-bit sRGB with exactly three bands, upright, transparency flattened onto white.
VImage Normalised(VImage image, ImageFormat::Code format, bool* profiled) {
  // A PNG's or GIF's rows are shown as stored, as viewers show them.
  if (StoresOrientation(format) || ReportsRowOrder(format)) image = image.autorot();
  if (format != ImageFormat::kUnknown) {
    image = PictureColour::ToSrgb(image, profiled);
  } else if (image.interpretation() != VIPS_INTERPRETATION_sRGB ||
             image.format() != VIPS_FORMAT_UCHAR) {
    // Pipelines over the engine's own pixels: their results only need bringing back to bytes.
    try {
      image = image.colourspace(VIPS_INTERPRETATION_sRGB);
    } catch (const vips::VError&) {
      vips_error_clear();
    }
  }
  if (image.has_alpha()) {
    const double white = image.format() == VIPS_FORMAT_USHORT ? 65535.0 : 255.0;
    image = image.flatten(VImage::option()->set("background", std::vector<double>{white}));
  }
  if (image.format() != VIPS_FORMAT_UCHAR) image = image.cast(VIPS_FORMAT_UCHAR);
  if (image.bands() == 1) image = image.bandjoin({image, image});
  if (image.bands() == 2)
    image = image.extract_band(0).bandjoin({image.extract_band(0), image.extract_band(0)});
  if (image.bands() > 3) image = image.extract_band(0, VImage::option()->set("n", 3));
  return image;
}

QByteArray Blob(const VImage& image, const char* name) {
  if (image.get_typeof(name) == 0) return {};
  std::size_t size = 0;
  const void* data = image.get_blob(name, &size);
  return QByteArray(static_cast<const char*>(data), qsizetype(size));
}

void ReadMetadata(const VImage& image, bool profiled, PictureMetadata& metadata) {
  metadata.SetExif(Blob(image, VIPS_META_EXIF_NAME));
  metadata.SetXmp(Blob(image, VIPS_META_XMP_NAME));
  metadata.SetIptc(Blob(image, VIPS_META_IPTC_NAME));
  if (profiled) metadata.DeclareSrgb();
}

int CopyRows(VipsRegion* region, VipsRect* area, void* target) {
  auto* out = static_cast<ImageDescriptor*>(target);
  const std::size_t bytes = std::size_t(area->width) * 3;
  // A damaged file can leave a region whose pixels are not the 3-byte ones the pipeline
  // promised (seen with TIFFs whose samples-per-pixel tag is lost): refuse rather than read
  // past its buffer.
  if (VIPS_REGION_SIZEOF_PEL(region) != 3 || !vips_rect_includesrect(&region->valid, area) ||
      std::size_t(VIPS_REGION_SIZEOF_LINE(region)) < bytes) {
    vips_error("trimjet", "%s", "unexpected pixel layout");
    return -1;
  }
  for (int y = area->top; y < area->top + area->height; ++y)
    std::memcpy(out->Row(y) + area->left * 3, VIPS_REGION_ADDR(region, area->left, y), bytes);
  return 0;
}

// The same rows handed on in order (libvips writes its strips top to bottom, one at a time).
int PassRows(VipsRegion* region, VipsRect* area, void* target) {
  auto* sink = static_cast<RowSink*>(target);
  const std::size_t bytes = std::size_t(area->width) * 3;
  if (VIPS_REGION_SIZEOF_PEL(region) != 3 || !vips_rect_includesrect(&region->valid, area) ||
      area->left != 0 || area->width != region->im->Xsize) {
    vips_error("trimjet", "%s", "unexpected pixel layout");
    return -1;
  }
  for (int y = area->top; y < area->top + area->height; ++y) {
    std::memcpy(sink->Row(y), VIPS_REGION_ADDR(region, 0, y), bytes);
    if (!sink->Rows(y, 1)) {
      vips_error("trimjet", "%s", "stopped");
      return -1;
    }
  }
  return 0;
}

// Runs the pipeline on both cores straight into the picture's rows. out is written in place
// when it already has the right size, else replaced on success only. Decode errors inside
// the sink show in the error buffer, which Guarded() checks.
bool Render(VImage image, ImageDescriptor& out, ImageFormat::Code format = ImageFormat::kUnknown,
            Extras* extras = nullptr, RowSink* sink = nullptr) {
  const bool fits = ImageDescriptor::SizeAllowed(image.width(), image.height());
  if (extras) extras->tooLarge = !fits;
  if (!fits) return false;
  bool profiled = false;
  image = Normalised(image, format, &profiled);
  if (!ImageDescriptor::SizeAllowed(image.width(), image.height())) return false;
  if (extras) ReadMetadata(image, profiled, extras->metadata);
  if (sink) return sink->Begin(image.width(), image.height()) &&
                   vips_sink_disc(image.get_image(), PassRows, sink) == 0;
  if (out.Width() == image.width() && out.Height() == image.height())
    return vips_sink_disc(image.get_image(), CopyRows, &out) == 0;
  ImageDescriptor pixels;
  if (pixels.Allocate(image.width(), image.height(), false) != kImageOk) {
    if (extras) extras->tooLarge = true;
    return false;
  }
  if (vips_sink_disc(image.get_image(), CopyRows, &pixels) != 0) return false;
  out = std::move(pixels);
  return true;
}

// Runs one libvips job. Besides exceptions, a job whose decode failed inside a worker
// thread can come back "successful" in 8.14 with the failure only in the error buffer.
template <typename Fn>
bool Guarded(Fn&& fn) {
  Start();
  vips_error_clear();
  bool ok = false;
  try {
    ok = fn();
  } catch (const vips::VError&) {
    ok = false;
  }
  ok = ok && vips_error_buffer()[0] == '\0';
  vips_error_clear();
  return ok;
}

// A damaged file fails instead of turning into a black or half-grey picture that a batch
// run would then write over the original.
vips::VOption* Strict() { return VImage::option()->set("fail_on", VIPS_FAIL_ON_ERROR); }

// streamed: the rows are read once, top to bottom, so a PNG (never turned) need not be
// decoded into a whole-picture buffer first.
VImage FromBlob(VipsBlob* blob, ImageFormat::Code format, bool streamed) {
  // Random access: turning a picture upright reads it out of order.
  switch (format) {
    case ImageFormat::kJpeg:
      return VImage::jpegload_buffer(blob, Strict());
    case ImageFormat::kGif:
      return VImage::gifload_buffer(blob, Strict());
    case ImageFormat::kTiff:
      return VImage::tiffload_buffer(blob, Strict());
    case ImageFormat::kPng:
      return VImage::pngload_buffer(
          blob, streamed ? Strict()->set("access", VIPS_ACCESS_SEQUENTIAL) : Strict());
    case ImageFormat::kWebp:
      return VImage::webpload_buffer(blob, Strict());
    case ImageFormat::kHeif:
    case ImageFormat::kAvif: {
      // libheif probes the end of the memory source, which libvips 8.14 notes as a "bad seek"
      // although nothing failed; errors of the decode itself come later, in the sink.
      VImage image = VImage::heifload_buffer(blob, Strict());
      vips_error_clear();
      return image;
    }
    case ImageFormat::kBmp:
    case ImageFormat::kPcx:
      return VImage::magickload_buffer(blob, Strict());
    default:
      throw vips::VError("format not loadable from memory");
  }
}

// libvips widens a GIF's picture to every frame, however far outside the logical screen a
// frame is placed: a 153-byte file could claim a 9572 x 27029 canvas. The screen is the
// picture; a file whose frames reach beyond it is refused before its canvas is allocated.
bool WithinGifScreen(const QByteArray& bytes, const VImage& image) {
  if (bytes.size() < 10) return false;
  const auto word = [&](int i) {
    return int(std::uint8_t(bytes[i])) | int(std::uint8_t(bytes[i + 1])) << 8;
  };
  return image.width() <= word(6) && image.height() <= word(8);
}

// TGA by the engine's own decoder; the pixels outlive every image made from them here.
bool LoadTga(const QByteArray& bytes, ImageDescriptor& out, Extras* extras, RowSink* sink) {
  TgaDecoder::Picture picture;
  TgaDecoder::Result result;
  try {
    result = TgaDecoder::Decode(bytes, picture);
  } catch (const std::bad_alloc&) {
    result = TgaDecoder::Result::kTooLarge;
  }
  if (extras) extras->tooLarge = result == TgaDecoder::Result::kTooLarge;
  if (extras) extras->brokenData = result == TgaDecoder::Result::kDamaged;
  if (result != TgaDecoder::Result::kOk) return false;
  // Said to be sRGB, so the fourth band is taken for alpha.
  const VImage image =
      VImage::new_from_memory(picture.pixels.data(), picture.pixels.size(), picture.width,
                              picture.height, picture.bands, VIPS_FORMAT_UCHAR)
          .copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
  return Render(image, out, ImageFormat::kTga, extras, sink);
}

bool LoadBlob(const QByteArray& bytes, ImageFormat::Code format, ImageDescriptor& out,
              Extras* extras, RowSink* sink) {
  if (format == ImageFormat::kTga) return LoadTga(bytes, out, extras, sink);
  // The blob borrows the bytes; they outlive every image made from them in this call.
  VipsBlob* blob = vips_blob_new(nullptr, bytes.constData(), std::size_t(bytes.size()));
  bool ok = false;
  try {
    VImage image = FromBlob(blob, format, sink != nullptr);
    if (format == ImageFormat::kGif && !WithinGifScreen(bytes, image)) {
      vips_area_unref(VIPS_AREA(blob));
      return false;
    }
    // libvips reads no camera tags from a TIFF; they join the picture as its EXIF.
    if (format == ImageFormat::kTiff && image.get_typeof(VIPS_META_EXIF_NAME) == 0) {
      const QByteArray exif = TiffTags::Exif(bytes);
      if (!exif.isEmpty()) {
        image = image.copy();
        vips_image_set_blob_copy(image.get_image(), VIPS_META_EXIF_NAME, exif.constData(),
                                 std::size_t(exif.size()));
      }
    }
    // The header was read: from here a failure is the picture data's (or a size limit's).
    if (extras) extras->brokenData = true;
    ok = Render(image, out, format, extras, sink);
  } catch (...) {
    vips_area_unref(VIPS_AREA(blob));
    throw;
  }
  vips_area_unref(VIPS_AREA(blob));
  return ok;
}

bool BytesInto(const QByteArray& bytes, ImageFormat::Code format, ImageDescriptor& out,
               Extras* extras, RowSink* sink) {
  // The named format wins: other content is refused, not decoded as what it is.
  if (bytes.isEmpty() || !ImageFormat::ContentFits(bytes, format)) return false;
  // libvips has no scan limit of its own for the JPEGs it is given.
  if (format == ImageFormat::kJpeg &&
      JpegCodec::CountScans(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                            std::size_t(bytes.size()),
                            JpegErrorManager::kMaxScans + 1) > JpegErrorManager::kMaxScans) {
    if (extras) extras->tooLarge = true;
    return false;
  }
  const bool ok = Guarded([&] { return LoadBlob(bytes, format, out, extras, sink); });
  if (extras && (ok || extras->tooLarge)) extras->brokenData = false;
  return ok;
}

bool FileInto(const QString& path, ImageFormat::Code format, ImageDescriptor& out, Extras* extras,
              RowSink* sink) {
  // Always through memory: ImageMagick would read "[1]" or "tga:" inside a file name as
  // instructions of its own. Mapped, so only the pages the decoder reads are loaded: a small
  // picture followed by gigabytes of anything costs no more than the picture.
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  if (file.size() > kMaxFileBytes) {
    if (extras) extras->tooLarge = true;
    return false;
  }
  const GuardedMapping mapped(file.handle(), std::size_t(file.size()));
  if (mapped.Data()) {
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(mapped.Data()),
                                                     qsizetype(mapped.Size()));
    bool ok = false;
    if (sink) {
      ReleasingSink releasing(*sink, mapped.Data(), mapped.Size());
      ok = BytesInto(bytes, format, out, extras, &releasing);
    } else {
      ok = BytesInto(bytes, format, out, extras, nullptr);
    }
    return ok && !mapped.Changed();
  }
  // Not mappable (empty, a pipe): read in pieces, since read(n) would reserve n bytes at once.
  QByteArray bytes;
  for (QByteArray piece; !(piece = file.read(1 << 20)).isEmpty();) {
    bytes += piece;
    if (bytes.size() > kMaxFileBytes) {
      if (extras) extras->tooLarge = true;
      return false;
    }
  }
  return BytesInto(bytes, format, out, extras, sink);
}

}  // namespace

bool LoadFile(const QString& path, ImageFormat::Code format, ImageDescriptor& out, Extras* extras) {
  return FileInto(path, format, out, extras, nullptr);
}

bool LoadBuffer(const QByteArray& bytes, ImageFormat::Code format, ImageDescriptor& out,
                Extras* extras) {
  return BytesInto(bytes, format, out, extras, nullptr);
}

bool StreamFile(const QString& path, ImageFormat::Code format, RowSink& sink, Extras* extras) {
  ImageDescriptor unused;
  return FileInto(path, format, unused, extras, &sink);
}

bool ResizeSmooth(const ImageDescriptor& src, int width, int height, ImageDescriptor& out) {
  if (src.Empty() || width < 1 || height < 1) return false;
  return VipsPipeline::Run(
      src,
      [&](VImage in) {
        const double hscale = double(width) / src.Width();
        const double vscale = double(height) / src.Height();
        VImage scaled = in.resize(
            hscale, VImage::option()->set("vscale", vscale)->set("kernel", VIPS_KERNEL_LANCZOS3));
        // Rounding inside the resize can leave a pixel more or less.
        if (scaled.width() != width || scaled.height() != height)
          scaled =
              scaled.embed(0, 0, width, height, VImage::option()->set("extend", VIPS_EXTEND_COPY));
        return scaled;
      },
      out);
}

}  // namespace VipsAdapter

bool VipsPipeline::Run(const ImageDescriptor& src, const std::function<VImage(VImage)>& op,
                       ImageDescriptor& out) {
  if (src.Empty() || &src == &out) return false;
  return VipsAdapter::Guarded([&] {
    std::vector<std::uint8_t> packed;
    const std::uint8_t* data = src.Bits();
    if (src.PadBytes() != 0) {
      // libvips wants rows without padding.
      const std::size_t row = std::size_t(src.Width()) * 3;
      packed.resize(row * src.Height());
      for (int y = 0; y < src.Height(); ++y) std::memcpy(&packed[row * y], src.Row(y), row);
      data = packed.data();
    }
    VImage in = VImage::new_from_memory(const_cast<std::uint8_t*>(data),
                                        std::size_t(src.Width()) * 3 * src.Height(), src.Width(),
                                        src.Height(), 3, VIPS_FORMAT_UCHAR);
    return VipsAdapter::Render(op(in), out);
  });
}
