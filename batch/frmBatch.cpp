#include "batch/frmBatch.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QThread>
#include <QTreeWidget>
#include <QUrl>

#include "batch/SlideShow.h"
#include "batch/frmAddDir.h"
#include "controls/CommandButton.h"
#include "controls/Dialogs.h"
#include "controls/WindowGeometry.h"
#include "controls/WindowOwner.h"
#include "controls/modModal.h"
#include "core/AppInfo.h"
#include "core/BatchRunner.h"
#include "core/BatchSession.h"
#include "core/Twips.h"
#include "core/modString.h"
#include "engine/ImageFormat.h"
#include "optimizer/ImageOptimize.h"
#include "optimizer/frmImgOpt.h"
#include "settings/clsLanguage.h"
#include "settings/clsReg.h"

frmBatch::frmBatch(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("frmBatch"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Batch Processor"));
  BuildControls();
  ConnectControls();
  BindKeys();
  Language().UpdateObject(this);
  modModal::BeginModal(this);
  workers_ = std::max(1, QThread::idealThreadCount());
  cancel_ = false;
  page_ = 0;
  SetVisible();
  lstFiles_->setHeaderLabels(
      {Language().GetString(QStringLiteral("File")), Language().GetString(QStringLiteral("Size"))});
  // The names take the room the sizes leave, so that they are not cut short beside a wide
  // empty size column.
  QHeaderView* header = lstFiles_->header();
  header->resizeSection(0, Twips::ToPixels(1800));
  header->resizeSection(1, Twips::ToPixels(600));
  header->setStretchLastSection(false);
  header->setSectionResizeMode(0, QHeaderView::Stretch);
  header->setSectionResizeMode(1, QHeaderView::ResizeToContents);
  lstFiles_->headerItem()->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
  LoadBatchSettings();
  setAcceptDrops(true);
}

frmBatch::~frmBatch() { Unload(); }

void frmBatch::ConnectControls() {
  connect(cmdNext_, &QPushButton::clicked, this, &frmBatch::cmdNext_Click);
  connect(cmdBack_, &QPushButton::clicked, this, &frmBatch::cmdBack_Click);
  connect(cmdFinish_, &QPushButton::clicked, this, &frmBatch::cmdFinish_Click);
  connect(cmdCancel_, &QPushButton::clicked, this, &frmBatch::cmdCancel_Click);
  connect(cmdClose_, &QPushButton::clicked, this, &frmBatch::cmdClose_Click);
  connect(cmdAddFiles_, &QPushButton::clicked, this, &frmBatch::cmdAddFiles_Click);
  connect(cmdAddDir_, &QPushButton::clicked, this, &frmBatch::cmdAddDir_Click);
  connect(cmdRemoveFiles_, &QPushButton::clicked, this, &frmBatch::cmdRemoveFiles_Click);
  connect(cmdBrowseOutputDir_, &QPushButton::clicked, this, &frmBatch::cmdBrowseOutputDir_Click);
  connect(cboImages_, &QComboBox::activated, this, &frmBatch::cboImages_Click);
  connect(lstFiles_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
    ImagePreview_->EntryClicked(lstFiles_->indexOfTopLevelItem(item) + 1);
  });
  connect(cmdHelp_, &QPushButton::clicked, this,
          [] { Dialogs::Current().OpenUrl(QUrl::fromLocalFile(AppInfo::HelpFile()).toString()); });
  connect(cmdLink_, &CommandButton::Click, this,
          [] { Dialogs::Current().OpenUrl(QString::fromLatin1(frmImgOpt::kWebAddress)); });
}

void frmBatch::BindKeys() {
  // Esc is the Cancel or Close button the page shows, as the user would click it; F1 the help.
  connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, [this] {
    for (QPushButton* b : {cmdClose_, cmdCancel_})
      if (b->isVisible() && b->isEnabled()) return b->click();
  });
  connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, cmdHelp_,
          &QPushButton::click);
}

void frmBatch::SetVisible() {
  cmdBack_->setEnabled(page_ >= 1);
  Step1_->setVisible(page_ == 0);
  Step2_->setVisible(page_ == 1);
  Step3_->setVisible(page_ == 2);
  StepFinish_->setVisible(page_ == kRunPage);
  cmdNext_->setVisible(page_ < 2);
  cmdFinish_->setVisible(page_ == 2);
  cmdClose_->setVisible(page_ == kRunPage);
  if (page_ == 1)
    ImageOptimize_->ShowForms();
  else
    ImageOptimize_->HideForms();
  QPushButton* byDefault = !cmdNext_->isHidden()     ? cmdNext_
                           : !cmdFinish_->isHidden() ? cmdFinish_
                           : !cmdClose_->isHidden()  ? cmdClose_
                                                     : nullptr;
  for (QPushButton* b : {cmdNext_, cmdFinish_, cmdClose_}) b->setDefault(b == byDefault);
}

