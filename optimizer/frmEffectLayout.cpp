// frmEffect: its controls.
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

#include "browse/ImageView.h"
#include "controls/Named.h"
#include "optimizer/EffectPicture.h"
#include "optimizer/frmEffect.h"

namespace {
constexpr int kPreviewSide = 280;
}  // namespace

void frmEffect::BuildControls() {
  cboEffect_ = Named(new QComboBox, "cboEffect");
  cboEffect_->addItems(EffectCatalog::SortedNames());
  cboEffect_->setCurrentIndex(-1);
  slider_ = Named(new QSlider(Qt::Horizontal), "Slider");
  slider_->setEnabled(false);
  cboEffect_->setAccessibleName(QStringLiteral("Effect"));
  slider_->setAccessibleName(QStringLiteral("Level"));
  sliderText_ = Named(new QLabel(QStringLiteral("Level :")), "SliderText");
  sliderText_->setVisible(false);
  lblLevel_ = Named(new QLabel, "lblLevel");
  lblLevel_->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("-180")) + 6);
  lblLevel_->setVisible(false);
  chkAutoProof_ = Named(new QCheckBox(QStringLiteral("Auto Proof")), "chkAutoProof");
  originalImageView_ = Named(new ImageView, "OriginalImageView");
  effectImageView_ = Named(new EffectPicture, "EffectImageView");
  for (QWidget* view :
       {static_cast<QWidget*>(originalImageView_), static_cast<QWidget*>(effectImageView_)})
    view->setMinimumSize(kPreviewSide, kPreviewSide);
  cmdApply_ = Named(new QPushButton(QStringLiteral("Apply")), "cmdApply");
  cmdOK_ = Named(new QPushButton(QStringLiteral("OK")), "cmdOK");
  cmdCancel_ = Named(new QPushButton(QStringLiteral("Cancel")), "cmdCancel");
  cmdApply_->setEnabled(false);
  cmdOK_->setEnabled(false);
  cmdApply_->setAutoDefault(false);
  cmdOK_->setAutoDefault(false);
  cmdOK_->setDefault(true);  // Enter takes OK once an effect is chosen
  cmdCancel_->setAutoDefault(false);

  auto* grid = new QGridLayout(this);
  auto* top = new QHBoxLayout;
  top->addWidget(Named(new QLabel(QStringLiteral("Effect :")), "Label1"));
  top->addWidget(cboEffect_, 1);
  top->addSpacing(12);
  top->addWidget(sliderText_);
  top->addWidget(slider_, 2);
  top->addWidget(lblLevel_);
  grid->addLayout(top, 0, 0, 1, 2);
  grid->addWidget(originalImageView_, 1, 0);
  grid->addWidget(effectImageView_, 1, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(chkAutoProof_);
  buttons->addStretch(1);
  buttons->addWidget(cmdApply_);
  buttons->addWidget(cmdOK_);
  buttons->addWidget(cmdCancel_);
  grid->addLayout(buttons, 2, 0, 1, 2);
  grid->setRowStretch(1, 1);

  connect(cboEffect_, &QComboBox::activated, this, &frmEffect::EffectPicked);
  connect(slider_, &QSlider::valueChanged, this, &frmEffect::SliderMoved);
  connect(chkAutoProof_, &QCheckBox::clicked, this, [this](bool checked) {
    if (checked) AutoProof();
  });
  connect(originalImageView_, &ImageView::Paint, this, &frmEffect::UpdatePreview);
  connect(cmdApply_, &QPushButton::clicked, this, &frmEffect::cmdApply_Click);
  connect(cmdOK_, &QPushButton::clicked, this, &frmEffect::cmdOK_Click);
  connect(cmdCancel_, &QPushButton::clicked, this, &frmEffect::cmdCancel_Click);
}
