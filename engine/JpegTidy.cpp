#include "engine/JpegTidy.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "engine/JpegDestination.h"
#include "engine/JpegErrorManager.h"
#include "engine/PictureColour.h"

namespace JpegTidy {
namespace {

// libjpeg's standard tables in natural order, as jpeg_set_quality scales them.
constexpr int kLuminance[DCTSIZE2] = {
    16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
    14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
    18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
    49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
constexpr int kChrominance[DCTSIZE2] = {
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99, 24, 26, 56, 99, 99, 99,
    99, 99, 47, 66, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

long Distance(const JQUANT_TBL* table, const int* standard, int scale) {
  if (!table) return 0;
  long sum = 0;
  for (int i = 0; i < DCTSIZE2; ++i) {
    const long scaled = std::clamp((long(standard[i]) * scale + 50) / 100, 1L, 255L);
    sum += std::labs(long(table->quantval[i]) - scaled);
  }
  return sum;
}

int Estimate(const jpeg_decompress_struct& cinfo) {
  const auto tableOf = [&cinfo](int component) -> const JQUANT_TBL* {
    if (component >= cinfo.num_components) return nullptr;
    const int n = cinfo.comp_info[component].quant_tbl_no;
    return n >= 0 && n < NUM_QUANT_TBLS ? cinfo.quant_tbl_ptrs[n] : nullptr;
  };
  int best = 0;
  long bestDistance = -1;
  for (int q = 1; q <= 100; ++q) {
    const int scale = q < 50 ? 5000 / q : 200 - 2 * q;
    const long d = Distance(tableOf(0), kLuminance, scale) + Distance(tableOf(1), kChrominance, scale);
    if (bestDistance < 0 || d < bestDistance) best = q, bestDistance = d;
  }
  return best;
}

bool EngineDecodes(const jpeg_decompress_struct& cinfo) {
  return cinfo.jpeg_color_space == JCS_YCbCr || cinfo.jpeg_color_space == JCS_GRAYSCALE ||
         cinfo.jpeg_color_space == JCS_RGB;
}

// The rewrite carries no profile, so only pixels that are sRGB already may keep their values.
bool SrgbAlready(jpeg_decompress_struct& cinfo) {
  QByteArray icc, exif;
  JOCTET* profile = nullptr;
  unsigned int length = 0;
  if (jpeg_read_icc_profile(&cinfo, &profile, &length) && profile)
    icc = QByteArray(reinterpret_cast<const char*>(profile), qsizetype(length));
  std::free(profile);
  for (jpeg_saved_marker_ptr m = cinfo.marker_list; m && exif.isEmpty(); m = m->next)
    if (m->marker == JPEG_APP0 + 1 && m->data_length > 6 &&
        std::memcmp(m->data, "Exif\0\0", 6) == 0)
      exif = QByteArray(reinterpret_cast<const char*>(m->data), qsizetype(m->data_length));
  return PictureColour::SourceProfile(icc, exif).isEmpty();
}

}  // namespace

int SourceQuality(const std::uint8_t* data, std::size_t size) {
  if (!data || size == 0) return 0;
  jpeg_decompress_struct cinfo;
  JpegErrorManager errors;
  errors.Install(reinterpret_cast<jpeg_common_struct*>(&cinfo));
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return 0;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
  jpeg_read_header(&cinfo, TRUE);
  const int quality = Estimate(cinfo);
  jpeg_destroy_decompress(&cinfo);
  return quality;
}

bool Rewrite(const std::uint8_t* data, std::size_t size, const Settings& settings,
             QByteArray& out) {
  if (!data || size == 0) return false;
  jpeg_decompress_struct src;
  jpeg_compress_struct dst;
  JpegErrorManager errors;
  errors.Install(reinterpret_cast<jpeg_common_struct*>(&src));
  errors.Install(reinterpret_cast<jpeg_common_struct*>(&dst));
  // Everything a jump leaves behind is made before it: longjmp runs no destructors.
  QByteArray bytes;
  volatile bool dstMade = false;
  if (setjmp(errors.jump)) {
    if (dstMade) jpeg_destroy_compress(&dst);
    jpeg_destroy_decompress(&src);
    return false;
  }
  jpeg_create_decompress(&src);
  errors.LimitScans(&src);
  jpeg_mem_src(&src, data, static_cast<unsigned long>(size));
  jpeg_save_markers(&src, JPEG_APP0 + 1, 0xFFFF);
  jpeg_save_markers(&src, JPEG_APP0 + 2, 0xFFFF);
  jpeg_read_header(&src, TRUE);
  if (!EngineDecodes(src) || settings.quality < Estimate(src) || !SrgbAlready(src)) {
    jpeg_destroy_decompress(&src);
    return false;
  }
  jvirt_barray_ptr* coefficients = jpeg_read_coefficients(&src);
  if (errors.dataLost > 0) std::longjmp(errors.jump, 1);

  jpeg_create_compress(&dst);
  dstMade = true;
  bytes.resize(qsizetype(size) + 64 * 1024);
  JpegDestination dest{};
  dest.Attach(dst, bytes);
  jpeg_copy_critical_parameters(&src, &dst);
  dst.optimize_coding = TRUE;
  if (settings.progressive) jpeg_simple_progression(&dst);
  jpeg_write_coefficients(&dst, coefficients);
  WriteJpegMetadata(dst, settings.metadata);
  jpeg_finish_compress(&dst);
  jpeg_destroy_compress(&dst);
  jpeg_finish_decompress(&src);
  jpeg_destroy_decompress(&src);
  if (errors.dataLost > 0) return false;
  out = std::move(bytes);
  return true;
}

}  // namespace JpegTidy
