// frmImgOpt: its controls, their signals and the arrangement of the windows.
#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSlider>

#include "CommandButton.h"
#include "OptionSliders.h"
#include "SliderDrag.h"
#include "TextButton.h"
#include "WindowArrangement.h"
#include "frmImgOpt.h"
#include "frmPicturePreview.h"
#include "modModal.h"

namespace {

template <typename T>
T* Named(T* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

QLabel* Caption(const char* name, const QString& text) { return Named(new QLabel(text), name); }

// The maker's logo for cmdLink: the product name on the maker's blue.
QPixmap Logo(const QFont& base) {
  QFont font = base;
  font.setBold(true);
  font.setItalic(true);
  const QFontMetrics metrics(font);
  const QString text = QStringLiteral("Norvale");
  QPixmap logo(metrics.horizontalAdvance(text) + 16, metrics.height() + 8);
  logo.fill(QColor(0x1f, 0x4e, 0x96));
  QPainter dc(&logo);
  dc.setFont(font);
  dc.setPen(Qt::white);
  dc.drawText(logo.rect(), Qt::AlignCenter, text);
  return logo;
}

}  // namespace

void frmImgOpt::BuildControls() {
  auto* quality = Named(new QGroupBox(QStringLiteral("JPEG quality")), "fraQuality");
  auto* qualityRow = new QHBoxLayout(quality);
  sldQuality_ = Named(new QSlider, "sldQuality");
  OptionSliders::SetUpQuality(sldQuality_);
  lblQuality_ = Caption("lblQuality", QStringLiteral("70%"));
  lblQuality_->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("100%")) + 8);
  qualityRow->addWidget(Caption("lblQualityCaption", QStringLiteral("Quality :")));
  qualityRow->addWidget(sldQuality_, 1);
  qualityRow->addWidget(lblQuality_);

  auto* size = Named(new QGroupBox(QStringLiteral("Image size")), "fraSize");
  auto* sizeGrid = new QGridLayout(size);
  lblScale_ = Caption("lblScale", QStringLiteral("Scale Images"));
  sldSize_ = Named(new QSlider, "sldSize");
  OptionSliders::SetUpScale(sldSize_);
  lblSize_ = Caption("lblSize", QStringLiteral("100%"));
  lblSize_->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("500%")) + 8);
  chkManualSize_ = Named(new QCheckBox(QStringLiteral("Manual sizing")), "chkManualSize");
  txtWidth_ = Caption("txtWidth", QStringLiteral("Width"));
  txtHeight_ = Caption("txtHeight", QStringLiteral("Height"));
  txtSizeX_ = Named(new QLineEdit, "txtSizeX");
  txtSizeY_ = Named(new QLineEdit, "txtSizeY");
  for (QLineEdit* box : {txtSizeX_, txtSizeY_})
    box->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 12);
  chkMaintain_ = Named(new QCheckBox(QStringLiteral("Maintain aspect ratio")), "chkMaintain");
  cmdApply_ = Named(new QPushButton(QStringLiteral("Apply")), "cmdApply");
  sizeGrid->addWidget(lblScale_, 0, 0);
  sizeGrid->addWidget(sldSize_, 0, 1, 1, 4);
  sizeGrid->addWidget(lblSize_, 0, 5);
  sizeGrid->addWidget(chkManualSize_, 1, 0, 1, 2);
  sizeGrid->addWidget(chkMaintain_, 1, 2, 1, 4);
  sizeGrid->addWidget(txtWidth_, 2, 0);
  sizeGrid->addWidget(txtSizeX_, 2, 1);
  sizeGrid->addWidget(txtHeight_, 2, 2);
  sizeGrid->addWidget(txtSizeY_, 2, 3);
  sizeGrid->addWidget(cmdApply_, 2, 4, 1, 2);

  auto* stats = Named(new QGroupBox(QStringLiteral("Image statistics")), "fraStatistics");
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
  statsGrid->addWidget(Caption("lblCompression", QStringLiteral("File compression :")), 2, 0);
  statsGrid->addWidget(txtCompression_, 2, 1, 1, 2);
  statsGrid->setColumnStretch(1, 1);
  statsGrid->setColumnStretch(2, 1);

  cmdEffects_ = Named(new TextButton(QStringLiteral("Image Effects")), "cmdEffects");
  cmdReset_ = Named(new TextButton(QStringLiteral("Undo all changes")), "cmdReset");
  cmdSave_ = Named(new TextButton(QStringLiteral("Save Image")), "cmdSave");
  cmdSaveAs_ = Named(new TextButton(QStringLiteral("Save Image as...")), "cmdSaveAs");
  cmdHelp_ = Named(new TextButton(QStringLiteral("Help")), "cmdHelp");
  cmdLink_ = Named(new CommandButton, "cmdLink");
  cmdLink_->SetPicture(Logo(font()));
  cmdLink_->SetHideBorder(true);
  cmdLink_->setCursor(Qt::PointingHandCursor);
  cmdLink_->setToolTip(QString::fromLatin1(kWebAddress));

  auto* commands = new QGridLayout;
  commands->addWidget(cmdEffects_, 0, 0);
  commands->addWidget(cmdReset_, 0, 1);
  commands->addWidget(cmdSave_, 1, 0);
  commands->addWidget(cmdSaveAs_, 1, 1);
  commands->addWidget(cmdHelp_, 0, 2);
  commands->addWidget(cmdLink_, 1, 2);

  auto* column = new QVBoxLayout(this);
  column->addWidget(quality);
  column->addWidget(size);
  column->addWidget(stats);
  column->addLayout(commands);
  column->setSizeConstraint(QLayout::SetFixedSize);
}

