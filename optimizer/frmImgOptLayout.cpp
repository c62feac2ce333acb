// frmImgOpt: its controls, their signals and the arrangement of the windows.
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSlider>

#include "browse/frmPicturePreview.h"
#include "controls/CommandButton.h"
#include "controls/Dialogs.h"
#include "controls/Named.h"
#include "engine/clsImage.h"
#include "optimizer/AutoQualityButton.h"
#include "optimizer/MakerLink.h"
#include "optimizer/PendingRoundTrip.h"
#include "optimizer/PreviewPlacement.h"
#include "optimizer/SliderDrag.h"
#include "optimizer/TextButton.h"
#include "optimizer/frmImgOpt.h"

void frmImgOpt::BuildControls() {
  controls_ = OptionControls::Build({.qualityCaption = "lblQualityCaption",
                                     .qualityText = QStringLiteral("70%"),
                                     .scaleCaption = "lblScale",
                                     .scaleCaptionText = QStringLiteral("Scale Images"),
                                     .applySize = "cmdApply",
                                     .statistics = "fraStatistics",
                                     .compressionCaption = "lblCompression"},
                                    fontMetrics());
  const OptionControls& c = controls_;

  auto* quality = Named(new QGroupBox(QStringLiteral("JPEG quality")), "fraQuality");
  auto* qualityRow = new QHBoxLayout(quality);
  qualityRow->addWidget(c.lblQualityCaption);
  qualityRow->addWidget(c.sldQuality, 1);
  qualityRow->addWidget(c.lblQuality);
  cmdAutoQuality_ = new AutoQualityButton(c.sldQuality, [this] { return PictureAsSaved(); });
  qualityRow->addWidget(cmdAutoQuality_);

  auto* size = Named(new QGroupBox(QStringLiteral("Image size")), "fraSize");
  auto* sizeGrid = new QGridLayout(size);
  sizeGrid->addWidget(c.lblScale, 0, 0);
  sizeGrid->addWidget(c.sldSize, 0, 1, 1, 4);
  sizeGrid->addWidget(c.lblSize, 0, 5);
  sizeGrid->addWidget(c.chkManualSize, 1, 0, 1, 2);
  sizeGrid->addWidget(c.chkMaintain, 1, 2, 1, 4);
  sizeGrid->addWidget(c.txtWidth, 2, 0);
  sizeGrid->addWidget(c.txtSizeX, 2, 1);
  sizeGrid->addWidget(c.txtHeight, 2, 2);
  sizeGrid->addWidget(c.txtSizeY, 2, 3);
  sizeGrid->addWidget(c.cmdApplySize, 2, 4, 1, 2);

  cmdEffects_ = Named(new TextButton(QStringLiteral("Image Effects")), "cmdEffects");
  cmdReset_ = Named(new TextButton(QStringLiteral("Undo all changes")), "cmdReset");
  cmdSave_ = Named(new TextButton(QStringLiteral("Save Image")), "cmdSave");
  cmdSaveAs_ = Named(new TextButton(QStringLiteral("Save Image as...")), "cmdSaveAs");
  cmdHelp_ = Named(new TextButton(QStringLiteral("Help")), "cmdHelp");
  cmdShowPreviews_ = Named(new TextButton(QStringLiteral("Show previews")), "cmdShowPreviews");
  chkLinkPreviews_ = Named(new QCheckBox(QStringLiteral("Link zoom and scrolling of the previews")),
                           "chkLinkPreviews");
  chkLinkPreviews_->setChecked(true);
  cmdLink_ = MakerLink::Create(font());
  cmdLink_->setToolTip(QString::fromLatin1(kWebAddress));

  auto* commands = new QGridLayout;
  commands->addWidget(cmdEffects_, 0, 0);
  commands->addWidget(cmdReset_, 0, 1);
  commands->addWidget(cmdSave_, 1, 0);
  commands->addWidget(cmdSaveAs_, 1, 1);
  commands->addWidget(cmdHelp_, 0, 2);
  commands->addWidget(cmdLink_, 1, 2);
  commands->addWidget(cmdShowPreviews_, 2, 0);
  commands->addWidget(chkLinkPreviews_, 2, 1, 1, 2);

  // The window takes its size from its contents: room for the longest figure from the start,
  // so that the note of a larger file does not widen it under the pointer.
  c.txtOptimizedSize->setMinimumWidth(c.txtOptimizedSize->fontMetrics().horizontalAdvance(
      QStringLiteral("9999.9 Kb (LARGER than the original)")));
  auto* column = new QVBoxLayout(this);
  column->addWidget(quality);
  column->addWidget(size);
  column->addWidget(c.fraStatistics);
  column->addWidget(c.chkStripMetadata);
  column->addWidget(c.fraFile);
  column->addLayout(commands);
  column->setSizeConstraint(QLayout::SetFixedSize);
  // Tab follows the rows as they read; the command grid was filled column-wise.
  const QList<QWidget*> order = {
      c.sldQuality,   c.sldSize,          c.chkManualSize,  c.chkMaintain, c.txtSizeX,  c.txtSizeY,
      c.cmdApplySize, c.chkStripMetadata, c.chkProgressive, c.txtMaxSize,  cmdEffects_, cmdReset_,
      cmdHelp_,       cmdSave_,           cmdSaveAs_,       cmdLink_};
  for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
  setTabOrder(c.sldQuality, cmdAutoQuality_);
}

