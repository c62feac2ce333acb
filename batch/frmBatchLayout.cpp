// frmBatch: its pages, controls and signals.
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "batch/SlideShow.h"
#include "batch/frmBatch.h"
#include "controls/CommandButton.h"
#include "controls/Named.h"
#include "controls/UserProgress.h"
#include "optimizer/ImageOptimize.h"
#include "optimizer/MakerLink.h"

namespace {

QLabel* Hint(const char* name, const QString& text) {
  QLabel* label = Named(new QLabel(text), name);
  label->setWordWrap(true);
  return label;
}

}  // namespace

QWidget* frmBatch::BuildListPage() {
  auto* page = Named(new QWidget, "Step1");
  auto* grid = new QGridLayout(page);
  lstFiles_ = Named(new QTreeWidget, "lstFiles");
  lstFiles_->setAccessibleName(QStringLiteral("Pictures to process"));
  lstFiles_->setRootIsDecorated(false);
  lstFiles_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  lstFiles_->installEventFilter(this);
  cmdAddFiles_ = Named(new QPushButton(QStringLiteral("Add &file(s)...")), "cmdAddFiles");
  cmdAddDir_ = Named(new QPushButton(QStringLiteral("Add &dir...")), "cmdAddDir");
  cmdRemoveFiles_ = Named(new QPushButton(QStringLiteral("&Remove")), "cmdRemoveFiles");
  ImagePreview_ = new SlideShow(lstFiles_);
  ImagePreview_->setFixedSize(150, 120);
  optFiles_ = Named(new QRadioButton(QStringLiteral("Select image(s)")), "optFiles");
  optDirectory_ =
      Named(new QRadioButton(QStringLiteral("Select directory or drive")), "optDirectory");
  optFiles_->setChecked(true);
  grid->addWidget(
      Hint("Label1",
           QStringLiteral(
               "Add all files and directories you wish to optimize to the process list.")),
      0, 0, 1, 2);
  grid->addWidget(Named(new QLabel(QStringLiteral("Process list :")), "lblProcessList"), 1, 0);
  grid->addWidget(lstFiles_, 2, 0, 6, 1);
  grid->addWidget(cmdAddFiles_, 2, 1);
  grid->addWidget(cmdAddDir_, 3, 1);
  grid->addWidget(cmdRemoveFiles_, 4, 1);
  grid->addWidget(ImagePreview_, 5, 1);
  grid->addWidget(optFiles_, 6, 1);
  grid->addWidget(optDirectory_, 7, 1);
  grid->setRowStretch(7, 1);
  grid->setColumnStretch(0, 1);
  return page;
}

QWidget* frmBatch::BuildOptionsPage() {
  auto* page = Named(new QWidget, "Step2");
  auto* grid = new QGridLayout(page);
  ImageOptimize_ = new ImageOptimize;
  cboImages_ = Named(new QComboBox, "cboImages");
  cboImages_->setAccessibleName(QStringLiteral("View settings with"));
  grid->addWidget(Hint("Label2", QStringLiteral("Set your quality and resizing settings. Then set "
                                                "your output options. When done, click Finish")),
                  0, 0, 1, 2);
  grid->addWidget(Named(new QLabel(QStringLiteral("View settings with :")), "Label3"), 1, 0);
  grid->addWidget(cboImages_, 1, 1);
  grid->addWidget(ImageOptimize_, 2, 0, 1, 2);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(2, 1);
  return page;
}

