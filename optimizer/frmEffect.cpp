#include "optimizer/frmEffect.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <algorithm>

#include "browse/ImageView.h"
#include "browse/frmPicturePreview.h"
#include "engine/clsImage.h"
#include "optimizer/EffectPicture.h"
#include "settings/clsLanguage.h"

namespace {

class Hourglass {
 public:
  Hourglass() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~Hourglass() { QApplication::restoreOverrideCursor(); }
  Hourglass(const Hourglass&) = delete;
  Hourglass& operator=(const Hourglass&) = delete;
};

// target := a 24-bit copy of source at source's size.
void PaintInto(clsImage& target, const clsImage& source) {
  if (target.Create(source.Width(), source.Height(), 24) != 0) return;
  QImage surface = target.Surface();
  QPainter dc(&surface);
  source.PaintPicture(dc, 0, 0);
}

}  // namespace

frmEffect::frmEffect(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmEffect"));
  setWindowTitle(QStringLiteral("Add Effect"));
  setWindowFlag(Qt::WindowStaysOnTopHint, true);
  BuildControls();
  Language().UpdateObject(this);
  effectChosen_ = true;
  unloadAllowed_ = true;
}

frmEffect::~frmEffect() = default;

void frmEffect::Init(std::shared_ptr<clsImage> sourceImg, frmPicturePreview* originalView,
                     frmPicturePreview* optimizedView) {
  source_ = std::move(sourceImg);
  originalView_ = originalView;
  optimizedView_ = optimizedView;
  originalImageView_->SetImage(source_);
  // The whole picture first: a corner at 100 % says little about an effect.
  originalImageView_->ZoomToFit();
}

QPoint frmEffect::BesidePosition(QRect anchor, QSize own, QRect screen) {
  constexpr int kGap = 8;
  int x = anchor.right() + 1 + kGap;
  if (screen.isValid() && x + own.width() - 1 > screen.right()) {
    const int left = anchor.left() - kGap - own.width();
    // No room on either side: the side with more room, overlapping as little as possible.
    x = left >= screen.left() ? left
        : screen.right() - anchor.right() >= anchor.left() - screen.left()
            ? screen.right() - own.width() + 1
            : screen.left();
  }
  int y = anchor.top();
  if (screen.isValid()) {
    y = std::min(y, screen.bottom() - own.height() + 1);
    y = std::max(y, screen.top());
  }
  return {x, y};
}

void frmEffect::PlaceBeside(const QWidget* anchor) {
  if (!anchor) return;
  adjustSize();
  const QScreen* s = anchor->screen();
  move(BesidePosition(anchor->frameGeometry(), frameGeometry().size(),
                      s ? s->availableGeometry() : QRect()));
}

const EffectCatalog::Entry* frmEffect::ChosenEffect() const {
  if (!effectChosen_ || cboEffect_->currentIndex() < 0) return nullptr;
  return EffectCatalog::Find(cboEffect_->currentText());
}

QString frmEffect::EffectText() const { return cboEffect_->currentText(); }
int frmEffect::Level() const { return slider_->value(); }

void frmEffect::SetLevel(int level) { slider_->setValue(level); }

void frmEffect::ApplyEffect(const std::shared_ptr<clsImage>& image) const {
  const EffectCatalog::Entry* effect = ChosenEffect();
  if (!image || !effect) return;
  EffectCatalog::Apply(*image, *effect, effect->HasLevel() ? slider_->value() : 0);
}

void frmEffect::SetEffectText(const QString& name) {
  const int index = cboEffect_->findText(name, Qt::MatchExactly);
  cboEffect_->setCurrentIndex(index);
  if (index < 0) return;
  EffectPicked();
  // Opened on an effect with a level, the level is what the user came to set.
  if (slider_->isEnabled()) slider_->setFocus(Qt::OtherFocusReason);
}

