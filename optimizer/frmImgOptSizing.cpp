// frmImgOpt: quality, size, the JPEG round trip and the statistics.
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

#include "controls/Dialogs.h"
#include "core/SizeRules.h"
#include "core/StatisticsText.h"
#include "core/modString.h"
#include "engine/clsImage.h"
#include "optimizer/OptionSliders.h"
#include "optimizer/PendingRoundTrip.h"
#include "optimizer/SliderDrag.h"
#include "optimizer/frmImgOpt.h"

// While a slider is dragged its value stays put until the release; the position is what the
// user sees (SizeControls reads the scale slider alike).
int frmImgOpt::Quality() const { return controls_.sldQuality->sliderPosition(); }

void frmImgOpt::SetQuality(int quality) { controls_.sldQuality->setValue(quality); }

void frmImgOpt::UpdateSizeFromScale() {
  sizing_.ShowScale(HasPicture() ? session_.Source().get() : nullptr);
}

void frmImgOpt::EditSizeBox(QLineEdit* box, QLineEdit* other, bool isWidth) {
  if (!sizing_.TakeTypedSize(box)) return;
  if (!controls_.chkMaintain->isChecked() || !HasPicture()) return;
  bool ok = false;
  const int value = box->text().trimmed().toInt(&ok);
  if (!ok) return;
  const clsImage& source = *session_.Source();
  const auto partner = isWidth ? SizeRules::AspectPartner(value, source.Height(), source.Width())
                               : SizeRules::AspectPartner(value, source.Width(), source.Height());
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
  const std::shared_ptr<clsImage> source = session_.Source();
  const std::shared_ptr<clsImage> working = session_.Working();
  if (!working || session_.QuickShown() || working->Width() != w || working->Height() != h) {
    if (w == source->Width() && h == source->Height()) {
      session_.SetWorking(source);  // no copy of a picture at its own size
    } else {
      std::shared_ptr<clsImage> scaled = source->GetScaledInstance(w, h, nullptr, false, false);
      if (!scaled) return ScaledImageFailed();
      session_.SetWorking(std::move(scaled));
    }
  }
  OptimizeWithImage(session_.Working());
}

std::shared_ptr<clsImage> frmImgOpt::PictureAsSaved() {
  if (!HasPicture()) return nullptr;
  // A quick stretch from a size drag is not the picture that is saved.
  if (!session_.Working() || session_.QuickShown()) {
    session_.ForgetWorking();
    UpdateScaledImage();
  }
  return session_.Working();
}

void frmImgOpt::ScaledImageFailed() {
  MsgBox(this, QStringLiteral("Error while processing scaled image, insufficient memory"),
         Dialogs::Critical, QStringLiteral("ERROR"));
  close();
}

void frmImgOpt::OptimizeWithImage(const std::shared_ptr<clsImage>& picture) {
  if (!picture || picture->hDC() == 0) return;
  session_.SetQuality(Quality());
  const bool encoded = session_.Optimize(picture == session_.Working() ? nullptr : picture);
  ShowOptimized();
  controls_.ShowFigures(session_.Current(), true);
  if (!encoded) return;
  SetModified(true);
  repaint();
}

void frmImgOpt::ShowOptimized() {
  const std::shared_ptr<clsImage> optimized = session_.Optimized();
  if (!optimizedView_ || !optimized) return;
  // Handing over the same object again would reset the view's zoom on every quality change.
  const bool sameObject = optimizedView_->GetImage() == optimized;
  const bool sameSize = sameObject && optimizedView_->View() &&
                        optimizedSizeShown_ == QSize(optimized->Width(), optimized->Height());
  if (!sameSize) optimizedView_->SetImage(optimized);
  optimizedSizeShown_ = QSize(optimized->Width(), optimized->Height());
  optimizedView_->RedrawImage();
}

void frmImgOpt::QualityScrolled() {
  controls_.lblQuality->setText(OptionSliders::QualityText(Quality()));
  if (!drag_->Dragging()) return;
  // While the hand moves the window stays free for it; a working picture that a size change
  // left to be made is made here first.
  const std::shared_ptr<clsImage> working = session_.Working();
  if (working && working->hDC() != 0 && !session_.QuickShown())
    dragTrips_->Request(working, Quality());
  else
    roundTrip_->Later();
}

void frmImgOpt::DragRoundTripArrived(DragRoundTrips::Result result) {
  // Only the position the slider shows: a value it has left is never shown, even for a moment.
  if (result.quality != Quality() || result.working != session_.Working() ||
      session_.QuickShown())
    return dragTrips_->Recycle(std::move(result.optimized));
  std::shared_ptr<clsImage> replaced = session_.Adopt(std::move(result.optimized), result.quality,
                                                      result.jpegBytes, result.lossless);
  const std::shared_ptr<clsImage> optimized = session_.Optimized();
  // The same picture encoded anew: the preview keeps its zoom and place.
  if (optimizedView_ && optimizedView_->GetImage() &&
      optimizedSizeShown_ == QSize(optimized->Width(), optimized->Height()))
    optimizedView_->ReplaceImage(optimized);
  else
    ShowOptimized();
  controls_.ShowFigures(session_.Current(), true);
  SetModified(true);
  dragTrips_->Recycle(std::move(replaced));
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
  std::shared_ptr<clsImage> stretch =
      session_.Source()->GetScaledInstance(w, h, nullptr, true, false);
  if (!stretch) return ScaledImageFailed();
  session_.SetWorking(std::move(stretch), true);
  controls_.ShowFigures(session_.Current(), true);
  repaint();
  ShowOptimized();
}

void frmImgOpt::SizeChanged() {
  UpdateSizeFromScale();
  session_.ForgetWorking();
  roundTrip_->Changed();
}

void frmImgOpt::SliderMouseUp(QSlider* slider) {
  drag_->Clear();
  if (slider == controls_.sldQuality) {
    // The released position is shown already, or on its way from the worker; else it is
    // computed now, without waiting for a position the hand has left.
    const std::shared_ptr<clsImage> working = session_.Working();
    if (session_.Shows(working, Quality()) || dragTrips_->Computing(working, Quality())) {
      roundTrip_->Cancel();
      return;
    }
    dragTrips_->Drop();
    UpdateScaledImage();
  } else if (session_.QuickShown()) {
    // A drag that ended where it began brings no Change: the quick stretch must not stay the
    // picture that is saved.
    session_.ForgetWorking();
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
