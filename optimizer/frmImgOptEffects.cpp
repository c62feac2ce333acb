// frmImgOpt: the effects menu and its two routes (at once, or through the effect dialog), and
// the effects applied, remembered for the next picture and the next session.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPointer>
#include <QSlider>

#include "engine/EffectCatalog.h"
#include "engine/clsImage.h"
#include "optimizer/OptionSliders.h"
#include "optimizer/TextButton.h"
#include "optimizer/frmEffect.h"
#include "optimizer/frmImgOpt.h"

void frmImgOpt::BuildEffectsMenu() {
  mnuEffects_ = new QMenu(this);
  mnuEffects_->setObjectName(QStringLiteral("mnuEffects"));
  // The template entry of the menu array stays hidden; the real entries follow it.
  QAction* entry = mnuEffects_->addAction(QString());
  entry->setObjectName(QStringLiteral("mnuEffect"));
  entry->setVisible(false);
  for (const QString& name : EffectCatalog::MenuNames()) AddEffectMenuItem(name);
}

void frmImgOpt::AddEffectMenuItem(const QString& caption) {
  if (caption == QLatin1String("-")) {
    mnuEffects_->addSeparator();
    return;
  }
  QAction* entry = mnuEffects_->addAction(caption);
  entry->setObjectName(QStringLiteral("mnuEffect"));
  connect(entry, &QAction::triggered, this, [this, caption] { EffectChosen(caption); });
}

void frmImgOpt::ShowEffectsMenu() {
  const QPoint corner(cmdEffects_->x() + cmdEffects_->width(),
                      cmdEffects_->y() + cmdEffects_->height() / 2);
  mnuEffects_->popup(cmdEffects_->parentWidget()->mapToGlobal(corner));
}

void frmImgOpt::ApplyEffect(const std::shared_ptr<clsImage>& dstImg, const QString& effectName) {
  if (!dstImg) return;
  const EffectCatalog::Entry* effect = EffectCatalog::Find(effectName);
  if (effect && !effect->HasLevel()) EffectCatalog::Apply(*dstImg, *effect, 0);
}

void frmImgOpt::EffectChosen(const QString& caption) {
  const EffectCatalog::Entry* effect = EffectCatalog::Find(caption);
  if (!effect || !HasPicture() || !session_.Working()) return;
  dragTrips_->Quiet();  // no round trip may read the picture while an effect changes it
  QApplication::setOverrideCursor(Qt::WaitCursor);
  if (effect->HasLevel()) {
    QPointer<frmEffect> dialog = new frmEffect(this);
    dialog->Init(session_.Working(), original_, optimizedView_);
    connect(dialog, &frmEffect::ProofShown, this, &frmImgOpt::OptimizeWithImage);
    dialog->SetEffectText(caption);
    dialog->PlaceBeside(this);
    QApplication::restoreOverrideCursor();
    dialog->exec();
    delete dialog.data();
    // OK wrote the working picture, effect and all, into the source; Cancel left it. Either
    // way the source is now the picture at 100 %.
    {
      const QSignalBlocker blocker(controls_.sldSize);
      controls_.sldSize->setValue(OptionSliders::kScaleDefault);
    }
    UpdateSizeFromScale();
    session_.ForgetWorking();
    UpdateScaledImage();
    raise();  // a picture grown by the effect may now cover this window
    return;
  }
  ApplyEffect(session_.Source(), caption);
  session_.ForgetWorking();
  if (original_) original_->RedrawImage();
  UpdateScaledImage();
  QApplication::restoreOverrideCursor();
}
