#include "optimizer/OptionControls.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QSlider>

#include "controls/Named.h"
#include "core/StatisticsText.h"
#include "optimizer/OptionSliders.h"
#include "settings/clsReg.h"

namespace {

QLabel* Caption(const char* name, const QString& text) { return Named(new QLabel(text), name); }

QGroupBox* BuildStatistics(OptionControls& c, const OptionControls::Names& names) {
  auto* box = Named(new QGroupBox(QStringLiteral("Image statistics")), names.statistics);
  auto* grid = new QGridLayout(box);
  c.txtOriginalSize = Caption("txtOriginalSize", QString());
  c.txtOriginalDimensions = Caption("txtOriginalDimensions", QString());
  c.txtOptimizedSize = Caption("txtOptimizedSize", QString());
  c.txtOptimizedDimensions = Caption("txtOptimizedDimensions", QString());
  c.txtCompression = Caption("txtCompression", QString());
  grid->addWidget(Caption("lblOriginal", QStringLiteral("Original :")), 0, 0);
  grid->addWidget(c.txtOriginalSize, 0, 1);
  grid->addWidget(c.txtOriginalDimensions, 0, 2);
  grid->addWidget(Caption("lblOptimized", QStringLiteral("Optimized :")), 1, 0);
  grid->addWidget(c.txtOptimizedSize, 1, 1);
  grid->addWidget(c.txtOptimizedDimensions, 1, 2);
  grid->addWidget(Caption(names.compressionCaption, QStringLiteral("File compression :")), 2, 0);
  grid->addWidget(c.txtCompression, 2, 1);
  // The run page of the wizard shows output/input; this figure is the share saved.
  grid->addWidget(
      Caption("lblCompressionMeaning", QStringLiteral("(share of the file size saved)")), 2, 2);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(2, 1);
  return box;
}

}  // namespace

OptionControls OptionControls::Build(const Names& names, const QFontMetrics& metrics) {
  OptionControls c;
  c.lblQualityCaption = Caption(names.qualityCaption, QStringLiteral("Quality :"));
  c.sldQuality = Named(new QSlider, "sldQuality");
  OptionSliders::SetUpQuality(c.sldQuality);
  c.sldQuality->setAccessibleName(QStringLiteral("JPEG quality"));
  c.lblQuality = Caption("lblQuality", names.qualityText);
  // Wide enough for the longest value, so that the slider does not jump while it moves.
  c.lblQuality->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("100%")) + 8);

  c.lblScale = Caption(names.scaleCaption, names.scaleCaptionText);
  c.sldSize = Named(new QSlider, "sldSize");
  OptionSliders::SetUpScale(c.sldSize);
  c.sldSize->setAccessibleName(QStringLiteral("Image scale"));
  c.lblSize = Caption("lblSize", OptionSliders::ScaleText(OptionSliders::kScaleDefault));
  c.lblSize->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("500%")) + 8);
  c.chkManualSize = Named(new QCheckBox(QStringLiteral("Manual sizing")), "chkManualSize");
  c.txtWidth = Caption("txtWidth", QStringLiteral("Width"));
  c.txtHeight = Caption("txtHeight", QStringLiteral("Height"));
  c.txtSizeX = Named(new QLineEdit, "txtSizeX");
  c.txtSizeY = Named(new QLineEdit, "txtSizeY");
  c.txtSizeX->setAccessibleName(QStringLiteral("Width"));
  c.txtSizeY->setAccessibleName(QStringLiteral("Height"));
  for (QLineEdit* box : {c.txtSizeX, c.txtSizeY}) {
    box->setMaximumWidth(metrics.horizontalAdvance(QStringLiteral("000000")) + 12);
    // Digits only: letters and signs never get in; an empty box or 0 is told at Apply.
    box->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,6}")), box));
  }
  c.chkMaintain = Named(new QCheckBox(QStringLiteral("Maintain aspect ratio")), "chkMaintain");
  c.cmdApplySize = Named(new QPushButton(QStringLiteral("Apply")), names.applySize);
  // Enter in a size box applies it, as the button does.
  for (QLineEdit* box : {c.txtSizeX, c.txtSizeY})
    QObject::connect(box, &QLineEdit::returnPressed, c.cmdApplySize, [apply = c.cmdApplySize] {
      if (apply->isEnabled()) apply->click();
    });

  // Kept by default: people lose the dates their photo libraries sort by.
  c.chkStripMetadata = Named(new QCheckBox(QStringLiteral("Strip metadata")), "chkStripMetadata");
  c.chkStripMetadata->setToolTip(
      QStringLiteral("Leave out date taken, camera, GPS position and the other data of the photo"));
  Registry().OpenReg(QStringLiteral("Options"));
  c.chkStripMetadata->setChecked(Registry().GetValue(QStringLiteral("StripMetadata")) == "1");
  QObject::connect(c.chkStripMetadata, &QCheckBox::toggled, [](bool strip) {
    Registry().OpenReg(QStringLiteral("Options"));
    Registry().SetValue(QStringLiteral("StripMetadata"),
                        strip ? QStringLiteral("1") : QStringLiteral("0"));
  });

  c.BuildFileChoices(metrics);
  c.fraStatistics = BuildStatistics(c, names);
  return c;
}

void OptionControls::Restore(const QString& key) const {
  Registry().OpenReg(key);
  bool ok = false;
  const int quality = Registry().GetValue(QStringLiteral("Quality")).toInt(&ok);
  if (ok && quality >= sldQuality->minimum() && quality <= sldQuality->maximum() &&
      quality != sldQuality->value()) {
    const QSignalBlocker blocker(sldQuality);
    sldQuality->setValue(quality);
    lblQuality->setText(OptionSliders::QualityText(quality));
  }
  const int scale = Registry().GetValue(QStringLiteral("Scale")).toInt(&ok);
  if (ok && scale >= sldSize->minimum() && scale <= sldSize->maximum()) {
    const QSignalBlocker blocker(sldSize);
    sldSize->setValue(scale);
    lblSize->setText(OptionSliders::ScaleText(scale));
  }
  RestoreFileChoices();
}

void OptionControls::Store(const QString& key) const {
  Registry().OpenReg(key);
  Registry().SetValue(QStringLiteral("Quality"), QString::number(sldQuality->value()));
  Registry().SetValue(QStringLiteral("Scale"), QString::number(sldSize->value()));
  StoreFileChoices();
}

void OptionControls::ShowFigures(const PreviewSession::Figures& f, bool sayLarger) const {
  txtOriginalSize->setText(StatisticsText::SizeText(f.fileBytes));
  if (!f.original.isEmpty())
    txtOriginalDimensions->setText(
        StatisticsText::DimensionsText(f.original.width(), f.original.height()));
  if (!f.optimized.isEmpty())
    txtOptimizedDimensions->setText(
        StatisticsText::DimensionsText(f.optimized.width(), f.optimized.height()));
  if (f.jpegBytes < 0) return;  // nothing encoded yet
  const bool larger = sayLarger && f.Larger();
  txtOptimizedSize->setText(StatisticsText::SizeText(f.jpegBytes) +
                            (larger ? QStringLiteral(" (LARGER than the original)") : QString()) +
                            (sayLarger && f.lossless ? QStringLiteral(" (lossless)") : QString()));
  txtOptimizedSize->setStyleSheet(larger ? QStringLiteral("color: #b00000;") : QString());
  txtCompression->setText(
      StatisticsText::CompressionText(f.jpegBytes, f.fileBytes).value_or(QString()));
}
