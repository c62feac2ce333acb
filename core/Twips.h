#pragma once
// Window geometry kept in twips (1/1440 inch) and the pixels Qt places windows in: 15 twips a
// pixel, rounded to the nearest pixel with halves to even (1200 -> 80, 50 -> 3, 100 -> 7).
namespace Twips {

inline constexpr int kPerPixel = 15;

int ToPixels(double twips);
double FromPixels(int pixels);

}  // namespace Twips
