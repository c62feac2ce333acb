#include "engine/JpegThumbnail.h"

#include <jpeglib.h>

#include <QFile>
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "engine/ExifOrientation.h"
#include "engine/GuardedMapping.h"
#include "engine/ImageDescriptor.h"
#include "engine/JpegCodec.h"
#include "engine/JpegErrorManager.h"
#include "engine/PictureColour.h"
#include "engine/PixelScaler.h"
#include "engine/clsImage.h"

namespace JpegThumbnail {
namespace {

// The longer side of every thumbnail the program makes is at most 100 pixels.
constexpr int kEnoughPixels = 128;
constexpr int kRowBatch = 16;

struct Reduced {
  ImageDescriptor pixels;
  int width = 0;  // stored size, before the orientation
  int height = 0;
  int orientation = 1;
  QByteArray profile;  // embedded colour profile, converted after the decode
  QByteArray exif;     // the first EXIF payload, which may name the colours instead
};

QByteArray ExifOf(const jpeg_decompress_struct& cinfo) {
  for (jpeg_saved_marker_ptr m = cinfo.marker_list; m; m = m->next)
    if (m->marker == JPEG_APP0 + 1 && m->data_length > 6 &&
        std::memcmp(m->data, "Exif\0\0", 6) == 0)
      return QByteArray(reinterpret_cast<const char*>(m->data), qsizetype(m->data_length));
  return {};
}

// The DCT scaling of libjpeg: the strongest of 1/2, 1/4 and 1/8 whose longer side keeps
// kEnoughPixels, so most of the inverse transform is never computed.
bool DecodeReduced(const std::uint8_t* data, std::size_t size, Reduced& out) {
  jpeg_decompress_struct cinfo;
  JpegErrorManager errors;
  errors.Install(reinterpret_cast<jpeg_common_struct*>(&cinfo));
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&cinfo);
    out.pixels.Release();
    return false;
  }
  jpeg_create_decompress(&cinfo);
  errors.LimitScans(&cinfo);
  jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
  jpeg_save_markers(&cinfo, JPEG_APP0 + 1, 0xFFFF);
  jpeg_save_markers(&cinfo, JPEG_APP0 + 2, 0xFFFF);
  jpeg_read_header(&cinfo, TRUE);
  JOCTET* icc = nullptr;
  unsigned int iccSize = 0;
  if (jpeg_read_icc_profile(&cinfo, &icc, &iccSize) && icc)
    out.profile = QByteArray(reinterpret_cast<const char*>(icc), qsizetype(iccSize));
  std::free(icc);
  out.width = int(cinfo.image_width);
  out.height = int(cinfo.image_height);
  out.orientation = JpegCodec::OrientationOf(cinfo);
  out.exif = ExifOf(cinfo);
  if (cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK ||
      !ImageDescriptor::SizeAllowed(out.width, out.height) ||
      (cinfo.progressive_mode &&
       JpegCodec::CountScans(data, size, JpegErrorManager::kMaxScans + 1) >
           JpegErrorManager::kMaxScans)) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  const unsigned longSide = unsigned(std::max(out.width, out.height));
  unsigned denom = 1;
  while (denom < 8 && (longSide + 2 * denom - 1) / (2 * denom) >= unsigned(kEnoughPixels))
    denom *= 2;
  cinfo.scale_num = 1;
  cinfo.scale_denom = denom;
  cinfo.out_color_space = JCS_EXT_RGB;
  jpeg_calc_output_dimensions(&cinfo);
  const int w = int(cinfo.output_width), h = int(cinfo.output_height);
  if (out.pixels.Allocate(w, h, false) != kImageOk) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_start_decompress(&cinfo);
  JSAMPROW rows[kRowBatch];
  while (cinfo.output_scanline < cinfo.output_height) {
    const int first = int(cinfo.output_scanline);
    const int n = std::min(kRowBatch, h - first);
    for (int i = 0; i < n; ++i) rows[i] = out.pixels.Row(first + i);
    jpeg_read_scanlines(&cinfo, rows, JDIMENSION(n));
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return true;
}

bool MakeFromBytes(const std::uint8_t* data, std::size_t size,
                   const std::function<QSize(int, int)>& fit, Result& result) {
  Reduced reduced;
  if (!DecodeReduced(data, size, reduced)) return false;
  if (!ExifOrientation::Apply(reduced.pixels, reduced.orientation)) return false;
  // The same colours as the picture the optimiser shows.
  const QByteArray profile = PictureColour::SourceProfile(reduced.profile, reduced.exif);
  if (!profile.isEmpty()) PictureColour::ConvertToSrgb(reduced.pixels, profile);
  const bool turned = reduced.orientation >= 5 && reduced.orientation <= 8;
  const int w = turned ? reduced.height : reduced.width;
  const int h = turned ? reduced.width : reduced.height;
  const QSize fitted = fit(w, h);
  if (fitted.width() < 1 || fitted.height() < 1) return false;
  ImageDescriptor thumb;
  if (thumb.Allocate(fitted.width(), fitted.height(), false) != kImageOk) return false;
  const ImageDescriptor& src = reduced.pixels;
  PixelScaler::Nearest(src, QRect(0, 0, src.Width(), src.Height()), thumb,
                       QRect(QPoint(0, 0), fitted));
  if (!JpegCodec::Encode(thumb, JpegCodec::SettingsFor(clsImage::kBufferQuality, false, true),
                         result.buffer))
    return false;
  result.pictureWidth = w;
  result.pictureHeight = h;
  return true;
}

}  // namespace

bool Make(const QString& fileName, const std::function<QSize(int, int)>& fit, Result& result) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly) || file.size() == 0) return false;
  if (file.size() > kMaxFileBytes) return false;
  // Mapped: only the pages the decoder reads are ever loaded.
  const GuardedMapping mapped(file.handle(), std::size_t(file.size()));
  if (mapped.Data())
    return MakeFromBytes(mapped.Data(), mapped.Size(), fit, result) && !mapped.Changed();
  const QByteArray bytes = file.readAll();
  return MakeFromBytes(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                       std::size_t(bytes.size()), fit, result);
}

}  // namespace JpegThumbnail