void frmImgOpt::ConnectControls() {
  drag_->Watch(sldQuality_);
  drag_->Watch(sldSize_);
  connect(drag_, &SliderDrag::MouseUp, this, &frmImgOpt::SliderMouseUp);
  connect(sldQuality_, &QSlider::sliderMoved, this, &frmImgOpt::QualityScrolled);
  connect(sldQuality_, &QSlider::valueChanged, this, &frmImgOpt::QualityChanged);
  connect(sldSize_, &QSlider::sliderMoved, this, &frmImgOpt::SizeScrolled);
  connect(sldSize_, &QSlider::valueChanged, this, &frmImgOpt::SizeChanged);
  connect(chkManualSize_, &QCheckBox::clicked, this, &frmImgOpt::ManualSizeClicked);
  connect(txtSizeX_, &QLineEdit::textChanged, this,
          [this] { EditSizeBox(txtSizeX_, txtSizeY_, true); });
  connect(txtSizeY_, &QLineEdit::textChanged, this,
          [this] { EditSizeBox(txtSizeY_, txtSizeX_, false); });
  connect(chkMaintain_, &QCheckBox::clicked, this,
          [this] { EditSizeBox(txtSizeX_, txtSizeY_, true); });
  connect(cmdApply_, &QPushButton::clicked, this, &frmImgOpt::UpdateScaledImage);
  connect(cmdSave_, &CommandButton::Click, this, [this] { SaveAs(fileName_); });
  connect(cmdSaveAs_, &CommandButton::Click, this, &frmImgOpt::cmdSaveAs_Click);
  connect(cmdReset_, &CommandButton::Click, this, &frmImgOpt::Reset);
  connect(cmdEffects_, &CommandButton::Click, this, &frmImgOpt::ShowEffectsMenu);
}

void frmImgOpt::ArrangeWindows() {
  QRect reference;
  const auto forms = modModal::OpenForms();
  for (QWidget* w : forms)
    if (w->objectName() == QLatin1String(modModal::kMainWindowName)) reference = w->frameGeometry();
  if (reference.isNull()) {
    // The screen less its panels, so that no window starts under a task bar.
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    reference = s ? s->availableGeometry() : QRect(0, 0, 1024, 768);
  }
  for (frmPicturePreview* p : {original_, optimizedView_})
    p->setWindowState(p->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
  adjustSize();
  const WindowArrangement a = WindowArrangement::Compute(
      reference, original_->frameGeometry().size(), frameGeometry().size());
  const auto place = [](frmPicturePreview* preview, QPoint at, QRect area) {
    preview->move(at);
    const QSize extra = preview->frameGeometry().size() - preview->size();
    const QSize frame = preview->frameGeometry().size().boundedTo(area.size());
    if (frame != preview->frameGeometry().size()) preview->resize(frame - extra);
  };
  place(original_, a.original, a.originalArea);
  place(optimizedView_, a.optimized, a.optimizedArea);
  move(frameGeometry().left(), a.ownTop);
}
