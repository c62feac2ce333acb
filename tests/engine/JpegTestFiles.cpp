#include "JpegTestFiles.h"

#include <jpeglib.h>

#include <cstdio>
#include <vector>

#include "engine/clsImage.h"

namespace JpegTestFiles {

QByteArray Encode(const clsImage& picture, bool progressive, int quality) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr errors;
  cinfo.err = jpeg_std_error(&errors);  // a failure here ends the test program, as it should
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = JDIMENSION(picture.Width());
  cinfo.image_height = JDIMENSION(picture.Height());
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  if (progressive) jpeg_simple_progression(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(picture.Pixels().Row(int(cinfo.next_scanline)));
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  QByteArray out(reinterpret_cast<const char*>(buffer), qsizetype(size));
  std::free(buffer);
  return out;
}

namespace {
// Offset of the segment after the marker at pos, or -1 past the end.
qsizetype NextSegment(const QByteArray& jpeg, qsizetype pos) {
  if (pos + 3 >= jpeg.size()) return -1;
  const int length = std::uint8_t(jpeg[pos + 2]) << 8 | std::uint8_t(jpeg[pos + 3]);
  return pos + 2 + length;
}
}  // namespace

QByteArray WithSize(QByteArray jpeg, int width, int height) {
  for (qsizetype pos = 2; pos >= 0 && pos + 8 < jpeg.size(); pos = NextSegment(jpeg, pos)) {
    const std::uint8_t marker = std::uint8_t(jpeg[pos + 1]);
    if (marker == 0xC0 || marker == 0xC1 || marker == 0xC2) {
      jpeg[pos + 5] = char(height >> 8);
      jpeg[pos + 6] = char(height);
      jpeg[pos + 7] = char(width >> 8);
      jpeg[pos + 8] = char(width);
      break;
    }
  }
  return jpeg;
}

qsizetype ScanData(const QByteArray& jpeg, int n) {
  for (qsizetype pos = 0; (pos = jpeg.indexOf("\xFF\xDA", pos)) >= 0; pos += 2)
    if (--n == 0) return NextSegment(jpeg, pos);
  return -1;
}

qsizetype ScanDataEnd(const QByteArray& jpeg, int n) {
  qsizetype pos = ScanData(jpeg, n);
  if (pos < 0) return -1;
  // Inside coded data a 0xFF byte is followed by 0 (a stuffed byte) or a restart marker.
  for (; (pos = jpeg.indexOf('\xFF', pos)) >= 0 && pos + 1 < jpeg.size(); ++pos) {
    const std::uint8_t next = std::uint8_t(jpeg[pos + 1]);
    if (next != 0 && (next < 0xD0 || next > 0xD7)) return pos;
  }
  return -1;
}

}  // namespace JpegTestFiles
