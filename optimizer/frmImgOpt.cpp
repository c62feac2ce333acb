#include "optimizer/frmImgOpt.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QSlider>
#include <QUrl>

#include "browse/ImageView.h"
#include "browse/frmPicturePreview.h"
#include "controls/CommandButton.h"
#include "controls/Dialogs.h"
#include "controls/DroppedFiles.h"
#include "controls/WindowGeometry.h"
#include "controls/WindowOwner.h"
#include "controls/modModal.h"
#include "core/AppInfo.h"
#include "core/QualityRange.h"
#include "core/StatisticsText.h"
#include "core/modString.h"
#include "engine/clsImage.h"
#include "optimizer/OptionSliders.h"
#include "optimizer/PendingRoundTrip.h"
#include "optimizer/PreviewPair.h"
#include "optimizer/SliderDrag.h"
#include "optimizer/TextButton.h"
#include "settings/clsLanguage.h"
#include "settings/clsReg.h"

frmImgOpt::frmImgOpt(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("frmImgOpt"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Image Optimization"));
  drag_ = new SliderDrag(this);
  BuildControls();
  BuildEffectsMenu();
  ConnectControls();
  ConnectFileChoices();
  BindKeys();
  Language().UpdateObject(this);
  EnableSizeControls();
  controls_.Restore(QString::fromLatin1(kOptionsKey));
  // Nothing that changes a picture unseen comes back: only quality, size and progressive do.
  // A remembered target size would move the quality of a picture nobody has looked at yet,
  // and effects are applied to the picture they were chosen for only.
  controls_.txtMaxSize->clear();
  Registry().OpenReg(QStringLiteral("Windows"));
  placeRemembered_ =
      WindowGeometry::Restore(this, Registry().GetValue(QStringLiteral("Optimizer")));
  modModal::BeginModal(this);
  previews_ = new PreviewPair(this);
  original_ = previews_->Original();
  optimizedView_ = previews_->Optimized();
  for (frmPicturePreview* p : {original_.data(), optimizedView_.data()}) {
    // A preview the user closes is only hidden: Show Previews brings it back with its picture.
    p->SetCloseGuard([this, p] {
      if (unloading_) return true;
      p->hide();
      return false;
    });
  }
  LinkPreviews();
  connect(cmdHelp_, &CommandButton::Click, this,
          [] { Dialogs::Current().OpenUrl(QUrl::fromLocalFile(AppInfo::HelpFile()).toString()); });
  connect(cmdLink_, &CommandButton::Click, this,
          [] { Dialogs::Current().OpenUrl(QString::fromLatin1(kWebAddress)); });
  setAcceptDrops(true);
  EnablePictureCommands();
}

frmImgOpt::~frmImgOpt() {
  // A preview still open (the window was destroyed without closing) goes with it, while the
  // window's own members still stand.
  delete previews_;
}

void frmImgOpt::SetOwner(QWidget* owner) {
  owner_ = owner;
  WindowOwner::Own(this, owner);
  // Without a main window (a hand-off) the previews belong to this window.
  previews_->Own(owner ? owner : this);
}

void frmImgOpt::LinkPreviews() {
  previews_->SetLinked(chkLinkPreviews_->isChecked());
  connect(chkLinkPreviews_, &QCheckBox::toggled, previews_, &PreviewPair::SetLinked);
  connect(cmdShowPreviews_, &CommandButton::Click, this, &frmImgOpt::ShowPreviews);
}

void frmImgOpt::ShowPreviews() {
  for (frmPicturePreview* p : {original_.data(), optimizedView_.data()}) {
    if (!p || !p->GetImage()) continue;
    p->setWindowState(p->windowState() & ~Qt::WindowMinimized);
    p->show();
    p->raise();
  }
  raise();
}

bool frmImgOpt::HasPicture() const { return session_.HasPicture(); }

void frmImgOpt::EnablePictureCommands() {
  const bool on = HasPicture();
  for (TextButton* b : {cmdSave_, cmdSaveAs_, cmdReset_, cmdEffects_, cmdShowPreviews_})
    b->SetEnabled(on);
}

void frmImgOpt::LoadPicture(const QString& fileName, bool arrange) {
  // Bytes kept for another file would show that file's picture under this name.
  if (!fileData_.GetFileName().isEmpty() && fileName != bytesPath_) fileData_.CloseFile();
  LoadFromBytes(fileName, arrange);
}

void frmImgOpt::LoadFromBytes(const QString& fileName, bool arrange) {
  const bool tooLarge = QFileInfo(fileName).size() > kMaxFileBytes;
  if (fileData_.GetFileName().isEmpty() && !tooLarge) {
    if (!fileData_.OpenFile(fileName)) return;
    bytesPath_ = fileName;
  }
  auto picture = std::make_shared<clsImage>();
  if (tooLarge || !DecodeBytes(*picture)) {
    close();
    const QString reason = tooLarge ? QString::fromLatin1(kTooLargeText) : picture->LoadError();
    MsgBox(nullptr,
           Language().GetString(QStringLiteral("NotSupported")) + QStringLiteral(" : ") + fileName +
               (reason.isEmpty() ? QString() : QStringLiteral(" (") + reason + QLatin1Char(')')),
           Dialogs::Critical);
    return;
  }
  picture->SetStripMetadata(controls_.chkStripMetadata->isChecked());
  picture->SetProgressive(controls_.chkProgressive->isChecked());
  session_.Start(picture, fileName);
  fileName_ = fileName;
  loaded_ = SafeFile::IdentityOf(fileName);
  // Another picture loaded into the window replaces the name in the title.
  setWindowTitle(windowTitle().section(QStringLiteral(" ["), 0, 0) + QStringLiteral(" [") +
                 modString::GetFileTitle(fileName, false, QStringLiteral("/")) + QLatin1Char(']'));
  controls_.ShowFigures(session_.Current(), true);
  original_->SetImage(session_.Source());
  EnablePictureCommands();
  UpdateSizeFromScale();
  UpdateScaledImage();
  if (unloading_) return;  // closed while updating (no memory)
  FitTarget();
  if (arrange) ArrangeWindows();
  SetModified(false);
  original_->show();
  optimizedView_->show();
  for (frmPicturePreview* p : {original_.data(), optimizedView_.data()}) {
    // A photograph larger than the screen would show only its corner at 100 %.
    if (arrange) p->View()->ZoomToFit();
    p->RedrawImage();
  }
  raise();  // the previews must not bury the window the user works in
  activateWindow();
  if (!focusWidget()) controls_.sldQuality->setFocus(Qt::OtherFocusReason);  // the first setting
}

bool frmImgOpt::DecodeBytes(clsImage& picture) {
  // The file's extension names the format, as when the picture is loaded from the file;
  // PCX and TGA, which carry no signature, need it.
  return picture.CreateFromBuffer(fileData_.GetBuffer(), modString::GetExtension(bytesPath_));
}

void frmImgOpt::Reset() {
  session_.Clear();
  controls_.chkManualSize->setChecked(false);
  {
    // The settings go back without each one recomputing a picture that is not there.
    const QSignalBlocker q(controls_.sldQuality);
    const QSignalBlocker s(controls_.sldSize);
    controls_.sldQuality->setValue(QualityRange::kDefault);
    controls_.sldSize->setValue(OptionSliders::kScaleDefault);
  }
  controls_.lblQuality->setText(OptionSliders::QualityText(Quality()));
  EnableSizeControls();
  LoadFromBytes(fileName_, false);
}

void frmImgOpt::dragEnterEvent(QDragEnterEvent* event) { DroppedFiles::AcceptLocal(event); }

void frmImgOpt::dropEvent(QDropEvent* event) {
  const QStringList paths = DroppedFiles::LocalPaths(event->mimeData());
  if (paths.isEmpty()) return;
  event->acceptProposedAction();
  // The first picture dropped takes the place of the one shown; unsaved changes are asked
  // about first.
  if (!AskToKeepChanges()) return;
  SetModified(false);
  LoadPicture(paths.first(), true);
}

void frmImgOpt::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) emit UpdateControlsRequested();
  QWidget::changeEvent(event);
}

