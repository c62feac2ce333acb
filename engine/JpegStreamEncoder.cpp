#include "engine/JpegStreamEncoder.h"

#include <algorithm>

namespace {
constexpr int kRowBatch = 16;
}  // namespace

JpegStreamEncoder::~JpegStreamEncoder() {
  if (started_) jpeg_destroy_compress(&cinfo_);
}

bool JpegStreamEncoder::Start(int width, int height, const JpegCodec::Settings& settings,
                              bool grey, QByteArray& out) {
  if (started_ || tuned_ || width < 1 || height < 1) return false;
  if (!settings.plain) {
    tuned_ = std::make_unique<TunedJpegEncoder>(width, height, settings, grey);
    out_ = &out;
    return true;
  }
  errors_.Install(reinterpret_cast<jpeg_common_struct*>(&cinfo_));
  if (setjmp(errors_.jump)) {
    failed_ = true;
    return false;
  }
  jpeg_create_compress(&cinfo_);
  started_ = true;
  // A first guess near a photo's size at mid quality saves most of the regrowing.
  out.resize(std::max<qsizetype>(64 * 1024, qsizetype(width) * height / 4));
  dest_.Attach(cinfo_, out);
  if (grey) grey_.resize(std::size_t(kRowBatch) * std::size_t(width));

  cinfo_.image_width = JDIMENSION(width);
  cinfo_.image_height = JDIMENSION(height);
  cinfo_.input_components = grey ? 1 : 3;
  cinfo_.in_color_space = grey ? JCS_GRAYSCALE : JCS_EXT_RGB;
  jpeg_set_defaults(&cinfo_);
  jpeg_set_quality(&cinfo_, std::clamp(settings.quality, 1, 100), TRUE);
  cinfo_.optimize_coding = settings.optimizeCoding || settings.progressive ? TRUE : FALSE;
  cinfo_.dct_method = settings.accurateDct ? JDCT_ISLOW : JDCT_IFAST;
  using Layout = ChromaChoice::Layout;
  const Layout layout = settings.chroma         ? *settings.chroma
                        : settings.subsample420 ? Layout::k420
                                                : Layout::k444;
  cinfo_.comp_info[0].h_samp_factor = !grey && layout != Layout::k444 ? 2 : 1;
  cinfo_.comp_info[0].v_samp_factor = !grey && layout == Layout::k420 ? 2 : 1;
  for (int c = 1; c < cinfo_.num_components; ++c)
    cinfo_.comp_info[c].h_samp_factor = cinfo_.comp_info[c].v_samp_factor = 1;
  if (settings.progressive) jpeg_simple_progression(&cinfo_);

  jpeg_start_compress(&cinfo_, TRUE);
  WriteJpegMetadata(cinfo_, settings.metadata);
  return true;
}

bool JpegStreamEncoder::Write(const std::uint8_t* const* rows, int count) {
  if (tuned_) return tuned_->Add(rows, count);
  if (!started_ || failed_) return false;
  if (setjmp(errors_.jump)) {
    failed_ = true;
    return false;
  }
  return WriteRows(rows, count);
}

// Apart from Write so that nothing it changes lives in the frame libjpeg's errors jump to.
bool JpegStreamEncoder::WriteRows(const std::uint8_t* const* rows, int count) {
  const int w = int(cinfo_.image_width);
  JSAMPROW batch[kRowBatch];
  while (count > 0) {
    const int n = std::min({kRowBatch, count, int(cinfo_.image_height - cinfo_.next_scanline)});
    if (n <= 0) return false;  // more rows than the picture has
    for (int i = 0; i < n; ++i) {
      if (grey_.empty()) {
        batch[i] = const_cast<JSAMPROW>(rows[i]);
        continue;
      }
      batch[i] = grey_.data() + std::size_t(i) * std::size_t(w);
      for (int x = 0; x < w; ++x) batch[i][x] = rows[i][3 * x];
    }
    jpeg_write_scanlines(&cinfo_, batch, JDIMENSION(n));
    rows += n;
    count -= n;
  }
  return true;
}

bool JpegStreamEncoder::Finish() {
  if (tuned_) return tuned_->Finish(*out_);
  if (!started_ || failed_ || cinfo_.next_scanline < cinfo_.image_height) return false;
  if (setjmp(errors_.jump)) {
    failed_ = true;
    return false;
  }
  jpeg_finish_compress(&cinfo_);
  return true;
}
