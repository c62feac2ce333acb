#include "optimizer/OptionSliders.h"

#include <QSlider>

#include "core/QualityRange.h"

namespace OptionSliders {
namespace {
void SetUp(QSlider* slider, int minimum, int maximum, int value) {
  slider->setOrientation(Qt::Horizontal);
  slider->setRange(minimum, maximum);
  slider->setSingleStep(1);
  slider->setPageStep(5);
  slider->setTracking(false);
  slider->setValue(value);
}
}  // namespace

void SetUpQuality(QSlider* slider) {
  SetUp(slider, QualityRange::kLowest, QualityRange::kHighest, QualityRange::kDefault);
}
void SetUpScale(QSlider* slider) { SetUp(slider, kScaleMin, kScaleMax, kScaleDefault); }

QString QualityText(int value) { return QString::number(value + 2) + QLatin1Char('%'); }
QString ScaleText(int value) { return QString::number(value) + QLatin1Char('%'); }

}  // namespace OptionSliders
