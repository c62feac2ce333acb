// frmImgOpt: Save and Save As.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSlider>

#include "controls/Dialogs.h"
#include "core/SaveName.h"
#include "core/modString.h"
#include "engine/SafeFile.h"
#include "engine/Trash.h"
#include "engine/clsImage.h"
#include "optimizer/PendingRoundTrip.h"
#include "optimizer/frmImgOpt.h"
#include "settings/clsLanguage.h"
#include "settings/clsReg.h"

namespace {
const QString kSaveAsFolder = QStringLiteral("SaveAs");
const QString kSeparator = QStringLiteral("/");
}  // namespace

bool frmImgOpt::cmdSaveAs_Click() { return SaveUnderNewName(); }

bool frmImgOpt::SaveUnderNewName() {
  const QString folder =
      Registry().ReadRegDir(kSaveAsFolder, modString::GetFolderPart(fileName_, kSeparator));
  const QString filter =
      Language().GetString(QStringLiteral("SuppSave")) + QStringLiteral(" (*.jpg *.jpeg)");
  // The dialog starts on the picture's own name as a JPEG, ready to confirm or change.
  const QString name = QFileInfo(SaveName::JpegName(fileName_)).fileName();
  const QString suggested = folder.isEmpty() ? name : QDir(folder).filePath(name);
  const QString chosen = Dialogs::Current().SaveFile(this, QString(), suggested, filter);
  if (chosen.isEmpty()) return false;
  Registry().WriteRegDir(kSaveAsFolder, modString::GetFolderPart(chosen, kSeparator));
  return SaveAs(chosen);
}

QString frmImgOpt::TrashNote(const QString& fileName) const {
  const QString target = SaveName::JpegName(fileName);
  if (target == fileName || !IsLoadedFile(fileName) || !QFileInfo::exists(fileName)) return {};
  return QStringLiteral("The picture is saved as \"%1\"; \"%2\" goes to the trash.")
      .arg(QFileInfo(target).fileName(), QFileInfo(fileName).fileName());
}

bool frmImgOpt::IsLoadedFile(const QString& path) const {
  return SafeFile::IsSameFile(fileName_, path);
}

bool frmImgOpt::SaveAs(const QString& fileName, bool trashAgreed) {
  roundTrip_->Flush();  // a key press queued before Save still counts
  PictureAsSaved();     // never a size drag's quick stretch
  // The "*" of a modified picture goes only with a successful save (SetModified below), so a
  // refused or failed save still asks on closing.
  const QString target = SaveName::JpegName(fileName);
  if (SaveName::HasInvalidChars(target)) {
    MsgBox(this, Language().GetString(QStringLiteral("InvalChars")), Dialogs::Critical);
    return cmdSaveAs_Click();
  }
  // The file dialog asked about the name typed; a name it became (q70.png -> q70.jpg), or
  // the JPEG beside a loaded photo.png, may be another picture: never replaced unasked.
  const QFileInfo existing(target);
  if (target != fileName && (existing.exists() || existing.isSymLink()) && !IsLoadedFile(target) &&
      MsgBox(this,
             QStringLiteral("\"%1\" already exists and is another file.\nReplace it?").arg(target),
             Dialogs::YesNo | Dialogs::Exclamation | Dialogs::DefaultButton2) != Dialogs::Yes)
    return false;
  // Another program may have saved the picture since it was opened: its version is neither
  // replaced nor trashed unless the user says so.
  const bool changed = SafeFile::IdentityOf(fileName_) != loaded_;
  const bool replacesLoaded = IsLoadedFile(target);
  if (changed && replacesLoaded &&
      MsgBox(this,
             QStringLiteral("\"%1\" has been changed by another program since it was opened.\n"
                            "Replace it with this picture?")
                 .arg(target),
             Dialogs::YesNo | Dialogs::Exclamation | Dialogs::DefaultButton2) != Dialogs::Yes)
    return false;
  const QString note = changed ? QString() : TrashNote(fileName);
  // Enter (No) still saves, as Save was asked for, but keeps the old file: only Yes trashes it.
  bool keepOld = false;
  if (!note.isEmpty() && !trashAgreed) {
    const Dialogs::Answer answer = MsgBox(
        this,
        note + QStringLiteral("\nYes: as said. No: \"%1\" stays beside it. Cancel: nothing is saved.")
                   .arg(QFileInfo(fileName).fileName()),
        Dialogs::YesNoCancel | Dialogs::Question | Dialogs::DefaultButton2);
    if (answer == Dialogs::Cancel) return false;
    keepOld = answer == Dialogs::No;
  }
  // The new file is written completely (a temporary file renamed into place) before anything
  // is removed, so a failed save leaves the user's files as they were.
  // The same encoder and writer as savejpg, so that the message can say why it failed.
  QByteArray jpeg;
  QString reason;
  session_.SetQuality(controls_.sldQuality->value());
  if (!session_.Encode(jpeg) ||
      !SafeFile::Replace(target, jpeg, &reason, QString(),
                         replacesLoaded && !changed ? &loaded_ : nullptr)) {
    MsgBox(this,
           Language().GetString(QStringLiteral("SavErr")) +
               (reason.isEmpty() ? QString() : QStringLiteral("\n") + reason),
           Dialogs::Critical);
    return cmdSaveAs_Click();
  }
  // photo.bmp saved as photo.jpg: the picture now lives in the JPEG, and the old file goes
  // where the user can still get it back. A typed name that was changed is never removed,
  // and a file no trash can take is deleted for good only when the user says so.
  QString why;
  if (!note.isEmpty() && !keepOld && !Trash::Move(fileName, &why) &&
      MsgBox(this,
             QStringLiteral("\"%1\" cannot go to the trash: %2.\nDelete it for good? "
                            "No keeps it beside the new picture.")
                 .arg(QFileInfo(fileName).fileName(), why),
             Dialogs::YesNo | Dialogs::Exclamation | Dialogs::DefaultButton2) == Dialogs::Yes)
    QFile::remove(fileName);
  // The saved file is now the original that the figures compare with.
  fileName_ = target;
  session_.Rename(target);
  controls_.ShowFigures(session_.Current(), true);
  loaded_ = SafeFile::IdentityOf(target);
  SetModified(false);
  return true;
}
