#include "engine/JpegErrorManager.h"

#include <jerror.h>

#include <algorithm>
#include <cstdint>

namespace {

void OnError(j_common_ptr cinfo) { std::longjmp(JpegErrorManager::Of(cinfo).jump, 1); }
void OnOutput(j_common_ptr) {}

int RowsReached(const jpeg_decompress_struct& cinfo, bool multiScan) {
  if (multiScan && cinfo.input_scan_number > 1) return int(cinfo.image_height);
  const std::int64_t rows = std::int64_t(cinfo.input_iMCU_row) * cinfo.max_v_samp_factor * DCTSIZE;
  return int(std::min<std::int64_t>(rows, cinfo.image_height));
}

// Extraneous bytes between the header's markers are common in camera files and harmless;
// after a scan they are entropy data the decoder could not place.
bool LosesData(int code, const jpeg_decompress_struct& d) {
  switch (code) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_MUST_RESYNC:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_ARITH_BAD_CODE:
    case JWRN_BOGUS_PROGRESSION:
      return true;
    case JWRN_EXTRANEOUS_DATA:
      return d.input_scan_number > 0;
    default:
      return false;
  }
}

void OnMessage(j_common_ptr cinfo, int level) {
  if (level >= 0 || !cinfo->is_decompressor) return;  // trace output, or writing
  JpegErrorManager& errors = JpegErrorManager::Of(cinfo);
  ++errors.pub.num_warnings;
  const auto& d = *reinterpret_cast<j_decompress_ptr>(cinfo);
  // Huffman data says when a block lacked bits; the arithmetic decoder only reads past the
  // end of the file.
  const int code = errors.pub.msg_code;
  if (LosesData(code, d)) ++errors.dataLost;
  if (errors.dataEndsAtRow < 0 &&
      (code == JWRN_HIT_MARKER || (code == JWRN_JPEG_EOF && d.arith_code)))
    errors.dataEndsAtRow = RowsReached(d, errors.multiScan);
}

void OnProgress(j_common_ptr cinfo) {
  if (!cinfo->is_decompressor) return;
  JpegErrorManager& errors = JpegErrorManager::Of(cinfo);
  if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > JpegErrorManager::kMaxScans) {
    errors.tooManyScans = true;
    std::longjmp(errors.jump, 1);
  }
}

}  // namespace

void JpegErrorManager::Install(jpeg_common_struct* cinfo) {
  cinfo->err = jpeg_std_error(&pub);
  pub.error_exit = OnError;
  pub.output_message = OnOutput;
  pub.emit_message = OnMessage;
}

void JpegErrorManager::LimitScans(jpeg_decompress_struct* cinfo) {
  progress = {};
  progress.progress_monitor = OnProgress;
  cinfo->progress = &progress;
}
