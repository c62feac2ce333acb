#include "core/Twips.h"

#include "engine/Rounding.h"

namespace Twips {

int ToPixels(double twips) { return Rounding::HalfEven(twips / kPerPixel); }

double FromPixels(int pixels) { return static_cast<double>(pixels) * kPerPixel; }

}  // namespace Twips
