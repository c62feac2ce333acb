#pragma once
// RowSink: where a decoder puts a picture's rows when the picture need not be whole in
// memory. Rows come top first, each width RGB pixels; any call returning false stops the decode.
#include <cstdint>

class RowSink {
 public:
  virtual ~RowSink() = default;
  // Once, with the picture's size, before any row.
  virtual bool Begin(int width, int height) = 0;
  // Where row y goes; the rows asked for but not yet reported may be asked for again.
  virtual std::uint8_t* Row(int y) = 0;
  // Rows first .. first + count - 1 now hold their pixels.
  virtual bool Rows(int first, int count) = 0;
};
