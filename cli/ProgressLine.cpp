#include "cli/ProgressLine.h"

#include <QtGlobal>

ProgressLine::ProgressLine(int total, bool enabled) : total_(total), enabled_(enabled) {}

void ProgressLine::Show(int done) {
  if (!enabled_ || total_ <= 0) return;
  constexpr int kWidth = 40;
  const int filled = int(qint64(done) * kWidth / total_);
  char bar[kWidth + 1];
  for (int i = 0; i < kWidth; ++i) bar[i] = i < filled ? '#' : '.';
  bar[kWidth] = '\0';
  std::fprintf(stderr, "\r[%s] %d/%d", bar, done, total_);
  std::fflush(stderr);
  drawn_ = true;
}

void ProgressLine::Clear() {
  if (!drawn_) return;
  std::fprintf(stderr, "\r\033[K");
  std::fflush(stderr);
  drawn_ = false;
}
