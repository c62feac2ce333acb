#pragma once
// TunedJpegEncoder: the engine's own JPEG encoder, smaller than libjpeg-turbo's at the same
// look. It keeps the picture as Y, Cb and Cr planes, then chooses the chroma resolution for
// the picture, quantises with perceptual tables and a trellis whose lambda follows local
// masking (busy texture hides more error than flat areas and edges), and writes the
// coefficients through libjpeg-turbo, so the file is a standard JPEG.
#include <QByteArray>
#include <cstdint>
#include <vector>

#include "engine/ChromaChoice.h"
#include "engine/JpegCodec.h"

class TunedJpegEncoder {
 public:
  // grey: one component, from the first channel of each pixel.
  TunedJpegEncoder(int width, int height, const JpegCodec::Settings& settings, bool grey);
  // The next count RGB rows, top first; false past the last row.
  bool Add(const std::uint8_t* const* rows, int count);
  bool Complete() const { return rows_ == height_; }
  // After the last row; false (out untouched) when libjpeg refused.
  bool Finish(QByteArray& out) const;

 private:
  int width_, height_;
  JpegCodec::Settings settings_;
  bool grey_;
  int rows_ = 0;
  std::vector<std::uint8_t> y_, cb_, cr_;
};
