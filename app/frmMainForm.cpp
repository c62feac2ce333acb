#include "app/frmMainForm.h"

#include <QCloseEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QTimer>

#include "browse/ImagePreview.h"
#include "browse/PictureBrowser.h"
#include "browse/clsBrowsePic.h"
#include "controls/CommandButton.h"
#include "controls/DroppedFiles.h"
#include "controls/TreeControl.h"
#include "controls/WindowGeometry.h"
#include "controls/modModal.h"
#include "core/AppInfo.h"
#include "core/StatisticsText.h"
#include "core/modString.h"
#include "settings/clsLanguage.h"
#include "settings/clsReg.h"

namespace {
constexpr int kSmallestPart = 40;
constexpr int kLargestPart = 4000;
}  // namespace

frmMainForm::frmMainForm(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QString::fromLatin1(modModal::kMainWindowName));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QString::fromLatin1(AppInfo::kProductName));
  BuildControls();
  ConnectControls();
  PictureBrowser_->SetHost(this);
  Language().UpdateObject(this);
  firstActivation_ = true;
  setAcceptDrops(true);
  Registry().OpenReg(QStringLiteral("Windows"));
  WindowGeometry::Restore(this, Registry().GetValue(QStringLiteral("Main")));
  // The two bars where the user left them; a value out of reason keeps the designed place.
  const int leftBar = Registry().GetValue(QStringLiteral("LeftBarWidth")).toInt();
  if (leftBar >= kSmallestPart && leftBar <= kLargestPart)
    LeftBar_->resize(leftBar, LeftBar_->height());
  const int preview = Registry().GetValue(QStringLiteral("PreviewHeight")).toInt();
  if (preview >= kSmallestPart && preview <= kLargestPart)
    ImagePreview_->resize(ImagePreview_->width(), preview);
}

void frmMainForm::dragEnterEvent(QDragEnterEvent* event) { DroppedFiles::AcceptLocal(event); }

void frmMainForm::dropEvent(QDropEvent* event) {
  const QStringList paths = DroppedFiles::LocalPaths(event->mimeData());
  if (paths.isEmpty()) return;
  event->acceptProposedAction();
  // A folder is browsed; one picture goes to the optimiser, several to the batch wizard.
  if (paths.size() == 1 && QFileInfo(paths.first()).isDir())
    SetDirectory(paths.first());
  else if (paths.size() == 1)
    emit OptimizeRequested(paths.first());
  else
    emit BatchRequested(paths, true);
}

frmMainForm::~frmMainForm() {
  // The browser may still report to its host while it goes.
  PictureBrowser_->SetHost(nullptr);
}

void frmMainForm::SetStartFolder(const QString& folder) {
  if (firstActivation_) startFolder_ = folder;
}

void frmMainForm::SetDirectory(const QString& folder) { TreeControl_->SetCurrentFolder(folder); }

void frmMainForm::UpdateControls() {
  const bool opt = modModal::IsFormLoaded(QStringLiteral("frmImgOpt"));
  const bool batch = modModal::IsFormLoaded(QStringLiteral("frmBatch"));
  // The optimiser can always save the picture it shows.
  const bool canSave = opt;
  cmdSave_->SetEnabled(canSave);
  cmdSaveAs_->SetEnabled(canSave);
  cmdOpen_->SetEnabled(!opt && !batch);
  mnuFSave_->setEnabled(canSave);
  mnuFSaveAs_->setEnabled(canSave);
  for (QAction* a : {mnuFOpen_, mnuTBatch_, mnuHWizard_}) a->setEnabled(cmdOpen_->Enabled());
  cmdOptimize_->SetEnabled(!PictureBrowser_->GetSelected().isEmpty());
}

void frmMainForm::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
    UpdateControls();
    if (firstActivation_) FirstActivation();
  }
  QMainWindow::changeEvent(event);
}

void frmMainForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  // Without a window manager a shown window may never be activated; the folder still opens.
  if (firstActivation_)
    QTimer::singleShot(0, this, [this] {
      if (!firstActivation_) return;
      UpdateControls();
      FirstActivation();
    });
}

void frmMainForm::FirstActivation() {
  firstActivation_ = false;
  QString folder = startFolder_;
  if (folder.isEmpty() || !QFileInfo(folder).isDir())
    folder = Registry().ReadRegDir(QStringLiteral("BrowseDir"), AppInfo::PicturesFolder());
  Registry().OpenReg(QStringLiteral("StartUp"));
  // The tree's folder-selected notification fills the browser.
  TreeControl_->SetCurrentFolder(folder);
}

void frmMainForm::closeEvent(QCloseEvent* event) {
  if (scanning_) {
    // The scan runs inside this window's handlers: it stops first, then the window closes.
    cancel_ = true;
    closePending_ = true;
    event->ignore();
    return;
  }
  if (!TreeControl_->CurrentFolder().isEmpty())
    Registry().WriteRegDir(QStringLiteral("BrowseDir"), TreeControl_->CurrentFolder());
  Registry().OpenReg(QStringLiteral("Windows"));
  Registry().SetValue(QStringLiteral("Main"), WindowGeometry::Text(this));
  Registry().SetValue(QStringLiteral("LeftBarWidth"), QString::number(LeftBar_->width()));
  Registry().SetValue(QStringLiteral("PreviewHeight"), QString::number(ImagePreview_->height()));
  event->accept();
}

QStringList frmMainForm::SelectedPaths() const {
  QStringList paths;
  QString list = PictureBrowser_->GetSelected();
  for (QString path = modString::NextPathFromList(list, QChar(0)); !path.isEmpty();
       path = modString::NextPathFromList(list, QChar(0)))
    paths.append(path);
  return paths;
}

void frmMainForm::ShowSelectedDimensions() {
  const clsBrowsePic* first = PictureBrowser_->GetSelectedBrowsePic();
  // A picture whose thumbnail has not been read yet has no size to show, rather than 0x0; it
  // comes with the thumbnail.
  const bool known = first && first->GetPictureWidth() > 0 && first->GetPictureHeight() > 0;
  txtDimensions_->setText(
      known ? StatisticsText::DimensionsText(first->GetPictureWidth(), first->GetPictureHeight())
            : QString());
}

void frmMainForm::Browser_SelectionChanged() {
  ShowSelectedDimensions();
  UpdateControls();
  const QStringList paths = SelectedPaths();
  qint64 total = 0;  // 64-bit: a folder of large pictures passes 2 GiB easily
  for (const QString& path : paths) total += QFileInfo(path).size();
  txtSize_->setText(StatisticsText::SizeText(total));
  repaint();
  ImagePreview_->LoadImage(paths.isEmpty() ? QString() : paths.first());
}

void frmMainForm::Browser_Menu(int x, int y) {
  mnuBrowser_->popup(PictureBrowser_->mapToGlobal(QPoint(x, y)));
}
