// frmImgOpt: Save and Save As.
#include <QFile>
#include <QSlider>

#include "Dialogs.h"
#include "SaveName.h"
#include "clsImage.h"
#include "clsLanguage.h"
#include "clsReg.h"
#include "frmImgOpt.h"
#include "modString.h"

namespace {
const QString kSaveAsFolder = QStringLiteral("SaveAs");
const QString kSeparator = QStringLiteral("/");
}  // namespace

bool frmImgOpt::cmdSaveAs_Click() {
  const QString folder =
      Registry().ReadRegDir(kSaveAsFolder, modString::GetFolderPart(fileName_, kSeparator));
  const QString filter =
      Language().GetString(QStringLiteral("SuppSave")) + QStringLiteral(" (*.jpg *.jpeg)");
  const QString chosen = Dialogs::Current().SaveFile(this, QString(), folder, filter);
  if (chosen.isEmpty()) return false;
  Registry().WriteRegDir(kSaveAsFolder, modString::GetFolderPart(chosen, kSeparator));
  return SaveAs(chosen);
}

bool frmImgOpt::SaveAs(const QString& fileName) {
  // The "*" of a modified picture goes only with a successful save (SetModified below), so a
  // refused or failed save still asks on closing.
  const QString target = SaveName::JpegName(fileName);
  if (SaveName::HasInvalidChars(target)) {
    MsgBox(this, Language().GetString(QStringLiteral("InvalChars")), Dialogs::Critical);
    return cmdSaveAs_Click();
  }
  // The new file is written completely (a temporary file renamed into place) before anything
  // is removed, so a failed save leaves the user's files as they were.
  if (!working_ || !working_->savejpg(target, controls_.sldQuality->value(), 0)) {
    MsgBox(this, Language().GetString(QStringLiteral("SavErr")), Dialogs::Critical);
    return cmdSaveAs_Click();
  }
  // photo.bmp saved as photo.jpg: the picture now lives in the JPEG.
  if (target != fileName && QFile::exists(fileName)) QFile::remove(fileName);
  fileName_ = target;
  SetModified(false);
  return true;
}
