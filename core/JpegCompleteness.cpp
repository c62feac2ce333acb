#include "core/JpegCompleteness.h"

#include <jerror.h>
#include <jpeglib.h>

#include <csetjmp>
#include <cstdio>
#include <vector>

namespace {

struct Errors {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  bool broken = false;
};

void OnError(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<Errors*>(cinfo->err)->jump, 1); }
void OnOutput(j_common_ptr) {}

// Extraneous bytes between markers are common in camera files and harmless; these mean
// picture data is missing.
void OnMessage(j_common_ptr cinfo, int level) {
  if (level >= 0) return;
  const int code = cinfo->err->msg_code;
  if (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER || code == JWRN_MUST_RESYNC ||
      code == JWRN_HUFF_BAD_CODE || code == JWRN_BOGUS_PROGRESSION)
    reinterpret_cast<Errors*>(cinfo->err)->broken = true;
}

}  // namespace

bool JpegCompleteness::IsComplete(const QByteArray& bytes) {
  // Entropy-coded data never holds FF D9 (an FF there is followed by 00), so a file ending
  // with it ends with its EOI marker: the usual case costs no second decode.
  if (bytes.endsWith("\xFF\xD9")) return true;
  jpeg_decompress_struct cinfo{};
  Errors errors{};
  std::vector<JSAMPLE> row;
  cinfo.err = jpeg_std_error(&errors.pub);
  errors.pub.error_exit = OnError;
  errors.pub.output_message = OnOutput;
  errors.pub.emit_message = OnMessage;
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return !errors.broken;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.constData()),
               static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&cinfo, TRUE);
  // At an eighth of the size only the DC terms are transformed, but every coefficient is
  // still entropy-decoded, so missing data shows while the work stays small.
  cinfo.scale_num = 1;
  cinfo.scale_denom = 8;
  cinfo.dct_method = JDCT_IFAST;
  jpeg_start_decompress(&cinfo);
  row.resize(std::size_t(cinfo.output_width) * std::size_t(cinfo.output_components));
  JSAMPROW rows[1] = {row.data()};
  while (cinfo.output_scanline < cinfo.output_height) jpeg_read_scanlines(&cinfo, rows, 1);
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return !errors.broken;
}
