#include "controls/ClickRepeater.h"

#include "controls/modControls.h"
#include "engine/Rounding.h"

ClickRepeater::ClickRepeater(int intervalMs)
    : threshold_(100.0 / intervalMs), step_(Rounding::HalfEven(50.0 / intervalMs)) {}

bool ClickRepeater::Tick(bool overButton) {
  if (!overButton) {
    counter_ = 0;
    return false;
  }
  ++counter_;
  if (counter_ <= threshold_) return false;
  counter_ -= step_;
  return true;
}
