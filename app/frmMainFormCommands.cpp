// frmMainForm: the commands of the toolbar, the menus and the browser's context menu.
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include "app/frmMainForm.h"
#include "browse/PictureBrowser.h"
#include "controls/Dialogs.h"
#include "controls/TreeControl.h"
#include "core/AppInfo.h"
#include "core/modString.h"
#include "engine/ImageFormat.h"
#include "engine/SafeFile.h"
#include "engine/Trash.h"
#include "settings/clsLanguage.h"
#include "settings/clsReg.h"

void frmMainForm::cmdOpen_Click() {
  const QString folder =
      Registry().ReadRegDir(QStringLiteral("BatchOpen"), AppInfo::PicturesFolder());
  const QString filter = Language().GetString(QStringLiteral("AllPics")) +
                         QStringLiteral(" (%1)").arg(ImageFormat::FilterPatterns());
  QStringList files = Dialogs::Current().OpenFiles(this, QString(), folder, filter);
  files.removeAll(QString());
  if (files.isEmpty()) return;
  if (files.size() == 1) {
    emit OptimizeRequested(files.first());
    return;
  }
  emit BatchRequested(files, true);
}

void frmMainForm::cmdOptimize_Click() {
  const QStringList paths = SelectedPaths();
  if (paths.isEmpty()) return;
  if (paths.size() == 1)
    emit OptimizeRequested(paths.first());
  else
    emit BatchRequested(paths, false);
}

void frmMainForm::cmdSave_Click() { emit SaveRequested(); }

void frmMainForm::cmdSaveAs_Click() { emit SaveAsRequested(); }

void frmMainForm::cmdRefresh_Click() {
  TreeControl_->Refresh();
  PictureBrowser_->SetDirectory(TreeControl_->CurrentFolder(), true);
}

void frmMainForm::mnuBView_Click() {
  const QStringList paths = SelectedPaths();
  if (!paths.isEmpty()) emit ViewRequested(paths);
}

void frmMainForm::mnuBDelete_Click() {
  const QStringList paths = SelectedPaths();
  if (paths.isEmpty()) return;
  // The question says how many and where they go, so that Yes is an informed answer.
  const QString where =
      paths.size() == 1
          ? QStringLiteral("\"%1\" goes to the trash.").arg(QFileInfo(paths[0]).fileName())
          : QStringLiteral("%1 pictures go to the trash.").arg(paths.size());
  if (MsgBox(this, Language().GetString(QStringLiteral("DelSelImg")) + QLatin1Char('\n') + where,
             Dialogs::YesNo | Dialogs::Exclamation) != Dialogs::Yes)
    return;
  // To the trash, so a mistaken Delete can be undone. A file nobody may write is kept, as a
  // read-only file always was; one no trash can take is deleted for good only when asked.
  QStringList untrashable;
  QString why;
  for (const QString& path : paths)
    if (!SafeFile::IsWriteProtected(path) && !Trash::Move(path, &why) && QFileInfo::exists(path))
      untrashable << path;
  if (!untrashable.isEmpty() &&
      MsgBox(this,
             QStringLiteral("%1 cannot go to the trash: %2.\nDelete for good? No keeps %3.")
                 .arg(untrashable.size() == 1
                          ? QStringLiteral("\"%1\"").arg(QFileInfo(untrashable[0]).fileName())
                          : QStringLiteral("%1 pictures").arg(untrashable.size()),
                      why, untrashable.size() == 1 ? QStringLiteral("it") : QStringLiteral("them")),
             Dialogs::YesNo | Dialogs::Exclamation | Dialogs::DefaultButton2) == Dialogs::Yes) {
    for (const QString& path : untrashable) QFile::remove(path);
  }
  bool failed = false;
  for (const QString& path : paths)
    if (QFileInfo::exists(path) && !untrashable.contains(path)) failed = true;
  PictureBrowser_->RemoveInvalid();
  if (failed)
    MsgBox(this, Language().GetString(QStringLiteral("NotAllDel")),
           Dialogs::OkOnly | Dialogs::Exclamation);
}

void frmMainForm::mnuTBatch_Click() { emit BatchRequested({}, false); }

void frmMainForm::mnuHHelp_Click() {
  Dialogs::Current().OpenUrl(QUrl::fromLocalFile(AppInfo::HelpFile()).toString());
}

void frmMainForm::mnuHWizard_Click() { emit StartupWizardRequested(); }

void frmMainForm::mnuHAbout_Click() { emit AboutRequested(); }
