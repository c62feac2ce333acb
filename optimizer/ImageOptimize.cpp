#include "optimizer/ImageOptimize.h"

#include <QCheckBox>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>

#include "app/uikit/Dialogs.h"
#include "app/uikit/WindowOwner.h"
#include "browse/ImageView.h"
#include "browse/frmPicturePreview.h"
#include "core/BatchJob.h"
#include "core/SizeRules.h"
#include "core/StatisticsText.h"
#include "engine/clsImage.h"
#include "optimizer/AutoQualityButton.h"
#include "optimizer/OptionSliders.h"
#include "optimizer/PendingRoundTrip.h"
#include "optimizer/SliderDrag.h"
#include "optimizer/frmEffect.h"
#include "settings/clsLanguage.h"

namespace {
const QString kScaledMemory =
    QStringLiteral("Error while processing scaled image, insufficient memory");
const QString kOptimizerMemory =
    QStringLiteral("Error while processing image optimizer, insufficient memory");
}  // namespace

ImageOptimize::ImageOptimize(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("ImageOptimize"));
  drag_ = new SliderDrag(this);
  roundTrip_ = new PendingRoundTrip(this, [this] { RefreshPreview(false); });
  BuildControls();
  ConnectControls();
  ConnectFileChoices();
  Language().UpdateObject(this);
  SSTab_->setCurrentIndex(0);
  EnableSizeControls();
}

ImageOptimize::~ImageOptimize() { UnloadForms(); }

bool ImageOptimize::HasPicture() const { return source_ && source_->hDC() != 0; }

BatchOptions ImageOptimize::Options() const {
  BatchOptions o;
  o.quality = controls_.sldQuality->sliderPosition();
  o.resize = chkSize_->isChecked();
  o.manualSize = controls_.chkManualSize->isChecked();
  o.width = SizeRules::ShortValue(controls_.txtSizeX->text()).value_or(0);
  o.height = SizeRules::ShortValue(controls_.txtSizeY->text()).value_or(0);
  o.scale = controls_.sldSize->sliderPosition();
  o.stripMetadata = controls_.chkStripMetadata->isChecked();
  o.progressive = controls_.chkProgressive->isChecked();
  o.maxBytes = controls_.MaxBytes().value_or(0);
  if (cmdAutoQuality_->isChecked()) o.autoQuality = cmdAutoQuality_->Level();
  for (const frmEffect* dialog : effects_) {
    BatchOptions::Effect effect;
    effect.entry = EffectCatalog::Find(dialog->EffectText());
    if (!effect.entry) continue;
    effect.level = effect.entry->HasLevel() ? dialog->Level() : 0;
    o.effects.push_back(effect);
  }
  return o;
}

std::shared_ptr<clsImage> ImageOptimize::GetSizedImage(const std::shared_ptr<clsImage>& picture,
                                                       bool fast) const {
  return BatchJob::GetSizedImage(picture, Options(), fast);
}

bool ImageOptimize::SaveImage(const QString& sourceFile, const QString& destFile) const {
  return BatchJob::SaveImage(sourceFile, destFile, Options());
}

void ImageOptimize::SetOwner(QWidget* owner) {
  owner_ = owner;
  for (frmPicturePreview* p : {original_.data(), optimizedView_.data()}) WindowOwner::Own(p, owner);
}

bool ImageOptimize::LoadPicture(const QString& fileName) {
  fileName_.clear();
  if (!source_) source_ = std::make_shared<clsImage>();
  if (!source_->CreateFromFile(fileName)) return false;
  source_->SetStripMetadata(controls_.chkStripMetadata->isChecked());
  source_->SetProgressive(controls_.chkProgressive->isChecked());
  if (!original_) {
    original_ = new frmPicturePreview(nullptr);
    optimizedView_ = new frmPicturePreview(nullptr);
    original_->setWindowTitle(Language().GetString(QStringLiteral("Original")));
    optimizedView_->setWindowTitle(Language().GetString(QStringLiteral("Optimized")));
    // Both show the whole picture until the user zooms, and follow each other's zoom and pan.
    const auto follow = [this](frmPicturePreview* from, frmPicturePreview* to) {
      const QPointer<frmPicturePreview> follower = to;
      connect(from->View(), &ImageView::ViewMoved, this, [from, follower] {
        if (follower) follower->View()->FollowView(*from->View());
      });
    };
    follow(original_, optimizedView_);
    follow(optimizedView_, original_);
    for (frmPicturePreview* p : {original_.data(), optimizedView_.data()}) {
      p->View()->ZoomToFit();
      WindowOwner::Own(p, owner_);
      connect(p, &frmPicturePreview::FrontRequested, this, [this, p] {
        window()->raise();
        p->raise();
      });
    }
  }
  working_ = source_;
  fileName_ = fileName;
  original_->SetImage(source_);
  original_->RedrawImage();
  if (!controls_.chkManualSize->isChecked()) UpdateSizeFromScale();
  RefreshPreview(false);
  ArrangePreviews();
  original_->show();
  optimizedView_->show();
  window()->raise();
  return true;
}

