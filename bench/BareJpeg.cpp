#include "BareJpeg.h"

// jpeglib.h needs FILE and size_t declared before it.
#include <cstdio>
#include <cstdlib>
// clang-format off
#include <jpeglib.h>
// clang-format on

namespace BareJpeg {

std::vector<std::uint8_t> Encode(const Picture& picture, int quality, bool optimize) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = JDIMENSION(picture.width);
  cinfo.image_height = JDIMENSION(picture.height);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_EXT_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  cinfo.optimize_coding = optimize ? TRUE : FALSE;
  cinfo.dct_method = JDCT_ISLOW;
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(
        &picture.rgb[std::size_t(cinfo.next_scanline) * 3 * std::size_t(picture.width)]);
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::vector<std::uint8_t> out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

namespace {

void ReadRows(jpeg_decompress_struct& cinfo, Picture& out) {
  jpeg_read_header(&cinfo, TRUE);
  cinfo.out_color_space = JCS_EXT_RGB;
  jpeg_start_decompress(&cinfo);
  const std::size_t stride = std::size_t(cinfo.output_width) * 3;
  if (out.rgb.size() != stride * cinfo.output_height) {
    out.rgb = std::vector<std::uint8_t>(stride * cinfo.output_height);
    out.width = int(cinfo.output_width);
    out.height = int(cinfo.output_height);
  }
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = &out.rgb[std::size_t(cinfo.output_scanline) * stride];
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
}

}  // namespace

bool Decode(const std::vector<std::uint8_t>& jpeg, Picture& out) {
  jpeg_decompress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
  ReadRows(cinfo, out);
  jpeg_destroy_decompress(&cinfo);
  return true;
}

bool DecodeFile(const char* path, Picture& out) {
  FILE* file = std::fopen(path, "rb");
  if (!file) return false;
  jpeg_decompress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_decompress(&cinfo);
  jpeg_stdio_src(&cinfo, file);
  out = Picture{};  // a fresh buffer, as a loader would allocate
  ReadRows(cinfo, out);
  jpeg_destroy_decompress(&cinfo);
  std::fclose(file);
  return true;
}

}  // namespace BareJpeg
