#include "batch/frmAddDir.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "controls/TreeControl.h"
#include "core/AppInfo.h"
#include "settings/clsLanguage.h"
#include "settings/clsReg.h"

frmAddDir::frmAddDir(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmAddDir"));
  setWindowTitle(QStringLiteral("Browse for folder"));
  tree_ = new TreeControl(this);
  tree_->setObjectName(QStringLiteral("TreeControl"));
  chkSubFolders_ = new QCheckBox(QStringLiteral("Include subfolders"), this);
  chkSubFolders_->setObjectName(QStringLiteral("chkSubFolders"));
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("cmdOK"));
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
  cancel->setObjectName(QStringLiteral("cmdCancel"));
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(chkSubFolders_, 1);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* column = new QVBoxLayout(this);
  column->addWidget(tree_, 1);
  column->addLayout(buttons);
  resize(360, 420);
  connect(tree_, &TreeControl::FolderSelected, this,
          [this](const QString& p) { chosenFolder_ = p; });
  connect(ok, &QPushButton::clicked, this, &frmAddDir::cmdOK_Click);
  connect(cancel, &QPushButton::clicked, this, &frmAddDir::cmdCancel_Click);
  Language().UpdateObject(this);
  initialFolder_ = Registry().ReadRegDir(QStringLiteral("AddDir"), AppInfo::PicturesFolder());
}

void frmAddDir::showEvent(QShowEvent* event) {
  if (!activated_) {
    activated_ = true;
    tree_->SetCurrentFolder(initialFolder_);
    Registry().OpenReg(QStringLiteral("Paths"));
    bool isNumber = false;
    const int stored = Registry().GetValue(QStringLiteral("SubFolders")).toInt(&isNumber);
    chkSubFolders_->setChecked(!isNumber || stored != 0);
  }
  QDialog::showEvent(event);
}

void frmAddDir::cmdOK_Click() {
  Registry().WriteRegDir(QStringLiteral("AddDir"), chosenFolder_);
  Registry().SetValue(QStringLiteral("SubFolders"),
                      chkSubFolders_->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
  includeSubFolders_ = chkSubFolders_->isChecked();
  accept();
}

void frmAddDir::cmdCancel_Click() { reject(); }

void frmAddDir::reject() {
  chosenFolder_.clear();
  QDialog::reject();
}

QString frmAddDir::DoModal(QWidget* parent) {
  if (parent) setParent(parent, windowFlags());
  exec();
  return chosenFolder_;
}
