#include "AppWindows.h"

#include <QApplication>
#include <QDirIterator>
#include <QFileInfo>

#include "Dialogs.h"
#include "frmAbout.h"
#include "frmImgOpt.h"
#include "modPublic.h"
#include "modString.h"

void AppWindows::NotAvailable(const QString& window) {
  Message(QString("The %1 is not available in this version of Trimjet yet.").arg(window),
          Dialogs::OkOnly | Dialogs::Information);
}

void AppWindows::ShowMainWindow() { NotAvailable("main window"); }
void AppWindows::ShowOptimizer(const QString& path) {
  auto* optimizer = new frmImgOpt;  // deletes itself when closed
  optimizer->show();
  optimizer->LoadPicture(path, true);
}

void AppWindows::ShowAbout() { (new frmAbout)->show(); }

bool AppWindows::LoadBatch() {
  batchFiles_.clear();
  return true;
}

void AppWindows::BatchAddFile(const QString& path) { batchFiles_.append(path); }

void AppWindows::BatchAddFilesFromPath(const QString& path, bool bSubFolders) {
  QDirIterator it(path, QDir::Files,
                  bSubFolders ? QDirIterator::Subdirectories : QDirIterator::NoIteratorFlags);
  while (it.hasNext()) {
    const QString file = it.next();
    if (modPublic::GetImageType(modString::GetExtension(file)) > 0) batchFiles_.append(file);
  }
}

int AppWindows::BatchFileCount() { return static_cast<int>(batchFiles_.size()); }
void AppWindows::BatchStartOnOptionsPage() {}

bool AppWindows::BatchFillCombo() {
  for (const QString& f : batchFiles_)
    if (modPublic::GetImageType(modString::GetExtension(f)) > 0) return true;
  return false;
}

void AppWindows::ShowBatch() { NotAvailable("batch processor"); }
void AppWindows::UnloadBatch() { batchFiles_.clear(); }

void AppWindows::Message(const QString& text, int style) { MsgBox(nullptr, text, style); }

void AppWindows::SetWaitCursor(bool wait) {
  if (wait == waiting_) return;
  waiting_ = wait;
  if (wait)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}
