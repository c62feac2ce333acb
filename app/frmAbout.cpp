#include "app/frmAbout.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Artwork.h"
#include "controls/Dialogs.h"
#include "core/AppInfo.h"
#include "settings/clsLanguage.h"

namespace {

QLabel* NewLabel(QWidget* parent, const char* name, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  return label;
}

}  // namespace

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
  setObjectName("frmAbout");
  setWindowTitle("About Trimjet");
  setAttribute(Qt::WA_DeleteOnClose);

  auto* picture = NewLabel(this, "Picture1", QString());
  picture->setPixmap(Artwork::ProductPicture());
  picture->setAlignment(Qt::AlignTop);

  lblTitle = NewLabel(this, "lblTitle", QString());
  QFont titleFont = lblTitle->font();
  titleFont.setPointSizeF(titleFont.pointSizeF() * 1.8);
  titleFont.setBold(true);
  lblTitle->setFont(titleFont);
  lblVersion = NewLabel(this, "lblVersion", QString());
  lblDescription = NewLabel(this, "lblDescription",
                            "Makes your pictures smaller: JPEG, GIF, BMP, PCX, PNG, TGA and TIFF "
                            "files become compact JPEG files, one at a time or many at once.");
  lblDescription->setWordWrap(true);
  lblDisclaimer = NewLabel(this, "lblDisclaimer",
                           "Warning: this program is protected by copyright law. Unauthorised "
                           "copying or distribution of this program, or of any part of it, may "
                           "result in civil and criminal penalties.");
  lblDisclaimer->setWordWrap(true);
  QFont small = lblDisclaimer->font();
  small.setPointSizeF(small.pointSizeF() * 0.85);
  lblDisclaimer->setFont(small);

  cmdLink = new QPushButton(QString(kWebAddress), this);
  cmdLink->setObjectName("cmdLink");
  cmdLink->setFlat(true);
  cmdLink->setCursor(Qt::PointingHandCursor);
  cmdLink->setToolTip("Visit the Trimjet web page");
  cmdOK = new QPushButton("OK", this);
  cmdOK->setObjectName("cmdOK");
  cmdOK->setDefault(true);

  auto* text = new QVBoxLayout;
  text->addWidget(lblTitle);
  text->addWidget(lblVersion);
  text->addSpacing(8);
  text->addWidget(lblDescription);
  text->addStretch();
  text->addWidget(lblDisclaimer);
  auto* top = new QHBoxLayout;
  top->addWidget(picture);
  top->addSpacing(12);
  top->addLayout(text, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(cmdLink);
  buttons->addStretch();
  buttons->addWidget(cmdOK);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addSpacing(8);
  layout->addLayout(buttons);
  setMinimumWidth(460);

  connect(cmdOK, &QPushButton::clicked, this, &QDialog::close);
  connect(cmdLink, &QPushButton::clicked, this, &frmAbout::cmdLink_Click);

  // Loading: the language file may override any text, then title and version are set.
  Language().UpdateObject(this);
  lblTitle->setText(QString::fromLatin1(AppInfo::kProductName));
  lblVersion->setText(VersionText());
}

QString frmAbout::VersionText() {
  return QString("Version %1.%2").arg(AppInfo::VersionMajor()).arg(AppInfo::VersionMinor());
}

void frmAbout::cmdLink_Click() { Dialogs::Current().OpenUrl(kWebAddress); }