void frmEffect::EffectPicked() {
  const EffectCatalog::Entry* effect = EffectCatalog::Find(cboEffect_->currentText());
  if (!effect) return;
  const bool level = effect->HasLevel();
  {
    // One preview for the new effect, not one for each of the slider's new settings.
    const QSignalBlocker blocker(slider_);
    slider_->setMinimum(effect->minimum);
    slider_->setMaximum(effect->maximum);
    slider_->setValue(effect->start);
  }
  slider_->setEnabled(level);
  sliderText_->setVisible(level);
  lblLevel_->setVisible(level);
  lblLevel_->setText(QString::number(slider_->value()));
  cmdOK_->setEnabled(true);
  cmdApply_->setEnabled(true);
  effectChosen_ = true;
  repaint();
  UpdatePreview();
  AutoProof();
}

void frmEffect::SliderMoved() {
  lblLevel_->setText(QString::number(slider_->value()));
  UpdatePreview();
  cmdApply_->setEnabled(true);
}

void frmEffect::UpdatePreview() {
  if (!effectChosen_) return;
  working_ = originalImageView_->GetViewAreaAsImage();
  ApplyEffect(working_);
  // The proof gets the picture area of the original's view, without its scroll bars, so that
  // the two pictures stand level side by side.
  effectImageView_->setContentsMargins(0, 0, originalImageView_->GetDeltaWidth(),
                                       originalImageView_->GetDeltaHeight());
  effectImageView_->SetPicture(working_);
}

void frmEffect::AutoProof() {
  if (!chkAutoProof_->isChecked() || !ChosenEffect() || !source_ || !optimizedView_) return;
  Hourglass wait;
  std::shared_ptr<clsImage> proof = optimizedView_->GetImage();
  // Never draw the proof into the picture being edited.
  if (!proof || proof == source_) proof = std::make_shared<clsImage>();
  PaintInto(*proof, *source_);
  ApplyEffect(proof);
  optimizedView_->SetImage(proof);
  optimizedView_->RedrawImage();
  emit ProofShown(proof);
}

void frmEffect::ApplyToSource() {
  if (!source_) return;
  ApplyEffect(source_);
  if (const EffectCatalog::Entry* effect = ChosenEffect())
    emit Applied(effect->name, effect->HasLevel() ? Level() : 0);
  if (!originalView_) return;
  std::shared_ptr<clsImage> shown = originalView_->GetImage();
  if (!shown || shown->hDC() != source_->hDC()) {
    if (!shown) shown = std::make_shared<clsImage>();
    PaintInto(*shown, *source_);
    originalView_->SetImage(shown);
  } else {
    originalView_->SetImage(shown);  // the same object, but an effect may have resized it
  }
  originalView_->RedrawImage();
}

void frmEffect::HideApply() { cmdApply_->hide(); }

void frmEffect::HideCancel() { cmdCancel_->hide(); }

void frmEffect::cmdApply_Click() {
  cmdApply_->setEnabled(false);
  {
    Hourglass wait;
    const QSize before(source_ ? source_->Width() : 0, source_ ? source_->Height() : 0);
    ApplyToSource();
    if (source_ && QSize(source_->Width(), source_->Height()) != before)
      originalImageView_->SetImage(source_);
    originalImageView_->Refresh();
    cboEffect_->setCurrentIndex(-1);
  }
}

void frmEffect::cmdOK_Click() {
  ok_ = true;
  {
    Hourglass wait;
    ApplyToSource();
  }
  Unload(QDialog::Accepted);
}

void frmEffect::cmdCancel_Click() {
  RestoreOptimized();
  Unload(QDialog::Rejected);
}

void frmEffect::RestoreOptimized() {
  if (!optimizedView_ || !source_) return;
  std::shared_ptr<clsImage> shown = optimizedView_->GetImage();
  if (!shown || shown == source_) return;
  PaintInto(*shown, *source_);
  optimizedView_->SetImage(shown);
  optimizedView_->RedrawImage();
}

void frmEffect::Unload(int result) {
  // Hidden or ended, the dialog object stays with its owner, who may show it again.
  done(result);
}

bool frmEffect::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) ok_ = false;
  return QDialog::event(event);
}

void frmEffect::reject() {
  // The close box and Escape end the dialog as Cancel does; a dialog that may not unload is
  // only hidden, its proof and settings kept. Either way the owner keeps the object.
  if (unloadAllowed_) RestoreOptimized();
  QDialog::reject();
}
