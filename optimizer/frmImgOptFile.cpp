// frmImgOpt: the choices about the file written: progressive scans and a target size that
// moves the quality slider to the highest quality whose file fits.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QScreen>
#include <QSlider>
#include <algorithm>

#include "core/QualityRange.h"
#include "core/QualitySearch.h"
#include "core/StatisticsText.h"
#include "engine/clsImage.h"
#include "optimizer/OptionSliders.h"
#include "optimizer/PendingRoundTrip.h"
#include "optimizer/frmImgOpt.h"

void frmImgOpt::ConnectFileChoices() {
  // The size shown is the size written, and progressive scans change it.
  connect(controls_.chkProgressive, &QCheckBox::toggled, this, [this](bool progressive) {
    if (!HasPicture()) return;
    dragTrips_->Quiet();  // no round trip may read the picture while it changes
    session_.SetProgressive(progressive);
    OptimizeWithImage(session_.Working());
    FitTarget();
  });
  // Enter, or leaving the box after a change.
  connect(controls_.txtMaxSize, &QLineEdit::editingFinished, this, &frmImgOpt::FitTarget);
}

void frmImgOpt::ShowTargetNote(const QString& text, bool bad) {
  QLabel* note = controls_.lblMaxSizeNote;
  note->setText(text);
  note->setStyleSheet(bad ? QStringLiteral("color: #b00000;") : QString());
  note->setVisible(!text.isEmpty());
  KeepOnScreen();
}

void frmImgOpt::KeepOnScreen() {
  if (!isVisible() || !screen()) return;
  layout()->activate();  // the window takes its new height now
  const QRect area = screen()->availableGeometry();
  const int over = frameGeometry().bottom() - area.bottom();
  if (over > 0) move(pos().x(), std::max(area.top(), pos().y() - over));
}

void frmImgOpt::FitTarget() {
  QString problem;
  const std::optional<long long> target = controls_.MaxBytes(&problem);
  if (!target) return ShowTargetNote(problem, true);
  if (*target == 0 || !HasPicture()) return ShowTargetNote(QString(), false);
  roundTrip_->Flush();  // the picture of the last size or effect, not of an older one
  if (!session_.Working()) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const std::shared_ptr<clsImage> picture = session_.Working();
  QualitySearch::Found found;
  const QualitySearch::Outcome outcome = QualitySearch::Highest(
      [&picture](int quality, QByteArray& bytes, bool& tidy) {
        return picture->EncodeJpeg(quality, bytes, &tidy);
      },
      QualityRange::kLowest, QualityRange::kHighest, *target, found);
  QApplication::restoreOverrideCursor();
  const QString size = StatisticsText::SizeText(found.bytes.size());
  const QString quality = OptionSliders::QualityText(found.quality);
  switch (outcome) {
    case QualitySearch::Outcome::kFits:
      // Set by code, so the round trip and the statistics follow at once.
      controls_.sldQuality->setValue(found.quality);
      return ShowTargetNote(
          QStringLiteral("Quality %1 is the highest that fits (%2).").arg(quality, size), false);
    case QualitySearch::Outcome::kTooLarge:
      return ShowTargetNote(
          QStringLiteral("Does not fit: even the lowest quality (%1) takes %2.").arg(quality, size),
          true);
    case QualitySearch::Outcome::kFailed:
      return ShowTargetNote(QStringLiteral("The picture could not be encoded."), true);
  }
}
