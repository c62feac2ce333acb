#pragma once
// The one door for libjpeg's errors, shared by every reader and writer of the engine.
// libjpeg's default handler ends the process; this one jumps back to the call that met the
// error and stays silent. Data that ends early or is broken is only a warning to libjpeg,
// which then decodes grey or garbage; the manager counts those warnings and notes how far
// the real picture data reached.
#include <csetjmp>
// jpeglib.h needs size_t and FILE declared first.
// clang-format off
#include <cstddef>
#include <cstdio>
#include <jpeglib.h>
// clang-format on

struct JpegErrorManager {
  // libjpeg-turbo's advice for untrusted files: a progressive file of thousands of scans
  // costs minutes of work for a few kilobytes; real encoders write about ten.
  static constexpr int kMaxScans = 500;

  jpeg_error_mgr pub;
  jpeg_progress_mgr progress;
  std::jmp_buf jump;
  bool multiScan = false;  // every scan but the first covers the whole picture again
  int dataEndsAtRow = -1;  // first row the data did not reach; -1 while it lasts
  int dataLost = 0;        // warnings that mean picture data is missing or wrong
  bool tooManyScans = false;

  // Before jpeg_create_*.
  void Install(jpeg_common_struct* cinfo);
  // After jpeg_create_decompress, which clears the progress field.
  void LimitScans(jpeg_decompress_struct* cinfo);
  // The error of the last failed call, for the manager installed on cinfo.
  static JpegErrorManager& Of(jpeg_common_struct* cinfo) {
    return *reinterpret_cast<JpegErrorManager*>(cinfo->err);
  }
};