bool frmImgOpt::AskToKeepChanges() {
  if (unloading_) return true;
  roundTrip_->Flush();  // a slider step still queued is a change too
  if (!IsModified()) return true;
  // The question says what Yes does to the files: a PNG's JPEG replaces it in the trash.
  const QString note = TrashNote(fileName_);
  const Dialogs::Answer answer =
      MsgBox(this,
             Language().GetString(QStringLiteral("SavImg")) +
                 (note.isEmpty() ? QString() : QStringLiteral("\n") + note),
             Dialogs::YesNoCancel | Dialogs::Exclamation | Dialogs::DefaultButton3);
  if (answer == Dialogs::Cancel) {
    for (QWidget* p : {static_cast<QWidget*>(original_), static_cast<QWidget*>(optimizedView_)})
      if (p && p->isVisible()) p->raise();
    return false;
  }
  if (answer == Dialogs::Yes) SaveAs(fileName_, true);
  return true;
}

void frmImgOpt::closeEvent(QCloseEvent* event) {
  if (!AskToKeepChanges()) {
    event->ignore();
    return;
  }
  unloading_ = true;
  controls_.Store(QString::fromLatin1(kOptionsKey));
  Registry().OpenReg(QStringLiteral("Windows"));
  Registry().SetValue(QStringLiteral("Optimizer"), WindowGeometry::Text(this));
  // A preview may be the window whose close brought us here: close it, but let it finish its
  // own close handler before it goes.
  for (frmPicturePreview* p : {original_.data(), optimizedView_.data()}) {
    if (!p) continue;
    p->close();
    p->deleteLater();
  }
  fileData_.CloseFile();
  modModal::EndModal(this);
  event->accept();
  emit Closed();
}
