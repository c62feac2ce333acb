// frmMainForm: the commands of the toolbar, the menus and the browser's context menu.
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QUrl>
#include <memory>

#include "AppInfo.h"
#include "Dialogs.h"
#include "PictureBrowser.h"
#include "SafeFile.h"
#include "TreeControl.h"
#include "clsImage.h"
#include "clsLanguage.h"
#include "clsReg.h"
#include "frmAbout.h"
#include "frmBatch.h"
#include "frmImgOpt.h"
#include "frmMainForm.h"
#include "frmPicturePreview.h"
#include "frmStartupWizard.h"
#include "modString.h"

namespace {

// Trash where the desktop has one, so a mistaken Delete can be undone; plain deletion
// otherwise. A file nobody may write is kept, as a read-only file always was.
void DeletePicture(const QString& path) {
  if (SafeFile::IsWriteProtected(path)) return;
  if (!QFile::moveToTrash(path)) QFile::remove(path);
}

}  // namespace

void frmMainForm::ShowInOptimizer(const QString& path) {
  auto* optimizer = new frmImgOpt;  // deletes itself when closed
  ShowOwned(optimizer);
  optimizer->LoadPicture(path, true);
}

frmBatch* frmMainForm::HandOff(const QStringList& paths) {
  auto* batch = new frmBatch;  // deletes itself when closed
  for (const QString& path : paths) batch->AddFile(path);
  if (auto* next = batch->findChild<QPushButton*>(QStringLiteral("cmdNext")))
    next->setEnabled(true);
  batch->SetPage(1);
  return batch;
}

void frmMainForm::cmdOpen_Click() {
  const QString folder =
      Registry().ReadRegDir(QStringLiteral("BatchOpen"), AppInfo::ProgramFolder());
  const QString filter = Language().GetString(QStringLiteral("AllPics")) +
                         QStringLiteral(
                             " (*.jpg *.jpeg *.gif *.bmp *.tif *.tiff *.png *.tga"
                             " *.webp *.heic *.heif *.avif)");
  QStringList files = Dialogs::Current().OpenFiles(this, QString(), folder, filter);
  files.removeAll(QString());
  if (files.isEmpty()) return;
  if (files.size() == 1) return ShowInOptimizer(files.first());
  frmBatch* batch = HandOff(files);
  batch->SetVisible();
  if (!batch->FillCombo()) {
    batch->close();
    return;
  }
  ShowOwned(batch);
}

void frmMainForm::cmdOptimize_Click() {
  const QStringList paths = SelectedPaths();
  if (paths.isEmpty()) return;
  if (paths.size() == 1) return ShowInOptimizer(paths.first());
  frmBatch* batch = HandOff(paths);
  batch->FillCombo();
  batch->SetVisible();
  ShowOwned(batch);
}

void frmMainForm::cmdSave_Click() {
  if (frmImgOpt* optimizer = OpenOptimizer()) optimizer->SaveAs(optimizer->GetFileName());
}

void frmMainForm::cmdSaveAs_Click() {
  if (frmImgOpt* optimizer = OpenOptimizer()) optimizer->cmdSaveAs_Click();
}

void frmMainForm::cmdRefresh_Click() {
  TreeControl_->Refresh();
  PictureBrowser_->SetDirectory(TreeControl_->CurrentFolder(), true);
}

void frmMainForm::mnuBView_Click() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  for (const QString& path : SelectedPaths()) {
    auto image = std::make_shared<clsImage>();
    if (!image->CreateFromFile(path)) continue;
    auto* preview = new frmPicturePreview;
    preview->setAttribute(Qt::WA_DeleteOnClose);
    preview->setWindowTitle(modString::GetFileTitle(path, false, QStringLiteral("/")));
    preview->SetImage(image);
    ShowOwned(preview);
  }
  QApplication::restoreOverrideCursor();
}

void frmMainForm::mnuBDelete_Click() {
  const QStringList paths = SelectedPaths();
  if (paths.isEmpty()) return;
  if (MsgBox(this, Language().GetString(QStringLiteral("DelSelImg")),
             Dialogs::YesNo | Dialogs::Exclamation) != Dialogs::Yes)
    return;
  bool failed = false;
  for (const QString& path : paths) {
    DeletePicture(path);
    if (QFileInfo::exists(path)) failed = true;
  }
  PictureBrowser_->RemoveInvalid();
  if (failed)
    MsgBox(this, Language().GetString(QStringLiteral("NotAllDel")),
           Dialogs::OkOnly | Dialogs::Exclamation);
}

void frmMainForm::mnuTBatch_Click() { ShowOwned(new frmBatch); }

void frmMainForm::mnuHHelp_Click() {
  Dialogs::Current().OpenUrl(QUrl::fromLocalFile(AppInfo::HelpFile()).toString());
}

void frmMainForm::mnuHWizard_Click() {
  frmStartupWizard wizard(this);
  wizard.exec();
}

void frmMainForm::mnuHAbout_Click() {
  // The box deletes itself when it closes, so it lives on the heap.
  (new frmAbout(this))->exec();
}
