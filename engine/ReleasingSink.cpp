#include "engine/ReleasingSink.h"

#include <sys/mman.h>

namespace {
constexpr int kRowsPerRelease = 128;
}  // namespace

bool ReleasingSink::Rows(int first, int count) {
  if ((first + count) / kRowsPerRelease != first / kRowsPerRelease)
    madvise(mapped_, size_, MADV_DONTNEED);
  return sink_.Rows(first, count);
}
