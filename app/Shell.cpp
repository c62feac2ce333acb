#include "app/Shell.h"

#include <QApplication>
#include <QFileInfo>
#include <QScreen>
#include <QTimer>
#include <memory>

#include "app/frmAbout.h"
#include "app/frmMainForm.h"
#include "app/frmStartupWizard.h"
#include "batch/frmBatch.h"
#include "browse/ImageView.h"
#include "browse/ViewGeometry.h"
#include "browse/frmPicturePreview.h"
#include "controls/Dialogs.h"
#include "controls/WindowOwner.h"
#include "core/modString.h"
#include "engine/clsImage.h"
#include "optimizer/frmImgOpt.h"

void Shell::ShowMainWindow(const QString& folder) {
  if (!main_) {
    main_ = new frmMainForm;  // deletes itself when closed
    Track(main_);
    connect(main_, &frmMainForm::OptimizeRequested, this, &Shell::Optimize);
    connect(main_, &frmMainForm::BatchRequested, this, &Shell::HandOffToBatch);
    connect(main_, &frmMainForm::ViewRequested, this, &Shell::View);
    connect(main_, &frmMainForm::SaveRequested, this, [this] {
      if (optimizer_) optimizer_->SaveAs(optimizer_->GetFileName());
    });
    connect(main_, &frmMainForm::SaveAsRequested, this, [this] {
      if (optimizer_) optimizer_->SaveUnderNewName();
    });
    connect(main_, &frmMainForm::StartupWizardRequested, this, &Shell::ShowStartupWizard);
    connect(main_, &frmMainForm::AboutRequested, this, [this] {
      // The box deletes itself when it closes, so it lives on the heap.
      (new frmAbout(main_))->exec();
    });
  }
  main_->SetStartFolder(folder);
  main_->show();
  // A second start asks for it too: the window comes to the front.
  main_->raise();
  main_->activateWindow();
}

void Shell::ShowAbout() {
  auto* about = new frmAbout;  // deletes itself when closed
  Track(about);
  about->show();
}

frmImgOpt* Shell::Optimize(const QString& path) {
  if (!optimizer_ || optimizer_->Unloading()) {
    optimizer_ = new frmImgOpt;  // deletes itself when closed
    Track(optimizer_);
    optimizer_->SetOwner(main_);
    connect(optimizer_, &frmImgOpt::UpdateControlsRequested, this, &Shell::UpdateMainControls);
    connect(optimizer_, &frmImgOpt::Closed, this, [this] {
      if (main_) main_->activateWindow();
    });
  }
  QPointer<frmImgOpt> optimizer = optimizer_;
  // A second Optimize replaces the open picture: its unsaved changes are the user's to drop.
  if (optimizer->GetFileName() != QString() && !optimizer->AskToKeepChanges()) {
    optimizer->raise();
    return optimizer;
  }
  if (!optimizer) return nullptr;
  optimizer->show();
  optimizer->raise();
  optimizer->activateWindow();
  optimizer->LoadPicture(path, true);
  return optimizer;  // null when the picture did not decode and the window went
}

frmBatch* Shell::NewBatch() {
  batch_ = new frmBatch;  // deletes itself when closed
  Track(batch_);
  batch_->SetOwner(main_);
  connect(batch_, &frmBatch::UpdateControlsRequested, this, &Shell::UpdateMainControls);
  connect(batch_, &frmBatch::ListLeft, this,
          [this](const QStringList& files, const QStringList& roots) {
            leftFiles_ = files;
            leftRoots_ = roots;
          });
  frmBatch* batch = batch_;
  connect(batch_, &frmBatch::FolderRequested, this, [this, batch](const QString& folder) {
    if (!main_) return;
    // Out of the way while the main window reads the output folder.
    batch->hide();
    main_->SetDirectory(folder);
  });
  return batch_;
}

frmBatch* Shell::HandOffToBatch(const QStringList& paths, bool needsPicture) {
  if (batch_ && !batch_->Unloading()) {
    // One wizard: the pictures join its list unless it is running.
    if (!paths.isEmpty() && !batch_->Running() && batch_->Page() < frmBatch::kRunPage) {
      batch_->HandOff(paths);
      batch_->FillCombo();
      batch_->SetVisible();
    }
    batch_->show();
    batch_->raise();
    batch_->activateWindow();
    return batch_;
  }
  frmBatch* batch = NewBatch();
  if (paths.isEmpty()) {
    // The list a wizard closed unrun comes back, less what has gone since.
    for (int i = 0; i < leftFiles_.size(); ++i)
      if (QFileInfo::exists(leftFiles_[i])) batch->AddFile(leftFiles_[i], leftRoots_.value(i));
  } else {
    batch->HandOff(paths);
    if (needsPicture) {
      batch->SetVisible();
      if (!batch->FillCombo()) {
        batch->close();
        return nullptr;
      }
    } else {
      batch->FillCombo();
      batch->SetVisible();
    }
  }
  batch->show();
  return batch;
}