void ImageOptimize::RefreshPreview(bool applyEffects) {
  roundTrip_->Cancel();
  if (!HasPicture()) return;
  quickShown_ = false;
  working_ = GetSizedImage(source_, false);
  if (!working_) FallBackToSource(kScaledMemory);
  if (applyEffects) ApplyEffectList(working_);
  // Never encode into the source or the working picture themselves.
  std::shared_ptr<clsImage> dest = optimized_;
  if (dest == source_ || dest == working_) dest.reset();
  int jpegSize = -1;
  std::shared_ptr<clsImage> result =
      working_->GetOptimizedInstance(controls_.sldQuality->sliderPosition(), dest, &jpegSize);
  const qint64 fileSize = QFileInfo(fileName_).size();
  if (!result || jpegSize < 0) {
    FallBackToSource(kOptimizerMemory);
    result = source_;
    jpegSize = int(fileSize);
  }
  optimized_ = result;
  controls_.txtOptimizedSize->setText(StatisticsText::SizeText(jpegSize));
  controls_.txtOriginalSize->setText(StatisticsText::SizeText(fileSize));
  controls_.txtOriginalDimensions->setText(
      StatisticsText::DimensionsText(source_->Width(), source_->Height()));
  controls_.txtOptimizedDimensions->setText(
      StatisticsText::DimensionsText(optimized_->Width(), optimized_->Height()));
  controls_.txtCompression->setText(
      StatisticsText::CompressionText(jpegSize, fileSize).value_or(QString()));
  repaint();
  if (optimizedView_) {
    optimizedView_->SetImage(optimized_);
    optimizedView_->RedrawImage();
  }
}

void ImageOptimize::FallBackToSource(const QString& message) {
  MsgBox(this, message, Dialogs::Critical, QStringLiteral("ERROR"));
  working_ = source_;
  drag_->Clear();
  {
    const QSignalBlocker blocker(controls_.sldSize);
    controls_.sldSize->setValue(OptionSliders::kScaleDefault);
  }
  UpdateSizeFromScale();
}

void ImageOptimize::UpdateSizeFromScale() {
  sizing_.ShowScale(HasPicture() ? source_.get() : nullptr);
}

void ImageOptimize::EnableSizeControls() {
  const bool size = chkSize_->isChecked();
  sizing_.Enable(size);
  controls_.chkManualSize->setEnabled(size);
  controls_.lblScale->setEnabled(size);
}

void ImageOptimize::showEvent(QShowEvent* event) {
  EnableSizeControls();
  QWidget::showEvent(event);
}

void ImageOptimize::EditSizeBox(QLineEdit* box, QLineEdit* other) {
  if (!sizing_.TakeTypedSize(box)) return;
  // The missing side is worked out for each picture from its own proportions.
  if (!controls_.chkMaintain->isChecked() || other->text().isEmpty()) return;
  sizing_.SetQuietly(other, QString());
}

bool ImageOptimize::CheckSizeBox(QLineEdit* box) {
  const QString text = box->text().trimmed();
  if (text.isEmpty()) return true;
  const auto value = SizeRules::ShortValue(text);
  if (value && *value >= 1) return true;
  MsgBox(this,
         box == controls_.txtSizeX ? QStringLiteral("Invalid width !")
                                   : QStringLiteral("Invalid height !"),
         Dialogs::Exclamation);
  box->setFocus();
  return false;
}

bool ImageOptimize::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut &&
      (watched == controls_.txtSizeX || watched == controls_.txtSizeY))
    CheckSizeBox(static_cast<QLineEdit*>(watched));
  return QWidget::eventFilter(watched, event);
}

void ImageOptimize::QualityScrolled() {
  controls_.lblQuality->setText(OptionSliders::QualityText(controls_.sldQuality->sliderPosition()));
  if (drag_->Dragging()) roundTrip_->Later();
}

void ImageOptimize::SizeScrolled() {
  UpdateSizeFromScale();
  if (!drag_->Dragging() || !HasPicture()) return;
  // A quick stretch while dragging: no JPEG, and the statistics keep their last values.
  const QSize size = sizing_.BoxSize();
  int w = size.width(), h = size.height();
  working_ = source_->GetScaledInstance(w, h, nullptr, true, false);
  if (!working_) FallBackToSource(kScaledMemory);
  optimized_ = working_;
  quickShown_ = true;
  if (optimizedView_) {
    optimizedView_->SetImage(optimized_);
    optimizedView_->RedrawImage();
  }
}

void ImageOptimize::SizeChanged() {
  UpdateSizeFromScale();
  // A key or a click on the groove moves no handle (no sliderMoved), yet the run takes the
  // new scale: the label and the boxes follow it; only a drag recomputes the preview.
  if (!drag_->Dragging()) return;
  working_.reset();
  RefreshPreview(false);
  drag_->Clear();
}

void ImageOptimize::SliderMouseUp(QSlider* slider) {
  if (slider == controls_.sldQuality) {
    drag_->Clear();
    RefreshPreview(false);
  } else if (drag_->Dragging()) {
    // A drag that ended where it began brings no Change: the quick stretch must not stay.
    drag_->Clear();
    if (quickShown_) RefreshPreview(false);
  }
}

void ImageOptimize::ManualSizeClicked() {
  EnableSizeControls();
  if (!controls_.chkManualSize->isChecked()) {
    UpdateSizeFromScale();
    RefreshPreview(false);
    return;
  }
  sizing_.SetQuietly(controls_.txtSizeY, QString());
}

void ImageOptimize::SizeClicked() {
  SSTab_->setCurrentIndex(1);
  EnableSizeControls();
  // The preview follows the box, so it never shows a size the run would not write.
  working_.reset();
  RefreshPreview(false);
}

void ImageOptimize::HideForms() {
  if (original_) original_->hide();
  if (optimizedView_) optimizedView_->hide();
}

void ImageOptimize::ShowForms() {
  if (original_) original_->show();
  if (optimizedView_) optimizedView_->show();
}

void ImageOptimize::UnloadForms() {
  delete original_.data();
  delete optimizedView_.data();
  for (frmEffect* dialog : effects_) {
    dialog->SetUnloadAllowed(true);
    delete dialog;
  }
  effects_.clear();
}
