#include "app/frmStartupWizard.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/Artwork.h"
#include "settings/clsLanguage.h"
#include "settings/clsReg.h"

frmStartupWizard::frmStartupWizard(QWidget* parent) : QDialog(parent) {
  setObjectName("frmStartupWizard");
  setWindowTitle("Welcome!");

  auto* picture = new QLabel(this);
  picture->setObjectName("Picture1");
  picture->setPixmap(Artwork::ProductPicture());
  picture->setAlignment(Qt::AlignTop);
  auto* lblWelcome =
      new QLabel("Welcome to Trimjet : the program to optimize all your images!", this);
  lblWelcome->setObjectName("lblWelcome");
  lblWelcome->setWordWrap(true);
  QFont big = lblWelcome->font();
  big.setPointSizeF(big.pointSizeF() * 1.25);
  big.setBold(true);
  lblWelcome->setFont(big);

  auto* Frame1 = new QGroupBox("What do you wish to do ?", this);
  Frame1->setObjectName("Frame1");
  optWizard = new QRadioButton("Use the optimization wizard", Frame1);
  optWizard->setObjectName("optWizard");
  optBrowse = new QRadioButton("Browse / optimize your images manually", Frame1);
  optBrowse->setObjectName("optBrowse");
  // The wizard is the quicker way for a newcomer; the main window is one click away.
  optWizard->setChecked(true);
  auto* choices = new QVBoxLayout(Frame1);
  choices->addWidget(optWizard);
  choices->addWidget(optBrowse);

  chkShowOnStart = new QCheckBox("Show this dialog on startup", this);
  chkShowOnStart->setObjectName("chkShowOnStart");
  chkShowOnStart->setChecked(true);
  cmdNext = new QPushButton("Go !", this);
  cmdNext->setObjectName("cmdNext");
  cmdNext->setDefault(true);
  cmdCancel = new QPushButton("Cancel", this);
  cmdCancel->setObjectName("cmdCancel");

  auto* text = new QVBoxLayout;
  text->addWidget(lblWelcome);
  text->addSpacing(8);
  text->addWidget(Frame1);
  text->addWidget(chkShowOnStart);
  text->addStretch();
  auto* top = new QHBoxLayout;
  top->addWidget(picture);
  top->addSpacing(12);
  top->addLayout(text, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdNext);
  buttons->addWidget(cmdCancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(buttons);
  setMinimumWidth(440);

  connect(cmdNext, &QPushButton::clicked, this, &frmStartupWizard::cmdNext_Click);
  connect(cmdCancel, &QPushButton::clicked, this, &frmStartupWizard::cmdCancel_Click);

  Language().UpdateObject(this);
  // A missing or non-numeric value leaves the box as designed.
  bool ok = false;
  const int stored = clsReg().GetValue(kShowStartUp).toInt(&ok);
  if (ok) chkShowOnStart->setChecked(stored != 0);
}

bool frmStartupWizard::WantedOnStart() {
  bool ok = false;
  const int stored = clsReg().GetValue(kShowStartUp).toInt(&ok);
  return !ok || stored != 0;
}

void frmStartupWizard::cmdNext_Click() {
  hide();
  if (optBrowse->isChecked())
    emit BrowseRequested();
  else if (optWizard->isChecked())
    emit BatchWizardRequested();
  clsReg().SetValue(kShowStartUp, chkShowOnStart->isChecked() ? "1" : "0");
  accept();
}

void frmStartupWizard::cmdCancel_Click() { reject(); }
