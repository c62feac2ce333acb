#include "plugin/clsCommandLine.h"

#include <cstring>

bool clsCommandLine::Append(const char* text, std::size_t n) {
  if (text == nullptr || !Fits(n)) return false;
  std::memcpy(buffer_ + used_, text, n);
  used_ += n;
  return true;
}

bool clsCommandLine::Append(const char* zeroEnded) {
  return zeroEnded != nullptr && Append(zeroEnded, std::strlen(zeroEnded));
}
