#include "AppWindows.h"

#include <QApplication>

#include "Dialogs.h"
#include "frmAbout.h"
#include "frmBatch.h"
#include "frmImgOpt.h"
#include "frmMainForm.h"

void AppWindows::NotAvailable(const QString& window) {
  Message(QString("The %1 is not available in this version of Trimjet yet.").arg(window),
          Dialogs::OkOnly | Dialogs::Information);
}

void AppWindows::ShowMainWindow(const QString& folder) {
  auto* main = new frmMainForm;  // deletes itself when closed
  main->SetStartFolder(folder);
  main->show();
}
void AppWindows::ShowOptimizer(const QString& path) {
  auto* optimizer = new frmImgOpt;  // deletes itself when closed
  optimizer->show();
  optimizer->LoadPicture(path, true);
}

void AppWindows::ShowAbout() { (new frmAbout)->show(); }

bool AppWindows::LoadBatch() {
  batch_ = new frmBatch;  // deletes itself when closed
  return true;
}

void AppWindows::BatchAddFile(const QString& path) {
  if (batch_) batch_->AddFile(path);
}

void AppWindows::BatchAddFilesFromPath(const QString& path, bool bSubFolders) {
  if (batch_) batch_->AddFilesFromPath(path, bSubFolders);
}

int AppWindows::BatchFileCount() { return batch_ ? batch_->FileCount() : 0; }

void AppWindows::BatchStartOnOptionsPage() {
  if (batch_) batch_->StartOnOptionsPage();
}

bool AppWindows::BatchFillCombo() { return batch_ && batch_->FillCombo(); }

void AppWindows::ShowBatch() {
  if (batch_) batch_->show();
}

void AppWindows::UnloadBatch() {
  if (batch_) batch_->close();
}

void AppWindows::Message(const QString& text, int style) { MsgBox(nullptr, text, style); }

void AppWindows::SetWaitCursor(bool wait) {
  if (wait == waiting_) return;
  waiting_ = wait;
  if (wait)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}
