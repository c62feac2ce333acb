// ImageOptimize: its tabs, controls and signals, and where the previews go.
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>

#include "browse/frmPicturePreview.h"
#include "controls/Dialogs.h"
#include "controls/Named.h"
#include "core/QualityRange.h"
#include "engine/clsImage.h"
#include "optimizer/AutoQualityButton.h"
#include "optimizer/ImageOptimize.h"
#include "optimizer/OptionSliders.h"
#include "optimizer/PendingRoundTrip.h"
#include "optimizer/PreviewPlacement.h"
#include "optimizer/SliderDrag.h"

void ImageOptimize::BuildControls() {
  SSTab_ = Named(new QTabWidget(this), "SSTab");
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->addWidget(SSTab_);

  controls_ =
      OptionControls::Build({.qualityCaption = "Label1",
                             .qualityText = OptionSliders::QualityText(QualityRange::kDefault),
                             .scaleCaption = "lblTabSize",
                             .scaleCaptionText = QStringLiteral("Size :"),
                             .applySize = "cmdApplySize",
                             .statistics = "Frame2",
                             .compressionCaption = "lblFileCompression"},
                            fontMetrics());
  const OptionControls& c = controls_;

  auto* quality = new QWidget;
  auto* qualityGrid = new QGridLayout(quality);
  qualityGrid->addWidget(c.lblQualityCaption, 0, 0);
  qualityGrid->addWidget(c.sldQuality, 0, 1);
  qualityGrid->addWidget(c.lblQuality, 0, 2);
  cmdAutoQuality_ = new AutoQualityButton(
      c.sldQuality, [this] { return HasPicture() ? session_.Working() : nullptr; });
  cmdAutoQuality_->setCheckable(true);
  cmdAutoQuality_->setToolTip(
      QStringLiteral("Each picture gets the lowest quality at which it still looks the same"));
  qualityGrid->addWidget(cmdAutoQuality_, 0, 3);
  qualityGrid->addWidget(c.fraStatistics, 1, 0, 1, 3);
  qualityGrid->addWidget(c.chkStripMetadata, 2, 0, 1, 3);
  qualityGrid->addWidget(c.fraFile, 3, 0, 1, 3);
  qualityGrid->setRowStretch(4, 1);
  SSTab_->addTab(quality, QStringLiteral("Quality"));

  auto* size = new QWidget;
  auto* sizeGrid = new QGridLayout(size);
  sizeGrid->addWidget(c.lblScale, 0, 0);
  sizeGrid->addWidget(c.sldSize, 0, 1);
  sizeGrid->addWidget(c.lblSize, 0, 2);
  auto* frame = Named(new QGroupBox, "Frame1");
  auto* frameGrid = new QGridLayout(frame);
  for (QLineEdit* box : {c.txtSizeX, c.txtSizeY}) box->installEventFilter(this);
  frameGrid->addWidget(c.chkManualSize, 0, 0, 1, 2);
  frameGrid->addWidget(c.chkMaintain, 0, 2, 1, 3);
  frameGrid->addWidget(c.txtWidth, 1, 0);
  frameGrid->addWidget(c.txtSizeX, 1, 1);
  frameGrid->addWidget(c.txtHeight, 1, 2);
  frameGrid->addWidget(c.txtSizeY, 1, 3);
  frameGrid->addWidget(c.cmdApplySize, 1, 4);
  sizeGrid->addWidget(frame, 1, 0, 1, 3);
  sizeGrid->setRowStretch(2, 1);
  // The tab's caption leaves room for the check box drawn on its header.
  SSTab_->addTab(size, QStringLiteral("     Size"));
  chkSize_ = Named(new QCheckBox, "chkSize");
  chkSize_->setAccessibleName(QStringLiteral("Resize images"));  // it sits on the tab, wordless
  // Without words the style has nothing to draw its focus frame round: the box shows it.
  chkSize_->setStyleSheet(QStringLiteral(
      "QCheckBox:focus { background-color: palette(highlight); border-radius: 3px; }"));
  SSTab_->tabBar()->setTabButton(1, QTabBar::LeftSide, chkSize_);

  auto* effects = new QWidget;
  auto* effectsGrid = new QGridLayout(effects);
  lstEffects_ = Named(new QListWidget, "lstEffects");
  lstEffects_->setAccessibleName(QStringLiteral("Effects"));
  cmdAdd_ = Named(new QPushButton(QStringLiteral("Add")), "cmdAdd");
  cmdRemove_ = Named(new QPushButton(QStringLiteral("Remove")), "cmdRemove");
  cmdProp_ = Named(new QPushButton(QStringLiteral("Properties")), "cmdProp");
  cmdApply_ = Named(new QPushButton(QStringLiteral("Re-Apply effects")), "cmdApply");
  effectsGrid->addWidget(lstEffects_, 0, 0, 5, 1);
  effectsGrid->addWidget(cmdAdd_, 0, 1);
  effectsGrid->addWidget(cmdRemove_, 1, 1);
  effectsGrid->addWidget(cmdProp_, 2, 1);
  effectsGrid->addWidget(cmdApply_, 4, 1);
  effectsGrid->setRowStretch(3, 1);
  SSTab_->addTab(effects, QStringLiteral("Effects"));
}

