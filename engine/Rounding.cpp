#include "engine/Rounding.h"

#include <cmath>
#include <limits>

namespace Rounding {

std::int64_t HalfEven(std::int64_t numerator, std::int64_t denominator) {
  std::int64_t q = numerator / denominator;
  std::int64_t r = numerator % denominator;
  if (r < 0) {  // floor division, so the remainder lies in [0, denominator)
    r += denominator;
    --q;
  }
  if (2 * r > denominator || (2 * r == denominator && (q & 1) != 0)) ++q;
  return q;
}

int HalfEven(double value) {
  const double r = std::nearbyint(value);  // the default rounding mode is to nearest, ties even
  if (r >= double(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
  if (r <= double(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
  return static_cast<int>(r);
}

}  // namespace Rounding
