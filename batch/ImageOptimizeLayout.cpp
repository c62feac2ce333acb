// ImageOptimize: its tabs, controls and signals, and where the previews go.
#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>

#include "ImageOptimize.h"
#include "OptionSliders.h"
#include "SliderDrag.h"
#include "WindowArrangement.h"
#include "frmPicturePreview.h"
#include "modModal.h"

namespace {

template <typename T>
T* Named(T* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

QLabel* Caption(const char* name, const QString& text) { return Named(new QLabel(text), name); }

}  // namespace

void ImageOptimize::BuildControls() {
  SSTab_ = Named(new QTabWidget(this), "SSTab");
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->addWidget(SSTab_);

  auto* quality = new QWidget;
  auto* qualityGrid = new QGridLayout(quality);
  sldQuality_ = Named(new QSlider, "sldQuality");
  OptionSliders::SetUpQuality(sldQuality_);
  lblQuality_ = Caption("lblQuality", OptionSliders::QualityText(OptionSliders::kQualityDefault));
  lblQuality_->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("100%")) + 8);
  qualityGrid->addWidget(Caption("Label1", QStringLiteral("Quality :")), 0, 0);
  qualityGrid->addWidget(sldQuality_, 0, 1);
  qualityGrid->addWidget(lblQuality_, 0, 2);
  auto* stats = Named(new QGroupBox(QStringLiteral("Image statistics")), "Frame2");
  auto* statsGrid = new QGridLayout(stats);
  txtOriginalSize_ = Caption("txtOriginalSize", QString());
  txtOriginalDimensions_ = Caption("txtOriginalDimensions", QString());
  txtOptimizedSize_ = Caption("txtOptimizedSize", QString());
  txtOptimizedDimensions_ = Caption("txtOptimizedDimensions", QString());
  txtCompression_ = Caption("txtCompression", QString());
  statsGrid->addWidget(Caption("lblOriginal", QStringLiteral("Original :")), 0, 0);
  statsGrid->addWidget(txtOriginalSize_, 0, 1);
  statsGrid->addWidget(txtOriginalDimensions_, 0, 2);
  statsGrid->addWidget(Caption("lblOptimized", QStringLiteral("Optimized :")), 1, 0);
  statsGrid->addWidget(txtOptimizedSize_, 1, 1);
  statsGrid->addWidget(txtOptimizedDimensions_, 1, 2);
  statsGrid->addWidget(Caption("lblFileCompression", QStringLiteral("File compression :")), 2, 0);
  statsGrid->addWidget(txtCompression_, 2, 1, 1, 2);
  statsGrid->setColumnStretch(1, 1);
  statsGrid->setColumnStretch(2, 1);
  qualityGrid->addWidget(stats, 1, 0, 1, 3);
  qualityGrid->setRowStretch(2, 1);
  SSTab_->addTab(quality, QStringLiteral("Quality"));

  auto* size = new QWidget;
  auto* sizeGrid = new QGridLayout(size);
  lblTabSize_ = Caption("lblTabSize", QStringLiteral("Size :"));
  sldSize_ = Named(new QSlider, "sldSize");
  OptionSliders::SetUpScale(sldSize_);
  lblSize_ = Caption("lblSize", OptionSliders::ScaleText(OptionSliders::kScaleDefault));
  lblSize_->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("500%")) + 8);
  sizeGrid->addWidget(lblTabSize_, 0, 0);
  sizeGrid->addWidget(sldSize_, 0, 1);
  sizeGrid->addWidget(lblSize_, 0, 2);
  auto* frame = Named(new QGroupBox, "Frame1");
  auto* frameGrid = new QGridLayout(frame);
  chkManualSize_ = Named(new QCheckBox(QStringLiteral("Manual sizing")), "chkManualSize");
  txtWidth_ = Caption("txtWidth", QStringLiteral("Width"));
  txtHeight_ = Caption("txtHeight", QStringLiteral("Height"));
  txtSizeX_ = Named(new QLineEdit, "txtSizeX");
  txtSizeY_ = Named(new QLineEdit, "txtSizeY");
  for (QLineEdit* box : {txtSizeX_, txtSizeY_}) {
    box->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 12);
    box->installEventFilter(this);
  }
  chkMaintain_ = Named(new QCheckBox(QStringLiteral("Maintain aspect ratio")), "chkMaintain");
  cmdApplySize_ = Named(new QPushButton(QStringLiteral("Apply")), "cmdApplySize");
  frameGrid->addWidget(chkManualSize_, 0, 0, 1, 2);
  frameGrid->addWidget(chkMaintain_, 0, 2, 1, 3);
  frameGrid->addWidget(txtWidth_, 1, 0);
  frameGrid->addWidget(txtSizeX_, 1, 1);
  frameGrid->addWidget(txtHeight_, 1, 2);
  frameGrid->addWidget(txtSizeY_, 1, 3);
  frameGrid->addWidget(cmdApplySize_, 1, 4);
  sizeGrid->addWidget(frame, 1, 0, 1, 3);
  sizeGrid->setRowStretch(2, 1);
  // The tab's caption leaves room for the check box drawn on its header.
  SSTab_->addTab(size, QStringLiteral("     Size"));
  chkSize_ = Named(new QCheckBox, "chkSize");
  SSTab_->tabBar()->setTabButton(1, QTabBar::LeftSide, chkSize_);

  auto* effects = new QWidget;
  auto* effectsGrid = new QGridLayout(effects);
  lstEffects_ = Named(new QListWidget, "lstEffects");
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
  drag_->Watch(sldQuality_);
  drag_->Watch(sldSize_);
  connect(drag_, &SliderDrag::MouseUp, this, &ImageOptimize::SliderMouseUp);
  connect(sldQuality_, &QSlider::valueChanged, this, [this] {
    lblQuality_->setText(OptionSliders::QualityText(sldQuality_->sliderPosition()));
  });
  connect(sldQuality_, &QSlider::sliderMoved, this, &ImageOptimize::QualityScrolled);
  connect(sldSize_, &QSlider::sliderMoved, this, &ImageOptimize::SizeScrolled);
  connect(sldSize_, &QSlider::valueChanged, this, &ImageOptimize::SizeChanged);
  connect(chkSize_, &QCheckBox::clicked, this, &ImageOptimize::SizeClicked);
  connect(chkManualSize_, &QCheckBox::clicked, this, &ImageOptimize::ManualSizeClicked);
  connect(txtSizeX_, &QLineEdit::textChanged, this, [this] { EditSizeBox(txtSizeX_, txtSizeY_); });
  connect(txtSizeY_, &QLineEdit::textChanged, this, [this] { EditSizeBox(txtSizeY_, txtSizeX_); });
  connect(cmdApplySize_, &QPushButton::clicked, this, [this] { RefreshPreview(false); });
  connect(cmdAdd_, &QPushButton::clicked, this, &ImageOptimize::cmdAdd_Click);
  connect(cmdRemove_, &QPushButton::clicked, this, &ImageOptimize::cmdRemove_Click);
  connect(cmdProp_, &QPushButton::clicked, this, &ImageOptimize::cmdProp_Click);
  connect(lstEffects_, &QListWidget::itemDoubleClicked, this, &ImageOptimize::cmdProp_Click);
  connect(cmdApply_, &QPushButton::clicked, this, &ImageOptimize::cmdApply_Click);
}

void ImageOptimize::ArrangePreviews() {
  QRect reference;
  for (QWidget* w : modModal::OpenForms())
    if (w->objectName() == QLatin1String(modModal::kMainWindowName)) reference = w->frameGeometry();
  if (reference.isNull()) {
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    reference = s ? s->availableGeometry() : QRect(0, 0, 1024, 768);
  }
  const WindowArrangement a = WindowArrangement::Compute(
      reference, original_->frameGeometry().size(), window()->frameGeometry().size());
  const auto place = [](frmPicturePreview* preview, QPoint at, QRect area) {
    preview->move(at);
    const QSize extra = preview->frameGeometry().size() - preview->size();
    const QSize frame = preview->frameGeometry().size().boundedTo(area.size());
    if (frame != preview->frameGeometry().size()) preview->resize(frame - extra);
  };
  place(original_, a.original, a.originalArea);
  place(optimizedView_, a.optimized, a.optimizedArea);
  // The wizard is not moved once the user sees it; before that it goes below the previews.
  if (!window()->isVisible()) window()->move(window()->frameGeometry().left(), a.ownTop);
}
