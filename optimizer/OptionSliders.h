#pragma once
// The quality and scale sliders of the optimiser window and the batch options panel: ranges,
// steps, defaults and label texts. The encoder gets the quality slider's value itself (7..98);
// only its label adds 2, so the top of the range reads 100%.
#include <QString>

class QSlider;

namespace OptionSliders {

inline constexpr int kScaleMin = 1;
inline constexpr int kScaleMax = 500;
inline constexpr int kScaleDefault = 100;

// Range, default, small change 1, large change 5. Tracking is off: the value changes when a
// drag ends (the Change event), while sliderMoved reports the drag itself (the Scroll event).
void SetUpQuality(QSlider* slider);
void SetUpScale(QSlider* slider);
QString QualityText(int value);  // 98 -> "100%"
QString ScaleText(int value);    // 100 -> "100%"

}  // namespace OptionSliders
