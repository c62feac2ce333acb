#pragma once
// The program's one rounding rule: computed sizes go to the nearest integer with halves to the
// even neighbour (2.5 -> 2, 3.5 -> 4). Exact for ratios of integers; the floating-point form is
// for values that are already fractional (geometry, mouse positions).
#include <cstdint>

namespace Rounding {

// numerator / denominator, exactly; denominator must be positive.
std::int64_t HalfEven(std::int64_t numerator, std::int64_t denominator);
// value, held to the range of int.
int HalfEven(double value);

}  // namespace Rounding