void frmBatch::keyPressEvent(QKeyEvent* event) {
  // Enter takes the default button, as in a dialog.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    for (QPushButton* b : {cmdNext_, cmdFinish_, cmdClose_})
      if (b->isDefault() && b->isVisible() && b->isEnabled()) return b->click();
  }
  QWidget::keyPressEvent(event);
}

// Back stays: the list page came before, even if the wizard opened past it.
void frmBatch::StartOnOptionsPage() {
  cmdNext_->setEnabled(true);
  page_ = 1;
  SetVisible();
}

void frmBatch::HandOff(const QStringList& paths) {
  for (const QString& path : paths) AddFile(path);
  cmdNext_->setEnabled(true);
  page_ = 1;
}

void frmBatch::cmdNext_Click() {
  // The list the user built is kept; only an empty one asks for pictures, and a Cancel there
  // leaves the page as it was.
  if (page_ == 0 && lstFiles_->topLevelItemCount() == 0) {
    setEnabled(false);
    if (optFiles_->isChecked())
      cmdAddFiles_Click();
    else
      cmdAddDir_Click();
    setEnabled(true);
    if (lstFiles_->topLevelItemCount() == 0) return;
  }
  ++page_;
  if (page_ == 1) FillCombo();
  SetVisible();
}

void frmBatch::cmdBack_Click() {
  if (page_ > 0) --page_;
  SetVisible();
}

void frmBatch::cmdBrowseOutputDir_Click() {
  frmAddDir dialog(this);
  const QString text = txtOutputDir_->text();
  dialog.SetInitialFolder(text.contains(QLatin1Char('/')) && QFileInfo(text).isDir()
                              ? text
                              : AppInfo::PicturesFolder());
  const QString chosen = dialog.DoModal(this);
  if (!chosen.isEmpty()) txtOutputDir_->setText(chosen);
}

QString frmBatch::OverwriteWarning() const {
  int jpegs = 0;
  const int count = lstFiles_->topLevelItemCount();
  for (int i = 0; i < count; ++i)
    jpegs +=
        ImageFormat::FromExtension(lstFiles_->topLevelItem(i)->data(0, Qt::UserRole).toString()) ==
        ImageFormat::kJpeg;
  const int others = count - jpegs;
  QStringList lines;
  if (jpegs == 1)
    lines << QStringLiteral("1 JPEG picture will be encoded again, replacing the original.");
  if (jpegs > 1)
    lines << QStringLiteral("%1 JPEG pictures will be encoded again, replacing the originals.")
                 .arg(jpegs);
  if (others == 1)
    lines << QStringLiteral(
        "1 picture of another format gets a .jpg file beside it; the original is not changed.");
  if (others > 1)
    lines << QStringLiteral(
                 "%1 pictures of other formats get a .jpg file beside them; the originals are not "
                 "changed.")
                 .arg(others);
  return lines.join(QLatin1Char('\n')) + QStringLiteral("\nContinue?");
}

void frmBatch::cmdFinish_Click() {
  if (windowFlags() & Qt::WindowStaysOnTopHint) {
    setWindowFlag(Qt::WindowStaysOnTopHint, false);
    show();
  }
  // A target size that is no size would otherwise run without one.
  if (QString problem; !ImageOptimize_->Controls().MaxBytes(&problem)) {
    MsgBox(this, problem, Dialogs::Exclamation);
    return;
  }
  // The warning says what Yes will do to which files; Enter answers No.
  if (optOverwrite_->isChecked() &&
      MsgBox(this, OverwriteWarning(),
             Dialogs::YesNo | Dialogs::Exclamation | Dialogs::DefaultButton2,
             QStringLiteral("WARNING")) == Dialogs::No)
    return;
  if (!txtOutputDir_->text().endsWith(QLatin1Char('/')))
    txtOutputDir_->setText(txtOutputDir_->text() + QLatin1Char('/'));
  if (!optOverwrite_->isChecked() && !optOtherDir_->isChecked()) {
    MsgBox(this, Language().GetString(QStringLiteral("SelectOutput")), Dialogs::Exclamation);
    return;
  }
  const bool created = modString::CreatePath(txtOutputDir_->text());
  if (optOtherDir_->isChecked() && !created) {
    MsgBox(this, Language().GetString(QStringLiteral("ErrOutputDir")), Dialogs::Exclamation);
    return;
  }
  StartRun();
}

