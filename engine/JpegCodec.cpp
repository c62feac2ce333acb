#include "engine/JpegCodec.h"

#include <jpeglib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine/ExifOrientation.h"
#include "engine/ImageDescriptor.h"
#include "engine/JpegDestination.h"
#include "engine/JpegErrorManager.h"
#include "engine/JpegStreamEncoder.h"
#include "engine/PictureMetadata.h"
#include "engine/RowSink.h"

namespace JpegCodec {
namespace {

constexpr int kRowBatch = 16;

QByteArray Payload(const jpeg_marker_struct& m) {
  return QByteArray(reinterpret_cast<const char*>(m.data), qsizetype(m.data_length));
}

void CollectExtras(jpeg_decompress_struct& cinfo, Extras& extras) {
  for (jpeg_saved_marker_ptr m = cinfo.marker_list; m; m = m->next) {
    const QByteArray payload = Payload(*m);
    if (m->marker == JPEG_APP0 + 1 && payload.startsWith(QByteArray("Exif\0\0", 6)) &&
        extras.exif.isEmpty())
      extras.exif = payload;
    else if (m->marker == JPEG_APP0 + 1 && payload.startsWith("http://ns.adobe.com/xap/1.0/") &&
             extras.xmp.isEmpty())
      extras.xmp = payload;
    else if (m->marker == JPEG_APP0 + 13 && payload.startsWith("Photoshop 3.0") &&
             extras.iptc.isEmpty())
      extras.iptc = payload;
  }
  JOCTET* icc = nullptr;
  unsigned int iccSize = 0;
  if (jpeg_read_icc_profile(&cinfo, &icc, &iccSize) && icc)
    extras.icc = QByteArray(reinterpret_cast<const char*>(icc), qsizetype(iccSize));
  std::free(icc);
}

// Every pixel R = G = B: one component says it in a third of the samples.
bool IsGrey(const ImageDescriptor& picture) {
  const int w = picture.Width();
  for (int y = 0; y < picture.Height(); ++y) {
    const std::uint8_t* p = picture.Row(y);
    for (int x = 0; x < w; ++x, p += 3)
      if (p[0] != p[1] || p[1] != p[2]) return false;
  }
  return true;
}

// Shared by header and full reads; the caller has installed the error jump.
void StartReading(jpeg_decompress_struct& cinfo, const std::uint8_t* data, std::size_t size) {
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
  jpeg_save_markers(&cinfo, JPEG_APP0 + 1, 0xFFFF);
  jpeg_save_markers(&cinfo, JPEG_APP0 + 2, 0xFFFF);  // colour profile
  jpeg_save_markers(&cinfo, JPEG_APP0 + 13, 0xFFFF);
  jpeg_read_header(&cinfo, TRUE);
}

bool Decodable(const jpeg_decompress_struct& cinfo) {
  return cinfo.jpeg_color_space != JCS_CMYK && cinfo.jpeg_color_space != JCS_YCCK;
}

// Huffman coding spends at least one bit on every 8 x 8 block of the first component (two
// in a sequential scan), so data shorter than that cannot describe the picture it claims:
// refusing it early keeps a few hundred bytes from allocating a gigabyte. Arithmetic coding
// can spend less than a bit on a flat block and is not bounded.
bool DataCanFill(const jpeg_decompress_struct& cinfo) {
  if (cinfo.arith_code) return true;
  const jpeg_component_info& first = cinfo.comp_info[0];
  const std::uint64_t blocks = std::uint64_t(first.width_in_blocks) * first.height_in_blocks;
  return std::uint64_t(cinfo.src->bytes_in_buffer) * 8 >= blocks;
}

}  // namespace

int OrientationOf(const jpeg_decompress_struct& cinfo) {
  for (jpeg_saved_marker_ptr m = cinfo.marker_list; m; m = m->next)
    if (m->marker == JPEG_APP0 + 1) {
      const int o = ExifOrientation::FromApp1(m->data, m->data_length);
      if (o != 1) return o;
    }
  return 1;
}

Settings SettingsFor(int quality, bool progressive, bool plain, const PictureMetadata* metadata) {
  Settings settings;
  settings.quality = quality;
  settings.progressive = progressive;
  settings.plain = plain;
  settings.metadata = metadata;
  return settings;
}

bool Encode(const ImageDescriptor& picture, const Settings& settings, QByteArray& out) {
  if (picture.Empty()) return false;
  QByteArray bytes;
  JpegStreamEncoder encoder;
  const bool grey = settings.greyAsOneComponent && IsGrey(picture);
  if (!encoder.Start(picture.Width(), picture.Height(), settings, grey, bytes)) return false;
  std::vector<const std::uint8_t*> rows(std::size_t(picture.Height()));
  for (int y = 0; y < picture.Height(); ++y) rows[std::size_t(y)] = picture.Row(y);
  constexpr int kStrip = 256;  // rows between two looks at the cancel flag
  for (int y = 0; y < picture.Height(); y += kStrip) {
    if (settings.cancel && settings.cancel->load(std::memory_order_relaxed)) return false;
    if (!encoder.Write(rows.data() + y, std::min(kStrip, picture.Height() - y))) return false;
  }
  if (!encoder.Finish()) return false;
  out = std::move(bytes);
  return true;
}

bool ReadHeader(const std::uint8_t* data, std::size_t size, Header& header) {
  if (!data || size == 0) return false;
  jpeg_decompress_struct cinfo;
  JpegErrorManager errors;
  errors.Install(reinterpret_cast<jpeg_common_struct*>(&cinfo));
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  StartReading(cinfo, data, size);
  header.width = int(cinfo.image_width);
  header.height = int(cinfo.image_height);
  header.rgbDecodable = Decodable(cinfo);
  jpeg_destroy_decompress(&cinfo);
  return true;
}

namespace {

// The whole picture into one frame: target's buffer is reused when it has the size.
class FrameSink : public RowSink {
 public:
  explicit FrameSink(ImageDescriptor& target) : target_(target) {}
  bool Begin(int width, int height) override {
    return (!target_.Empty() && target_.Width() == width && target_.Height() == height) ||
           target_.Allocate(width, height, false) == kImageOk;
  }
  std::uint8_t* Row(int y) override { return target_.Row(y); }
  bool Rows(int, int) override { return true; }

