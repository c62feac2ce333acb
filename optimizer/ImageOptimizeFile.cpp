// ImageOptimize: the choices about the files written: progressive scans and a target size,
// which each picture of the run meets with the highest quality up to the slider's that fits.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

#include "engine/clsImage.h"
#include "optimizer/ImageOptimize.h"

void ImageOptimize::ConnectFileChoices() {
  // The size shown is the size written, and progressive scans change it.
  connect(controls_.chkProgressive, &QCheckBox::toggled, this, [this](bool progressive) {
    if (!HasPicture()) return;
    session_.SetProgressive(progressive);
    RefreshPreview(false);
  });
  connect(controls_.txtMaxSize, &QLineEdit::textChanged, this, &ImageOptimize::ShowTargetNote);
  ShowTargetNote();
}

void ImageOptimize::ShowTargetNote() {
  QString problem;
  const std::optional<long long> target = controls_.MaxBytes(&problem);
  QLabel* note = controls_.lblMaxSizeNote;
  note->setText(!target       ? problem
                : *target > 0 ? QStringLiteral("Each picture is written at the highest quality, up "
                                               "to the one above, whose file fits; one that does "
                                               "not fit even at the lowest fails.")
                              : QString());
  note->setStyleSheet(target ? QString() : QStringLiteral("color: #b00000;"));
  note->setVisible(!note->text().isEmpty());
}