void frmBatch::ChooseOutput(bool overwrite, const QString& folder) {
  (overwrite ? optOverwrite_ : optOtherDir_)->setChecked(true);
  txtOutputDir_->setText(folder);
}

void frmBatch::cmdCancel_Click() {
  cancel_ = true;
  if (session_) session_->Cancel();
  if (page_ < 99) close();
}

void frmBatch::cmdClose_Click() {
  SaveBatchSettings();
  if (optOtherDir_->isChecked()) emit FolderRequested(txtOutputDir_->text());
  // Without the main window this is the last window: closed while shown, so that the
  // program ends with it (a hidden window's close does not count as the last one).
  close();
}

void frmBatch::LoadBatchSettings() {
  clsReg& reg = Registry();
  reg.OpenReg(QStringLiteral("Batch"));
  txtOutputDir_->setText(reg.GetValue(QStringLiteral("OutputDir")));
  optOverwrite_->setChecked(reg.GetValue(QStringLiteral("OutputMode")) != QLatin1String("Dir"));
  optOtherDir_->setChecked(!optOverwrite_->isChecked());
  chkKeepStructure_->setChecked(reg.GetValue(QStringLiteral("KeepStructure")) ==
                                QLatin1String("1"));
  // Numbering and keeping the smaller JPEG are the safe defaults: on until switched off.
  const QStringList rules = {QStringLiteral("Number"), QStringLiteral("Replace"),
                             QStringLiteral("Skip")};
  cboIfExists_->setCurrentIndex(
      std::max(0, int(rules.indexOf(reg.GetValue(QStringLiteral("IfExists"))))));
  chkKeepSmaller_->setChecked(reg.GetValue(QStringLiteral("KeepSmaller")) != QLatin1String("0"));
  chkKeepDates_->setChecked(reg.GetValue(QStringLiteral("KeepDates")) == QLatin1String("1"));
  WindowGeometry::Restore(this, reg.GetValue(QStringLiteral("Geometry")));
  ImageOptimize_->Controls().Restore(QString::fromLatin1(kOptionsKey));
}

void frmBatch::SaveBatchSettings() {
  clsReg& reg = Registry();
  reg.OpenReg(QStringLiteral("Batch"));
  reg.SetValue(QStringLiteral("OutputDir"), txtOutputDir_->text());
  reg.SetValue(QStringLiteral("OutputMode"),
               optOverwrite_->isChecked() ? QStringLiteral("Overwrite") : QStringLiteral("Dir"));
  reg.SetValue(QStringLiteral("KeepStructure"),
               chkKeepStructure_->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
  const QString rules[] = {QStringLiteral("Number"), QStringLiteral("Replace"),
                           QStringLiteral("Skip")};
  reg.SetValue(QStringLiteral("IfExists"), rules[std::clamp(cboIfExists_->currentIndex(), 0, 2)]);
  reg.SetValue(QStringLiteral("KeepSmaller"),
               chkKeepSmaller_->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
  reg.SetValue(QStringLiteral("KeepDates"),
               chkKeepDates_->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
  ImageOptimize_->Controls().Store(QString::fromLatin1(kOptionsKey));
}

void frmBatch::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) emit UpdateControlsRequested();
  QWidget::changeEvent(event);
}

void frmBatch::closeEvent(QCloseEvent* event) {
  // A run in progress finishes the pictures it started before the window may go.
  if (Running()) {
    cmdCancel_Click();
    event->ignore();
    return;
  }
  // A list that was run is done with; one that was not is kept for the next wizard.
  QStringList files, roots;
  for (int i = 0; page_ < kRunPage && i < lstFiles_->topLevelItemCount(); ++i) {
    files << lstFiles_->topLevelItem(i)->data(0, Qt::UserRole).toString();
    roots << lstFiles_->topLevelItem(i)->data(0, kRootRole).toString();
  }
  emit ListLeft(files, roots);
  // Where the user put the window is kept however it closes.
  Registry().OpenReg(QStringLiteral("Batch"));
  Registry().SetValue(QStringLiteral("Geometry"), WindowGeometry::Text(this));
  Unload();
  event->accept();
}

void frmBatch::SetOwner(QWidget* owner) {
  WindowOwner::Own(this, owner);
  ImageOptimize_->SetOwner(owner);
}

void frmBatch::Unload() {
  if (unloaded_) return;
  unloaded_ = true;
  unloading_ = true;
  ImagePreview_->Stop();
  ImagePreview_->ClearCache();
  modModal::EndModal(this);
  ImageOptimize_->UnloadForms();
}
