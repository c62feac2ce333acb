#include "optimizer/ImageOptimize.h"

#include <QCheckBox>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>

#include "browse/ImageView.h"
#include "browse/frmPicturePreview.h"
#include "controls/Dialogs.h"
#include "controls/WindowOwner.h"
#include "core/BatchJob.h"
#include "core/SizeRules.h"
#include "core/StatisticsText.h"
#include "engine/clsImage.h"
#include "optimizer/AutoQualityButton.h"
#include "optimizer/OptionSliders.h"
#include "optimizer/PendingRoundTrip.h"
#include "optimizer/PreviewPair.h"
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

void ImageOptimize::ShowTab(int index) { SSTab_->setCurrentIndex(index); }

bool ImageOptimize::HasPicture() const { return session_.HasPicture(); }

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
  // Without a main window (a hand-off) the previews belong to the wizard.
  if (previews_) previews_->Own(owner ? owner : window());
}

bool ImageOptimize::LoadPicture(const QString& fileName) {
  fileName_.clear();
  auto source = std::make_shared<clsImage>();
  if (!source->CreateFromFile(fileName)) {
    session_.Clear();
    return false;
  }
  source->SetStripMetadata(controls_.chkStripMetadata->isChecked());
  source->SetProgressive(controls_.chkProgressive->isChecked());
  if (!previews_) {
    previews_ = new PreviewPair(this);
    previews_->Own(owner_ ? owner_.data() : window());
    original_ = previews_->Original();
    optimizedView_ = previews_->Optimized();
  }
  session_.Start(source, fileName);
  fileName_ = fileName;
  original_->SetImage(source);
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
  std::shared_ptr<clsImage> sized = GetSizedImage(session_.Source(), false);
  if (!sized) {
    FallBackToSource(kScaledMemory);
    sized = session_.Source();
  }
  if (applyEffects) ApplyEffectList(sized);
  session_.SetWorking(std::move(sized));
  session_.SetQuality(controls_.sldQuality->sliderPosition());
  if (!session_.Optimize()) FallBackToSource(kOptimizerMemory);
  controls_.ShowFigures(session_.Current(), false);
  repaint();
  if (optimizedView_ && session_.Optimized()) {
    optimizedView_->SetImage(session_.Optimized());
    optimizedView_->RedrawImage();
  }
}

void ImageOptimize::FallBackToSource(const QString& message) {
  MsgBox(this, message, Dialogs::Critical, QStringLiteral("ERROR"));
  session_.SetWorking(session_.Source());
  drag_->Clear();
  {
    const QSignalBlocker blocker(controls_.sldSize);
    controls_.sldSize->setValue(OptionSliders::kScaleDefault);
  }
  UpdateSizeFromScale();
}

void ImageOptimize::UpdateSizeFromScale() {
  sizing_.ShowScale(HasPicture() ? session_.Source().get() : nullptr);
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
  std::shared_ptr<clsImage> stretch =
      session_.Source()->GetScaledInstance(w, h, nullptr, true, false);
  if (!stretch) return FallBackToSource(kScaledMemory);
  session_.SetWorking(std::move(stretch), true);
  if (optimizedView_) {
    optimizedView_->SetImage(session_.Optimized());
    optimizedView_->RedrawImage();
  }
}

void ImageOptimize::SizeChanged() {
  UpdateSizeFromScale();
  // The end of a drag shows its size at once; a key or a click on the groove, which moves no
  // handle, once the input queued behind it is handled.
  if (!drag_->Dragging()) return roundTrip_->Changed();
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
    if (session_.QuickShown()) RefreshPreview(false);
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
  delete previews_;
  previews_ = nullptr;
  for (frmEffect* dialog : effects_) {
    dialog->SetUnloadAllowed(true);
    delete dialog;
  }
  effects_.clear();
}
