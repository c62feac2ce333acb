#include "optimizer/SizeControls.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <initializer_list>

#include "core/SizeRules.h"
#include "engine/clsImage.h"
#include "optimizer/OptionSliders.h"

void SizeControls::ShowScale(const clsImage* picture) {
  // While the slider is dragged its value stays put until the release; the position is what
  // the user sees.
  const int scale = c_.sldSize->sliderPosition();
  c_.lblSize->setText(OptionSliders::ScaleText(scale));
  if (!picture) return;
  const QSize size = SizeRules::ScaledSize(QSize(picture->Width(), picture->Height()), scale);
  SetQuietly(c_.txtSizeX, QString::number(size.width()));
  SetQuietly(c_.txtSizeY, QString::number(size.height()));
}

void SizeControls::Enable(bool sizing) {
  const bool manual = c_.chkManualSize->isChecked();
  for (QWidget* w : std::initializer_list<QWidget*>{c_.txtWidth, c_.txtHeight, c_.txtSizeX,
                                                    c_.txtSizeY, c_.chkMaintain, c_.cmdApplySize})
    w->setEnabled(sizing && manual);
  for (QWidget* w : std::initializer_list<QWidget*>{c_.sldSize, c_.lblSize})
    w->setEnabled(sizing && !manual);
}

bool SizeControls::TakeTypedSize(QLineEdit* box) {
  if (quiet_ || !c_.chkManualSize->isChecked()) return false;
  if (const auto replacement = SizeRules::LimitTypedSize(box->text())) {
    box->setText(*replacement);  // comes back here for the new text
    return false;
  }
  return true;
}

void SizeControls::SetQuietly(QLineEdit* box, const QString& text) {
  quiet_ = true;
  box->setText(text);
  quiet_ = false;
}

QSize SizeControls::BoxSize() const {
  return QSize(SizeRules::BoxValue(c_.txtSizeX->text()), SizeRules::BoxValue(c_.txtSizeY->text()));
}

QString SizeControls::BoxProblem() const {
  const QSize size = BoxSize();
  if (size.width() >= 1 && size.height() >= 1) return {};
  return QStringLiteral("Width and height must be whole numbers from 1 to %1 pixels.")
      .arg(SizeRules::kLargestTypedSize);
}
