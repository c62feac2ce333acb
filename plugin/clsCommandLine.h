#pragma once
// A fixed 32,000-byte command-line buffer: an append happens whole or not at all, so the
// text always stays zero-ended and every earlier part survives an overflow.
#include <cstddef>

class clsCommandLine {
 public:
  static constexpr std::size_t kCapacity = 32000;

  // Appends n bytes when Length() + n < kCapacity; otherwise drops them and returns false.
  bool Append(const char* text, std::size_t n);
  bool Append(const char* zeroEnded);
  bool Fits(std::size_t n) const { return n < kCapacity - used_; }

  const char* Text() const { return buffer_; }
  std::size_t Length() const { return used_; }
  // Ends the text early at pos (inside the text) so that its head can be used on its own.
  void Terminate(std::size_t pos) {
    if (pos < used_) buffer_[pos] = '\0';
  }

 private:
  char buffer_[kCapacity] = {};
  std::size_t used_ = 0;
};
