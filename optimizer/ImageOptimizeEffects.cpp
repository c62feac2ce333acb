// ImageOptimize: the effect list, kept as the confirmed effect dialogs themselves.
#include <QApplication>
#include <QCheckBox>
#include <QListWidget>

#include "browse/frmPicturePreview.h"
#include "engine/clsImage.h"
#include "optimizer/ImageOptimize.h"
#include "optimizer/frmEffect.h"

void ImageOptimize::ApplyEffectList(const std::shared_ptr<clsImage>& picture) const {
  for (const frmEffect* dialog : effects_) dialog->ApplyEffect(picture);
}

void ImageOptimize::cmdAdd_Click() {
  auto* dialog = new frmEffect(this);
  dialog->HideApply();
  dialog->Init(session_.Working(), original_, optimizedView_);
  dialog->SetUnloadAllowed(false);
  dialog->PlaceBeside(window());
  dialog->exec();
  if (!dialog->OkPressed()) {
    dialog->SetUnloadAllowed(true);
    delete dialog;
    return;
  }
  effects_.push_back(dialog);
  lstEffects_->addItem(dialog->EffectText());
  // The effect dialog drew into the working picture; the next effect starts from what the
  // Optimized preview shows now.
  if (optimizedView_ && optimizedView_->GetImage())
    session_.SetWorking(optimizedView_->GetImage()->GetNewInstance());
}

void ImageOptimize::cmdProp_Click() {
  const int row = lstEffects_->currentRow();
  if (row < 0 || row >= int(effects_.size())) return;
  frmEffect* dialog = effects_[std::size_t(row)];
  dialog->HideCancel();
  dialog->exec();
  lstEffects_->item(row)->setText(dialog->EffectText());
}

void ImageOptimize::cmdRemove_Click() {
  const int row = lstEffects_->currentRow();
  if (row < 0 || row >= int(effects_.size())) return;
  delete lstEffects_->takeItem(row);
  // Dropped from the list; the dialog object stays with this control until it goes.
  effects_[std::size_t(row)]->hide();
  effects_.erase(effects_.begin() + row);
}

void ImageOptimize::cmdApply_Click() {
  if (fileName_.isEmpty()) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  auto source = std::make_shared<clsImage>();
  source->CreateFromFile(fileName_);
  source->SetStripMetadata(controls_.chkStripMetadata->isChecked());
  source->SetProgressive(controls_.chkProgressive->isChecked());
  session_.Start(source, fileName_);
  if (original_) {
    original_->SetImage(source);
    original_->RedrawImage();
  }
  RefreshPreview(true);
  QApplication::restoreOverrideCursor();
}
