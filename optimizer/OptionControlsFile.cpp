// OptionControls: the choices about the file written: progressive scans and a target size.
#include <QCheckBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

#include "controls/Named.h"
#include "core/OptionGrammar.h"
#include "optimizer/OptionControls.h"
#include "settings/clsReg.h"

void OptionControls::BuildFileChoices(const QFontMetrics& metrics) {
  fraFile = Named(new QWidget, "fraFile");
  chkProgressive = Named(new QCheckBox(QStringLiteral("Progressive")), "chkProgressive");
  chkProgressive->setToolTip(
      QStringLiteral("The picture appears whole at once and sharpens while it loads"));
  lblMaxSize = Named(new QLabel(QStringLiteral("Target file size, at most :")), "lblMaxSize");
  txtMaxSize = Named(new QLineEdit, "txtMaxSize");
  txtMaxSize->setAccessibleName(QStringLiteral("Target file size"));
  txtMaxSize->setPlaceholderText(QStringLiteral("300k, 2M"));
  txtMaxSize->setToolTip(
      QStringLiteral("Bytes, or k for 1024 bytes and M for 1024 x 1024 bytes; empty: no limit"));
  txtMaxSize->setMaximumWidth(metrics.horizontalAdvance(QStringLiteral("0000000000")) + 12);
  // Digits and one unit letter: anything else never gets in; 0 and too much are told.
  txtMaxSize->setValidator(new QRegularExpressionValidator(
      QRegularExpression(QStringLiteral("[0-9]{0,10}[kKmM]?")), txtMaxSize));
  lblMaxSize->setBuddy(txtMaxSize);
  lblMaxSizeNote = Named(new QLabel, "lblMaxSizeNote");
  lblMaxSizeNote->setWordWrap(true);
  auto* grid = new QGridLayout(fraFile);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->addWidget(chkProgressive, 0, 0, 1, 3);
  grid->addWidget(lblMaxSize, 1, 0);
  grid->addWidget(txtMaxSize, 1, 1);
  grid->addWidget(lblMaxSizeNote, 2, 0, 1, 3);
  grid->setColumnStretch(2, 1);
  lblMaxSizeNote->hide();
}

std::optional<long long> OptionControls::MaxBytes(QString* problem) const {
  if (txtMaxSize->text().trimmed().isEmpty()) return 0;
  long long bytes = 0;
  QString error;
  if (OptionGrammar::ReadByteCount(txtMaxSize->text(), bytes, error)) return bytes;
  if (problem)
    *problem = QStringLiteral("The target file size must be ") + error + QLatin1Char('.');
  return std::nullopt;
}

void OptionControls::RestoreFileChoices() const {
  chkProgressive->setChecked(Registry().GetValue(QStringLiteral("Progressive")) == "1");
  bool ok = false;
  const long long bytes = Registry().GetValue(QStringLiteral("MaxSize")).toLongLong(&ok);
  txtMaxSize->setText(ok && bytes > 0 ? OptionGrammar::ByteCountText(bytes) : QString());
}

void OptionControls::StoreFileChoices() const {
  Registry().SetValue(QStringLiteral("Progressive"),
                      chkProgressive->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
  Registry().SetValue(QStringLiteral("MaxSize"), QString::number(MaxBytes().value_or(0)));
}
