// The picture effects of clsImage.
#include <cmath>

#include "clsImage.h"

bool clsImage::Effect_DetectOutline() { return false; }
bool clsImage::Effect_FlipImage() { return false; }
bool clsImage::Effect_MirrorImage() { return false; }
bool clsImage::Effect_BrightenMidRange() { return false; }
bool clsImage::Effect_NegativeImage() { return false; }
bool clsImage::Effect_Sharpen() { return false; }
bool clsImage::Effect_SharpenMore() { return false; }
bool clsImage::Effect_GrayScale() { return false; }
bool clsImage::Effect_Blur(int) { return false; }
bool clsImage::Effect_ChangeBrightness(int) { return false; }
bool clsImage::Effect_Delate(int) { return false; }
bool clsImage::Effect_Kodalith(int) { return false; }
bool clsImage::Effect_LimitBrightnessLevel(int) { return false; }
bool clsImage::Effect_RemoveNoise(int) { return false; }
bool clsImage::Effect_Rotate(double, bool) { return false; }

void clsImage::RotatedSize(int width, int height, double angle, int& newWidth, int& newHeight) {
  const double a = angle * 3.14159265358979 / 180;
  const double c = std::fabs(std::cos(a));
  const double s = std::fabs(std::sin(a));
  newWidth = int(std::nearbyint(width * c + height * s + 0.5));
  newHeight = int(std::nearbyint(height * c + width * s + 0.5));
}
