// frmBatch: the process list, its add and remove commands, and the picture combo.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPainter>
#include <QTreeWidget>

#include "batch/SlideShow.h"
#include "batch/frmAddDir.h"
#include "batch/frmBatch.h"
#include "controls/Dialogs.h"
#include "controls/DroppedFiles.h"
#include "core/AppInfo.h"
#include "core/BatchInputs.h"
#include "core/modPublic.h"
#include "core/modString.h"
#include "engine/ImageFormat.h"
#include "optimizer/ImageOptimize.h"
#include "settings/clsLanguage.h"
#include "settings/clsReg.h"

namespace {

// The list's four small icons: a coloured page with a folded corner.
QIcon SmallIcon(int number) {
  static const QColor colours[] = {QColor(128, 128, 128), QColor(0, 128, 0), QColor(0, 0, 160),
                                   QColor(160, 96, 0)};
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter dc(&pixmap);
  dc.setPen(Qt::black);
  dc.setBrush(colours[(number - 1) & 3]);
  dc.drawPolygon(
      QPolygon({QPoint(2, 1), QPoint(10, 1), QPoint(13, 4), QPoint(13, 14), QPoint(2, 14)}));
  return QIcon(pixmap);
}

int IconNumber(const QString& path) {
  return modPublic::ImageTypeIcon(modPublic::GetImageType(modString::GetExtension(path).toUpper()));
}

}  // namespace

int frmBatch::FileCount() const { return lstFiles_->topLevelItemCount(); }

void frmBatch::AddFile(const QString& fileName, const QString& root) {
  // Reached twice (a folder added again, or through a link), a file is still done once.
  const QString identity = BatchInputs::Identity(fileName);
  for (int i = 0; i < lstFiles_->topLevelItemCount(); ++i)
    if (lstFiles_->topLevelItem(i)->data(0, kIdentityRole).toString() == identity) return;
  auto* item = new QTreeWidgetItem;
  item->setData(0, Qt::UserRole, fileName);
  item->setData(0, kIdentityRole, identity);
  item->setData(0, kRootRole, root);
  item->setText(0, modString::GetFileTitle(fileName, false, QStringLiteral("/")));
  item->setIcon(0, SmallIcon(IconNumber(fileName)));
  item->setText(1, modPublic::FormatKb(QFileInfo(fileName).size()));
  item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
  lstFiles_->addTopLevelItem(item);
}

void frmBatch::AddFilesFromPath(QString fullPath, bool bSubFolders) {
  if (!fullPath.endsWith(QLatin1Char('/'))) fullPath += QLatin1Char('/');
  QStringList unreadable;
  for (const QString& file : BatchInputs::FilesFromPath(fullPath, bSubFolders, &unreadable))
    AddFile(file, fullPath);
  QCoreApplication::processEvents();
  // Pictures left out are said, never passed over.
  if (!unreadable.isEmpty())
    MsgBox(
        this,
        QStringLiteral("These folders could not be read; their pictures are not in the list:\n") +
            unreadable.join(QLatin1Char('\n')),
        Dialogs::Exclamation);
}

void frmBatch::dragEnterEvent(QDragEnterEvent* event) {
  // Pictures are added on the list page only; later pages show what the run will take.
  if (page_ == 0) DroppedFiles::AcceptLocal(event);
}

void frmBatch::dropEvent(QDropEvent* event) {
  const QStringList paths = DroppedFiles::LocalPaths(event->mimeData());
  if (page_ != 0 || paths.isEmpty()) return;
  event->acceptProposedAction();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  for (const QString& path : paths) {
    if (QFileInfo(path).isDir())
      AddFilesFromPath(path, true);
    else if (BatchInputs::IsSupportedName(path))
      AddFile(path);
  }
  QApplication::restoreOverrideCursor();
}

void frmBatch::ClearList() {
  lstFiles_->clear();
  ImagePreview_->ClearCache();
}

void frmBatch::cmdAddFiles_Click() {
  const QString folder =
      Registry().ReadRegDir(QStringLiteral("BatchOpen"), AppInfo::PicturesFolder());
  const QString filter = Language().GetString(QStringLiteral("AllPics")) +
                         QStringLiteral(" (%1)").arg(ImageFormat::FilterPatterns());
  const QStringList files = Dialogs::Current().OpenFiles(this, QString(), folder, filter);
  if (files.isEmpty()) return;
  Registry().WriteRegDir(QStringLiteral("BatchOpen"),
                         modString::GetFolderPart(files.first(), QStringLiteral("/")));
  for (const QString& file : files) AddFile(file);
}

void frmBatch::cmdAddDir_Click() {
  frmAddDir dialog(this);
  const QString folder = dialog.DoModal(this);
  if (folder.isEmpty()) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  AddFilesFromPath(folder, dialog.IncludeSubFolders());
  QApplication::restoreOverrideCursor();
}

void frmBatch::cmdRemoveFiles_Click() {
  for (int i = lstFiles_->topLevelItemCount() - 1; i >= 0; --i)
    if (lstFiles_->topLevelItem(i)->isSelected()) delete lstFiles_->takeTopLevelItem(i);
  ImagePreview_->ClearCache();
}

bool frmBatch::eventFilter(QObject* watched, QEvent* event) {
  if (watched == lstFiles_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_A && key->modifiers() == Qt::ControlModifier) {
      lstFiles_->selectAll();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

bool frmBatch::FillCombo() {
  const QString remembered = cboImages_->currentText();
  cboImages_->clear();
  for (int i = 0; i < lstFiles_->topLevelItemCount(); ++i)
    cboImages_->addItem(lstFiles_->topLevelItem(i)->text(0));
  int index = remembered.isEmpty() ? -1 : cboImages_->findText(remembered, Qt::MatchExactly);
  if (index < 0) index = cboImages_->count() > 0 ? 0 : -1;
  cboImages_->setCurrentIndex(index);
  if (index >= 0) cboImages_Click();
  return ImageOptimize_->IsPictureLoaded();
}

void frmBatch::cboImages_Click() {
  lstFiles_->clearSelection();
  const bool hadPicture = ImageOptimize_->IsPictureLoaded();
  const int chosen = cboImages_->currentIndex();
  const auto key = [this](int i) {
    return lstFiles_->topLevelItem(i)->data(0, Qt::UserRole).toString();
  };
  if (chosen < 0 || chosen >= lstFiles_->topLevelItemCount()) return;
  if (ImageOptimize_->LoadPicture(key(chosen))) {
    lstFiles_->topLevelItem(chosen)->setSelected(true);
    return;
  }
  int loaded = -1;
  for (int i = 0; i < lstFiles_->topLevelItemCount() && loaded < 0; ++i)
    if (i != chosen && ImageOptimize_->LoadPicture(key(i))) loaded = i;
  if (loaded < 0) {
    MsgBox(this, Language().GetString(QStringLiteral("NoSupInSel")), Dialogs::Critical);
    return;
  }
  if (hadPicture)
    MsgBox(this, Language().GetString(QStringLiteral("NotSupported")), Dialogs::Critical);
  lstFiles_->topLevelItem(loaded)->setSelected(true);
  // The combo follows the entry that loaded; it is loaded already, so no second round.
  cboImages_->setCurrentIndex(loaded);
}
