#include "plugin/modPlugInStrings.h"

#include <cstring>

namespace modPlugInStrings {
namespace {

struct Entry {
  unsigned id;
  const char* text;
};

constexpr Entry kTable[] = {
    {kPlugInName, "Trimjet plugin"},       {kMenuText, "Optimize"},  {kButtonText, "Optimize"},
    {kHint, "Optimize selected image(s)"}, {kShortText, "Optimize"},
};

}  // namespace

std::size_t LoadPlugInString(unsigned id, char* buffer, std::size_t size) {
  if (buffer == nullptr || size == 0) return 0;
  buffer[0] = '\0';
  for (const Entry& e : kTable) {
    if (e.id != id) continue;
    std::size_t n = std::strlen(e.text);
    if (n > size - 1) n = size - 1;
    std::memcpy(buffer, e.text, n);
    buffer[n] = '\0';
    return n;
  }
  return 0;
}

}  // namespace modPlugInStrings