QWidget* frmBatch::BuildOutputPage() {
  auto* page = Named(new QWidget, "Step3");
  auto* column = new QVBoxLayout(page);
  auto* frame = Named(new QGroupBox(QStringLiteral("Output destination")), "Frame1");
  auto* grid = new QGridLayout(frame);
  optOverwrite_ =
      Named(new QRadioButton(QStringLiteral("Same destination dir (overwrites all the pictures)")),
            "optOverwrite");
  optOtherDir_ = Named(new QRadioButton(QStringLiteral("Other output directory")), "optOtherDir");
  txtOutputDir_ = Named(new QLineEdit, "txtOutputDir");
  cmdBrowseOutputDir_ = Named(new QPushButton(QStringLiteral("Browse...")), "cmdBrowseOutputDir");
  grid->addWidget(optOverwrite_, 0, 0, 1, 2);
  grid->addWidget(optOtherDir_, 1, 0, 1, 2);
  grid->addWidget(txtOutputDir_, 2, 0);
  grid->addWidget(cmdBrowseOutputDir_, 2, 1);
  // Pictures of added folders keep their subfolders below the output folder, so that
  // 2019/a.jpg and 2020/a.jpg stay apart instead of becoming a.jpg and a (2).jpg.
  chkKeepStructure_ =
      Named(new QCheckBox(QStringLiteral("Keep the folder structure")), "chkKeepStructure");
  grid->addWidget(chkKeepStructure_, 3, 0, 1, 2);
  chkKeepStructure_->setEnabled(false);
  connect(optOtherDir_, &QRadioButton::toggled, chkKeepStructure_, &QWidget::setEnabled);
  // What the run does to files it finds in its way, and to pictures it cannot improve.
  auto* safety = Named(new QGroupBox(QStringLiteral("Existing files")), "FrameExisting");
  auto* rows = new QGridLayout(safety);
  cboIfExists_ = Named(new QComboBox, "cboIfExists");
  cboIfExists_->addItems({QStringLiteral("Number the new file: \"a (2).jpg\""),
                          QStringLiteral("Replace it"), QStringLiteral("Skip the picture")});
  rows->addWidget(
      Named(new QLabel(QStringLiteral("When another file has the output name:")), "lblIfExists"), 0,
      0);
  rows->addWidget(cboIfExists_, 0, 1);
  chkKeepSmaller_ = Named(
      new QCheckBox(QStringLiteral("Keep a JPEG as it is when the result would not be smaller")),
      "chkKeepSmaller");
  chkKeepDates_ = Named(new QCheckBox(QStringLiteral("Keep file dates")), "chkKeepDates");
  rows->addWidget(chkKeepSmaller_, 1, 0, 1, 2);
  rows->addWidget(chkKeepDates_, 2, 0, 1, 2);
  rows->setColumnStretch(1, 1);
  column->addWidget(
      Named(new QLabel(QStringLiteral("Select your output destination")), "lblOutputDest"));
  column->addWidget(frame);
  column->addWidget(safety);
  column->addStretch(1);
  return page;
}

QWidget* frmBatch::BuildRunPage() {
  auto* page = Named(new QWidget, "StepFinish");
  auto* column = new QVBoxLayout(page);
  ProgressBar_ = Named(new UserProgress, "ProgressBar");
  ProgressBar_->UseDesktopColours();
  ProgressBar_->setFixedHeight(24);
  txtProgress_ = Named(new QPlainTextEdit, "txtProgress");
  txtProgress_->setReadOnly(true);
  txtProgress_->setAccessibleName(QStringLiteral("Progress report"));
  // Lines wrap: a long path, or the note on a renamed output, stays readable without
  // scrolling sideways.
  txtProgress_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  lblCompression_ = Named(new QLabel(QStringLiteral("Compression ratio")), "lblCompression");
  column->addWidget(ProgressBar_);
  column->addWidget(txtProgress_, 1);
  // The figure is the output's size as a share of the input's; the options page shows the
  // share saved, so each says which it is.
  auto* ratioRow = new QHBoxLayout;
  ratioRow->addWidget(lblCompression_);
  ratioRow->addWidget(Named(new QLabel(QStringLiteral("(output size as a share of input size)")),
                            "lblRatioMeaning"),
                      1);
  column->addLayout(ratioRow);
  return page;
}

void frmBatch::BuildControls() {
  auto* pages = new QGridLayout;
  Step1_ = BuildListPage();
  Step2_ = BuildOptionsPage();
  Step3_ = BuildOutputPage();
  StepFinish_ = BuildRunPage();
  for (QWidget* page : {Step1_, Step2_, Step3_, StepFinish_}) pages->addWidget(page, 0, 0);

  cmdBack_ = Named(new QPushButton(QStringLiteral("<< Back")), "cmdBack");
  cmdNext_ = Named(new QPushButton(QStringLiteral("Next >>")), "cmdNext");
  cmdFinish_ = Named(new QPushButton(QStringLiteral("Finish")), "cmdFinish");
  cmdClose_ = Named(new QPushButton(QStringLiteral("Close")), "cmdClose");
  cmdCancel_ = Named(new QPushButton(QStringLiteral("Cancel")), "cmdCancel");
  cmdHelp_ = Named(new QPushButton(QStringLiteral("Help")), "cmdHelp");
  cmdLink_ = MakerLink::Create(font());
  auto* buttonRow = new QHBoxLayout;
  buttonRow->addWidget(cmdLink_);
  buttonRow->addWidget(cmdHelp_);
  buttonRow->addStretch(1);
  for (QPushButton* b : {cmdBack_, cmdNext_, cmdFinish_, cmdClose_, cmdCancel_})
    buttonRow->addWidget(b);

  auto* column = new QVBoxLayout(this);
  column->addLayout(pages, 1);
  column->addLayout(buttonRow);
  resize(560, 420);
}