void Shell::View(const QStringList& paths) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  for (const QString& path : paths) {
    auto image = std::make_shared<clsImage>();
    if (!image->CreateFromFile(path)) continue;
    auto* preview = new frmPicturePreview;
    preview->setAttribute(Qt::WA_DeleteOnClose);
    preview->setWindowTitle(modString::GetFileTitle(path, false, QStringLiteral("/")));
    // Each new preview one step from the last open one, not all on one spot.
    views_.removeAll(nullptr);
    const QScreen* screen = main_ ? main_->screen() : QGuiApplication::primaryScreen();
    if (screen)
      preview->move(ViewGeometry::CascadePosition(screen->availableGeometry(), int(views_.size()),
                                                  kCascadeStep));
    views_ << preview;
    preview->SetImage(image);
    // A photograph larger than the screen shows whole, not its corner.
    preview->View()->ZoomToFit();
    preview->SetCloseGuard([this] { return MayClosePreview(); });
    connect(preview, &frmPicturePreview::FrontRequested, this,
            [this, preview] { BringWorkWindowsToFront(preview); });
    WindowOwner::Own(preview, main_);
    Track(preview);
    preview->show();
  }
  QApplication::restoreOverrideCursor();
}

void Shell::ShowStartupWizard() {
  frmStartupWizard wizard(main_);
  ConnectStartupWizard(&wizard);
  wizard.exec();
}

void Shell::OfferStartupWizard() {
  // Once a run: a launcher started again while the program runs only raises the main window.
  if (wizardOffered_) return;
  wizardOffered_ = true;
  // After the main window is up and the event loop runs: the dialog is modal over it.
  QTimer::singleShot(0, this, [this] {
    if (main_) ShowStartupWizard();
  });
}

void Shell::ConnectStartupWizard(frmStartupWizard* wizard) {
  connect(wizard, &frmStartupWizard::BrowseRequested, this, &Shell::ShowBrowser);
  connect(wizard, &frmStartupWizard::BatchWizardRequested, this,
          [this] { HandOffToBatch({}, false); });
}

void Shell::ShowBrowser() {
  ShowMainWindow(QString());
  main_->raise();
  main_->activateWindow();
}

void Shell::UpdateMainControls() {
  if (main_) main_->UpdateControls();
}

void Shell::BringWorkWindowsToFront(QWidget* keepOnTop) {
  bool raised = false;
  for (QWidget* w : {static_cast<QWidget*>(optimizer_), static_cast<QWidget*>(batch_)}) {
    if (w && w->isVisible()) {
      w->raise();
      raised = true;
    }
  }
  if (raised && keepOnTop) keepOnTop->raise();
}

bool Shell::MayClosePreview() {
  // While the optimiser closes itself nothing is asked back.
  if (!optimizer_ || !optimizer_->isVisible() || optimizer_->Unloading()) return true;
  return optimizer_->close();
}

frmMainForm* Shell::MainWindow() const { return main_; }
frmImgOpt* Shell::Optimizer() const { return optimizer_; }
frmBatch* Shell::Batch() const { return batch_; }

void Shell::Track(QWidget* window) {
  windows_.append(window);
  connect(window, &QObject::destroyed, this, &Shell::QuitWhenNoneLeft, Qt::QueuedConnection);
}

void Shell::QuitWhenNoneLeft() {
  if (quitWithLastWindow_ && !AnyWindowShown()) QCoreApplication::quit();
}

bool Shell::AnyWindowShown() const {
  for (const QPointer<QWidget>& w : windows_)
    if (w && w->isVisible()) return true;
  return false;
}

bool Shell::OpenBatch(const QStringList& paths, BatchPage page) {
  // A second start's pictures join the open wizard.
  if (batch_ && !batch_->Unloading()) return HandOffToBatch(paths, false) != nullptr;
  frmBatch* batch = NewBatch();
  for (const QString& path : paths) {
    const QFileInfo info(path);
    if (info.isFile())
      batch->AddFile(path);
    else if (info.isDir())
      batch->AddFilesFromPath(path, true);
  }
  if (page == BatchPage::kOptions) {
    bool loaded = batch->FileCount() > 0;
    if (loaded) {
      batch->StartOnOptionsPage();
      loaded = batch->FillCombo();
    }
    if (!loaded) {
      batch->close();
      return false;
    }
  }
  batch->show();
  return true;
}

void Shell::Message(const QString& text, int style) { MsgBox(nullptr, text, style); }

void Shell::SetWaitCursor(bool wait) {
  if (wait == waiting_) return;
  waiting_ = wait;
  if (wait)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}