void frmImgOpt::BindKeys() {
  // A key does what its button does, and only while the button can.
  const auto bind = [this](const QKeySequence& keys, CommandButton* button) {
    connect(new QShortcut(keys, this), &QShortcut::activated, button, [button] {
      if (button->isEnabled()) button->Activate();
    });
    // Shown where the pointer rests on the button, so that the key can be learnt.
    const QString key = keys.toString(QKeySequence::NativeText);
    const QString tip = button->toolTip();
    button->setToolTip(tip.isEmpty() ? key : tip + QStringLiteral(" (") + key + QLatin1Char(')'));
  };
  bind(QKeySequence(Qt::CTRL | Qt::Key_S), cmdSave_);
  bind(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), cmdSaveAs_);
  bind(QKeySequence(Qt::Key_F1), cmdHelp_);
  // Esc leaves as the title bar's close does, with its "Save image?" question.
  connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
          &QWidget::close);
}

void frmImgOpt::ConnectControls() {
  drag_->Watch(controls_.sldQuality);
  drag_->Watch(controls_.sldSize);
  connect(drag_, &SliderDrag::MouseUp, this, &frmImgOpt::SliderMouseUp);
  roundTrip_ = new PendingRoundTrip(this, [this] { UpdateScaledImage(); });
  dragTrips_ = new DragRoundTrips(
      this, [this](DragRoundTrips::Result result) { DragRoundTripArrived(std::move(result)); });
  roundTrip_->Watch(controls_.sldQuality);
  roundTrip_->Watch(controls_.sldSize);
  connect(controls_.sldQuality, &QSlider::sliderMoved, this, &frmImgOpt::QualityScrolled);
  connect(controls_.sldQuality, &QSlider::valueChanged, this, &frmImgOpt::QualityChanged);
  connect(controls_.sldSize, &QSlider::sliderMoved, this, &frmImgOpt::SizeScrolled);
  connect(controls_.sldSize, &QSlider::valueChanged, this, &frmImgOpt::SizeChanged);
  connect(controls_.chkManualSize, &QCheckBox::clicked, this, &frmImgOpt::ManualSizeClicked);
  // The size shown includes the metadata, so it is worked out again.
  connect(controls_.chkStripMetadata, &QCheckBox::toggled, this, [this](bool strip) {
    if (!HasPicture()) return;
    dragTrips_->Quiet();  // no round trip may read the picture while it changes
    session_.SetStripMetadata(strip);
    OptimizeWithImage(session_.Working());
  });
  connect(controls_.txtSizeX, &QLineEdit::textChanged, this,
          [this] { EditSizeBox(controls_.txtSizeX, controls_.txtSizeY, true); });
  connect(controls_.txtSizeY, &QLineEdit::textChanged, this,
          [this] { EditSizeBox(controls_.txtSizeY, controls_.txtSizeX, false); });
  connect(controls_.chkMaintain, &QCheckBox::clicked, this,
          [this] { EditSizeBox(controls_.txtSizeX, controls_.txtSizeY, true); });
  connect(controls_.cmdApplySize, &QPushButton::clicked, this, [this] {
    if (const QString problem = sizing_.BoxProblem(); !problem.isEmpty())
      return (void)MsgBox(this, problem, Dialogs::Exclamation);
    UpdateScaledImage();
  });
  connect(cmdSave_, &CommandButton::Click, this, [this] { SaveAs(fileName_); });
  connect(cmdSaveAs_, &CommandButton::Click, this, &frmImgOpt::cmdSaveAs_Click);
  connect(cmdReset_, &CommandButton::Click, this, &frmImgOpt::Reset);
  connect(cmdEffects_, &CommandButton::Click, this, &frmImgOpt::ShowEffectsMenu);
}

void frmImgOpt::ArrangeWindows() {
  for (frmPicturePreview* p : {original_, optimizedView_})
    p->setWindowState(p->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
  adjustSize();
  const WindowArrangement a = PreviewPlacement::Place(this, owner_, original_, optimizedView_);
  // A place the user chose before is kept; the previews still go where they belong.
  if (!placeRemembered_) PreviewPlacement::MoveOwn(this, a);
}
