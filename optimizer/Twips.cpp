#include "Twips.h"

#include <cmath>

namespace Twips {

// nearbyint follows the default rounding mode, which rounds halves to even.
int ToPixels(double twips) { return static_cast<int>(std::nearbyint(twips / kPerPixel)); }

double FromPixels(int pixels) { return static_cast<double>(pixels) * kPerPixel; }

}  // namespace Twips