void ImageOptimize::ConnectControls() {
  drag_->Watch(controls_.sldQuality);
  drag_->Watch(controls_.sldSize);
  connect(drag_, &SliderDrag::MouseUp, this, &ImageOptimize::SliderMouseUp);
  roundTrip_->Watch(controls_.sldQuality);
  roundTrip_->Watch(controls_.sldSize);
  connect(controls_.sldQuality, &QSlider::valueChanged, this, [this] {
    controls_.lblQuality->setText(
        OptionSliders::QualityText(controls_.sldQuality->sliderPosition()));
    // Keys, Auto and a click on the groove move it too: the figures follow every value.
    roundTrip_->Changed();
  });
  connect(controls_.sldQuality, &QSlider::sliderMoved, this, &ImageOptimize::QualityScrolled);
  connect(controls_.sldSize, &QSlider::sliderMoved, this, &ImageOptimize::SizeScrolled);
  connect(controls_.sldSize, &QSlider::valueChanged, this, &ImageOptimize::SizeChanged);
  connect(chkSize_, &QCheckBox::clicked, this, &ImageOptimize::SizeClicked);
  connect(controls_.chkManualSize, &QCheckBox::clicked, this, &ImageOptimize::ManualSizeClicked);
  connect(controls_.txtSizeX, &QLineEdit::textChanged, this,
          [this] { EditSizeBox(controls_.txtSizeX, controls_.txtSizeY); });
  connect(controls_.txtSizeY, &QLineEdit::textChanged, this,
          [this] { EditSizeBox(controls_.txtSizeY, controls_.txtSizeX); });
  connect(controls_.cmdApplySize, &QPushButton::clicked, this, [this] {
    if (const QString problem = sizing_.BoxProblem(); !problem.isEmpty())
      return (void)MsgBox(this, problem, Dialogs::Exclamation);
    RefreshPreview(false);
  });
  // The size shown includes the metadata, so it is worked out again.
  connect(controls_.chkStripMetadata, &QCheckBox::toggled, this, [this](bool strip) {
    if (!HasPicture()) return;
    session_.SetStripMetadata(strip);
    RefreshPreview(false);
  });
  connect(cmdAdd_, &QPushButton::clicked, this, &ImageOptimize::cmdAdd_Click);
  connect(cmdRemove_, &QPushButton::clicked, this, &ImageOptimize::cmdRemove_Click);
  connect(cmdProp_, &QPushButton::clicked, this, &ImageOptimize::cmdProp_Click);
  connect(lstEffects_, &QListWidget::itemDoubleClicked, this, &ImageOptimize::cmdProp_Click);
  connect(cmdApply_, &QPushButton::clicked, this, &ImageOptimize::cmdApply_Click);
}

void ImageOptimize::ArrangePreviews() {
  const WindowArrangement a = PreviewPlacement::Place(window(), owner_, original_, optimizedView_);
  // The wizard is not moved once the user sees it; before that it goes below the previews.
  if (!window()->isVisible()) PreviewPlacement::MoveOwn(window(), a);
}
