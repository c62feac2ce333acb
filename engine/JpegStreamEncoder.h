#pragma once
// JpegStreamEncoder: the engine's JPEG encoder fed rows as they come, so a picture need not
// be whole in memory to be written (the tuned encoder keeps its planes until Finish, the plain
// one encodes as rows come). JpegCodec::Encode runs through it as well: the settings
// and markers are the same whichever way the rows arrive, and so are the bytes.
#include <QByteArray>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/JpegCodec.h"
#include "engine/JpegDestination.h"
#include "engine/JpegErrorManager.h"
#include "engine/TunedJpegEncoder.h"

class JpegStreamEncoder {
 public:
  JpegStreamEncoder() = default;
  ~JpegStreamEncoder();
  JpegStreamEncoder(const JpegStreamEncoder&) = delete;
  JpegStreamEncoder& operator=(const JpegStreamEncoder&) = delete;

  // Writes the header and markers into out, which must outlive the encoder. grey: one
  // component, taken from the first channel of each pixel. False when libjpeg refused.
  bool Start(int width, int height, const JpegCodec::Settings& settings, bool grey,
             QByteArray& out);
  // The next count rows of width RGB pixels each, top first.
  bool Write(const std::uint8_t* const* rows, int count);
  // After the last row: completes out. False when rows are missing or libjpeg failed.
  bool Finish();

 private:
  bool WriteRows(const std::uint8_t* const* rows, int count);

  jpeg_compress_struct cinfo_{};
  JpegErrorManager errors_{};
  JpegDestination dest_{};
  std::vector<JSAMPLE> grey_;  // one component's rows, for a grey picture
  std::unique_ptr<TunedJpegEncoder> tuned_;
  QByteArray* out_ = nullptr;
  bool started_ = false;
  bool failed_ = false;
};