 private:
  ImageDescriptor& target_;
};

}  // namespace

bool Decode(const std::uint8_t* data, std::size_t size, ImageDescriptor& target, int* orientation,
            Extras* extras) {
  FrameSink frame(target);
  if (DecodeRows(data, size, frame, orientation, extras)) return true;
  target.Release();
  return false;
}

bool DecodeRows(const std::uint8_t* data, std::size_t size, RowSink& sink, int* orientation,
                Extras* extras) {
  if (!data || size == 0) return false;
  jpeg_decompress_struct cinfo;
  JpegErrorManager errors;
  errors.Install(reinterpret_cast<jpeg_common_struct*>(&cinfo));
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&cinfo);
    if (extras) {
      extras->tooManyScans = errors.tooManyScans;
      extras->dataLost = errors.dataLost;
    }
    return false;
  }
  StartReading(cinfo, data, size);
  errors.LimitScans(&cinfo);
  // Counting the markers costs a pass over the bytes; the monitor alone would let the first
  // few hundred scans of a large picture be decoded before it says no.
  if (cinfo.progressive_mode &&
      CountScans(data, size, JpegErrorManager::kMaxScans + 1) > JpegErrorManager::kMaxScans) {
    errors.tooManyScans = true;
    std::longjmp(errors.jump, 1);
  }
  const int w = int(cinfo.image_width), h = int(cinfo.image_height);
  if (!Decodable(cinfo) || !ImageDescriptor::SizeAllowed(w, h) || !DataCanFill(cinfo)) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  if (orientation) *orientation = OrientationOf(cinfo);
  if (extras) CollectExtras(cinfo, *extras);
  errors.multiScan = jpeg_has_multiple_scans(&cinfo);
  cinfo.out_color_space = JCS_EXT_RGB;
  cinfo.dct_method = JDCT_ISLOW;
  // A file of several scans is read whole here; one whose data stops before the first row
  // is complete has no picture to give.
  jpeg_start_decompress(&cinfo);
  if (extras) extras->dataLost = errors.dataLost;
  if (errors.dataEndsAtRow == 0 || !sink.Begin(w, h)) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  JSAMPROW rows[kRowBatch];
  while (cinfo.output_scanline < cinfo.output_height) {
    const int first = int(cinfo.output_scanline);
    const int n = std::min<int>(kRowBatch, h - first);
    for (int i = 0; i < n; ++i) rows[i] = sink.Row(first + i);
    const int got = int(jpeg_read_scanlines(&cinfo, rows, JDIMENSION(n)));
    if (errors.dataEndsAtRow == 0 || !sink.Rows(first, got)) {
      jpeg_destroy_decompress(&cinfo);
      if (extras) extras->dataLost = errors.dataLost;
      return false;
    }
  }
  // Finishing reads up to EOI, where extraneous bytes after the last scan show.
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  if (extras) extras->dataLost = errors.dataLost;
  return true;
}

}  // namespace JpegCodec

namespace JpegCodec {

int CountScans(const std::uint8_t* data, std::size_t size, int limit) {
  // Inside entropy-coded data a 0xFF byte is always followed by 0 or a restart marker, so
  // every 0xFF 0xDA is a start of scan.
  int scans = 0;
  const std::uint8_t* p = data;
  const std::uint8_t* end = data + size;
  while (scans < limit && p + 1 < end) {
    p = static_cast<const std::uint8_t*>(std::memchr(p, 0xFF, std::size_t(end - p - 1)));
    if (!p) break;
    if (p[1] == 0xDA) ++scans;
    ++p;
  }
  return scans;
}

}  // namespace JpegCodec
