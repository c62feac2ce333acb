#pragma once
// ReleasingSink: hands rows on to another sink and now and then lets go of the pages of a
// mapped file read so far. A decoder reads its file front to back, and pages it needs again
// come back from the page cache; without this a streamed picture keeps its whole file resident.
#include <cstddef>

#include "engine/RowSink.h"

class ReleasingSink : public RowSink {
 public:
  // mapped: the start of a read-only mapping of size bytes, as mmap gave it.
  ReleasingSink(RowSink& sink, const void* mapped, std::size_t size)
      : sink_(sink), mapped_(const_cast<void*>(mapped)), size_(size) {}
  bool Begin(int width, int height) override { return sink_.Begin(width, height); }
  std::uint8_t* Row(int y) override { return sink_.Row(y); }
  bool Rows(int first, int count) override;

 private:
  RowSink& sink_;
  void* mapped_;
  std::size_t size_;
};
