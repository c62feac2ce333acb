// frmImgOpt: quality, size, the JPEG round trip and the statistics.
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

#include "app/helpers/modString.h"
#include "app/uikit/Dialogs.h"
#include "core/SizeRules.h"
#include "core/StatisticsText.h"
#include "engine/clsImage.h"
#include "optimizer/OptionSliders.h"
#include "optimizer/PendingRoundTrip.h"
#include "optimizer/SliderDrag.h"
#include "optimizer/frmImgOpt.h"

// While a slider is dragged its value stays put until the release; the position is what the
// user sees (SizeControls reads the scale slider alike).
int frmImgOpt::Quality() const { return controls_.sldQuality->sliderPosition(); }

void frmImgOpt::UpdateSizeFromScale() { sizing_.ShowScale(HasPicture() ? source_.get() : nullptr); }

void frmImgOpt::EditSizeBox(QLineEdit* box, QLineEdit* other, bool isWidth) {
  if (!sizing_.TakeTypedSize(box)) return;
  if (!controls_.chkMaintain->isChecked() || !HasPicture()) return;
  bool ok = false;
  const int value = box->text().trimmed().toInt(&ok);
  if (!ok) return;
  const auto partner = isWidth
                           ? SizeRules::AspectPartner(value, source_->Height(), source_->Width())
                           : SizeRules::AspectPartner(value, source_->Width(), source_->Height());
  if (partner) sizing_.SetQuietly(other, QString::number(*partner));
}

void frmImgOpt::EnableSizeControls() {
  sizing_.Enable(true);
  controls_.lblScale->setEnabled(!controls_.chkManualSize->isChecked());
}

void frmImgOpt::ManualSizeClicked() {
  EnableSizeControls();
  if (!controls_.chkManualSize->isChecked()) {
    UpdateSizeFromScale();
    UpdateScaledImage();
  }
}

void frmImgOpt::UpdateScaledImage() {
  roundTrip_->Cancel();
  if (!HasPicture()) return;
  const QSize size = sizing_.BoxSize();
  int w = size.width(), h = size.height();
  if (w <= 0 || h <= 0) return;
  if (!working_ || working_->Width() != w || working_->Height() != h) {
    fastPreview_ = false;
    if (w == source_->Width() && h == source_->Height()) {
      working_ = source_;  // no copy of a picture at its own size
    } else {
      working_ = source_->GetScaledInstance(w, h, nullptr, false, false);
      if (!working_) return ScaledImageFailed();
    }
  }
  OptimizeWithImage(working_);
}

std::shared_ptr<clsImage> frmImgOpt::PictureAsSaved() {
  if (!HasPicture()) return nullptr;
  // A quick stretch from a size drag is not the picture that is saved.
  if (!working_ || fastPreview_) {
    working_.reset();
    UpdateScaledImage();
  }
  return working_;
}

void frmImgOpt::ScaledImageFailed() {
  MsgBox(this, QStringLiteral("Error while processing scaled image, insufficient memory"),
         Dialogs::Critical, QStringLiteral("ERROR"));
  close();
}

void frmImgOpt::OptimizeWithImage(const std::shared_ptr<clsImage>& picture) {
  if (!picture || picture->hDC() == 0) return;
  // The optimised picture is reused as the round trip's destination, but never when it is the
  // source or working picture itself (after a quick size preview): those must stay unencoded.
  std::shared_ptr<clsImage> dest = optimized_;
  if (dest && (dest == source_ || (dest == working_ && picture == working_))) dest.reset();
  int jpegSize = -1;
  bool lossless = false;  // the loaded JPEG rewritten as it is, not encoded again
  optimized_ = picture->GetOptimizedInstance(Quality(), dest, &jpegSize, &lossless);
  fastPreview_ = false;
  ShowOptimized();
  controls_.txtOptimizedDimensions->setText(
      StatisticsText::DimensionsText(optimized_->Width(), optimized_->Height()));
  if (jpegSize < 0) return;  // nothing was encoded
  const qint64 fileSize = QFileInfo(fileName_).size();
  // A result bigger than the file it came from is said where the size is read; it can
  // still be saved.
  const bool larger = fileSize > 0 && jpegSize > fileSize;
  controls_.txtOptimizedSize->setText(
      StatisticsText::SizeText(jpegSize) +
      (larger ? QStringLiteral(" (LARGER than the original)") : QString()) +
      (lossless ? QStringLiteral(" (lossless)") : QString()));
  controls_.txtOptimizedSize->setStyleSheet(larger ? QStringLiteral("color: #b00000;") : QString());
  controls_.txtCompression->setText(
      StatisticsText::CompressionText(jpegSize, fileSize).value_or(QString()));
  SetModified(true);
  repaint();
}

void frmImgOpt::ShowOptimized() {
  if (!optimizedView_) return;
  // Handing over the same object again would reset the view's zoom on every quality change.
  const bool sameObject = optimizedView_->GetImage() == optimized_;
  const bool sameSize = sameObject && optimizedView_->View() &&
                        optimizedSizeShown_ == QSize(optimized_->Width(), optimized_->Height());
  if (!sameSize) optimizedView_->SetImage(optimized_);
  optimizedSizeShown_ = QSize(optimized_->Width(), optimized_->Height());
  optimizedView_->RedrawImage();
}

void frmImgOpt::QualityScrolled() {
  controls_.lblQuality->setText(OptionSliders::QualityText(Quality()));
  if (drag_->Dragging()) roundTrip_->Later();
}

void frmImgOpt::QualityChanged() {
  controls_.lblQuality->setText(OptionSliders::QualityText(Quality()));
  roundTrip_->Changed();
}

void frmImgOpt::SizeScrolled() {
  UpdateSizeFromScale();
  if (!drag_->Dragging() || !HasPicture()) return;
  // A quick stretch while dragging: no JPEG, and the statistics keep their last values.
  const QSize size = sizing_.BoxSize();
  int w = size.width(), h = size.height();
  working_ = source_->GetScaledInstance(w, h, nullptr, true, false);
  if (!working_) return ScaledImageFailed();
  optimized_ = working_;
  fastPreview_ = true;
  controls_.txtOptimizedDimensions->setText(
      StatisticsText::DimensionsText(optimized_->Width(), optimized_->Height()));
  repaint();
  ShowOptimized();
}

void frmImgOpt::SizeChanged() {
  UpdateSizeFromScale();
  working_.reset();
  roundTrip_->Changed();
}

void frmImgOpt::SliderMouseUp(QSlider* slider) {
  drag_->Clear();
  if (slider == controls_.sldQuality) {
    UpdateScaledImage();
  } else if (fastPreview_) {
    // A drag that ended where it began brings no Change: the quick stretch must not stay the
    // picture that is saved.
    working_.reset();
    UpdateScaledImage();
  }
}

void frmImgOpt::SetModified(bool modified) {
  QString caption = windowTitle();
  if (modified) {
    if (!caption.endsWith(QLatin1Char('*'))) setWindowTitle(caption + QLatin1Char('*'));
    return;
  }
  const QString name = modString::GetFileTitle(fileName_, false, QStringLiteral("/"));
  const qsizetype p = caption.indexOf(QLatin1Char('['));
  if (p >= 0)
    setWindowTitle(caption.left(p + 1) + name + QLatin1Char(']'));
  else
    setWindowTitle(caption + QStringLiteral(" [") + name + QLatin1Char(']'));
}

bool frmImgOpt::IsModified() const { return windowTitle().endsWith(QLatin1Char('*')); }
