// frmBatch: the run: every listed picture through the options panel's settings, reported in
// list order while worker processes do the pictures side by side.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QThread>
#include <QTreeWidget>

#include "batch/BatchInputs.h"
#include "batch/BatchRunner.h"
#include "batch/ExistingOutput.h"
#include "batch/InputCheck.h"
#include "batch/ProgressText.h"
#include "batch/frmBatch.h"
#include "controls/UserProgress.h"
#include "engine/SafeFile.h"
#include "optimizer/ImageOptimize.h"
#include "optimizer/OptionSliders.h"
#include "settings/clsLanguage.h"
#include "settings/clsReg.h"

bool frmBatch::Running() const { return runner_ && runner_->Running(); }

void frmBatch::AddProgressLine(const QString& text) {
  txtProgress_->setPlainText(ProgressText::Append(txtProgress_->toPlainText(), text));
  txtProgress_->moveCursor(QTextCursor::End);
  txtProgress_->verticalScrollBar()->setValue(txtProgress_->verticalScrollBar()->maximum());
}

void frmBatch::StartRun() {
  ImageOptimize_->HideForms();
  page_ = kRunPage;
  SetVisible();
  totals_ = BatchTotals();
  cmdBack_->setEnabled(false);
  cmdClose_->setEnabled(false);

  // Every output name is decided before any picture is written, so that no two entries of
  // the run write the same file and none overwrites another entry's source.
  const bool otherDir = optOtherDir_->isChecked();
  runSources_.clear();
  QStringList roots;
  for (int i = 0; i < lstFiles_->topLevelItemCount(); ++i) {
    const QString source = lstFiles_->topLevelItem(i)->data(0, Qt::UserRole).toString();
    const QString root = lstFiles_->topLevelItem(i)->data(0, kRootRole).toString();
    // What an earlier run wrote into an output folder inside a listed folder is not input.
    if (otherDir && BatchInputs::InOutputFolder(source, root, txtOutputDir_->text())) continue;
    runSources_ << source;
    roots << root;
  }
  const int count = int(runSources_.size());
  ProgressBar_->SetMin(0);
  ProgressBar_->SetMax(count);
  ProgressBar_->SetValue(0);
  BatchNaming::Request request;
  request.mode = otherDir ? BatchNaming::Mode::kOtherDir : BatchNaming::Mode::kOverwrite;
  request.outputDir = txtOutputDir_->text();
  request.foldCase = otherDir && ExistingOutput::FoldsCase(request.outputDir);
  const bool keep = otherDir && chkKeepStructure_->isChecked();
  if (keep) request.roots = roots;
  // A file already at an output name that is not the picture itself is numbered, replaced
  // or skipped as the output page says.
  const ExistingOutput::Rule rules[] = {
      ExistingOutput::Rule::kNumber, ExistingOutput::Rule::kReplace, ExistingOutput::Rule::kSkip};
  runPlan_ = ExistingOutput::Plan(runSources_, request,
                                  rules[std::clamp(cboIfExists_->currentIndex(), 0, 2)]);
  runRefused_.assign(std::size_t(count), QString());
  std::vector<BatchRunner::Item> items;
  for (int i = 0; i < count; ++i) {
    const BatchNaming::Output& out = runPlan_[std::size_t(i)];
    // What stands in the way is told before any decoding; the picture is not started.
    QString& refused = runRefused_[std::size_t(i)];
    if (!out.skip && QFileInfo::exists(runSources_[i])) {
      refused = InputCheck::Picture(runSources_[i]);
      if (refused.isEmpty()) refused = InputCheck::Destination(out.dest);
    }
    // The kept subfolders are made before the workers write into them; one that cannot
    // be made fails its pictures' writes with the reason.
    if (keep && !out.skip && refused.isEmpty()) QDir().mkpath(QFileInfo(out.dest).path());
    items.push_back({runSources_[i], out.dest, out.skip || !refused.isEmpty()});
  }
  BatchOptions options = ImageOptimize_->Options();
  options.allowLarger = !chkKeepSmaller_->isChecked();
  options.keepDates = chkKeepDates_->isChecked();
  runSearchesQuality_ = options.autoQuality != AutoQuality::Level::kOff || options.maxBytes > 0;

  delete runner_;
  runner_ = new BatchRunner(this);
  if (!workerProgram_.isEmpty()) runner_->SetWorkerProgram(workerProgram_);
  connect(runner_, &BatchRunner::ItemStarting, this, &frmBatch::RunItemStarting);
  connect(runner_, &BatchRunner::ItemFinished, this, &frmBatch::RunItemFinished);
  connect(runner_, &BatchRunner::Finished, this, &frmBatch::RunEnded);
  // The options are taken once, as plain values: the run never looks at the controls again.
  runner_->Start(items, options, workers_);
  if (cancel_) runner_->Cancel();
}

void frmBatch::RunItemStarting(int index) {
  const BatchNaming::Output& out = runPlan_[std::size_t(index)];
  QString line = Language().GetString(QStringLiteral("OptSav")) + QStringLiteral(" '") +
                 runSources_[index] + QLatin1Char('\'');
  const QString plain =
      BatchNaming::OwnName(QFileInfo(runSources_[index]).fileName(), QStringList(), false);
  if (out.Numbered())
    line += QStringLiteral(" as '%1' ('%2' is another picture's)").arg(out.dest, out.wanted);
  else if (QFileInfo(out.dest).fileName() != plain)  // a name told apart by its format
    line += QStringLiteral(" as '%1'").arg(out.dest);
  AddProgressLine(line);
}

void frmBatch::RunItemFinished(int index, const BatchJob::Result& r, bool skipped) {
  using Outcome = BatchTotals::Outcome;
  if (const QString& refused = runRefused_[std::size_t(index)]; !refused.isEmpty()) {
    AddProgressLine(QStringLiteral("Failed '%1': %2").arg(runSources_[index], refused));
    totals_.Count(Outcome::kFailed);
  } else if (skipped) {
    if (runPlan_[std::size_t(index)].skip)
      AddProgressLine(QStringLiteral("Skipped '%1': '%2' exists")
                          .arg(runSources_[index], runPlan_[std::size_t(index)].dest));
    // A vanished file is passed over quietly; one whose name cannot be opened is named.
    else if (SafeFile::NameUnreadable(runSources_[index]))
      AddProgressLine(QStringLiteral("    skipped: ") + r.reason);
    totals_.Count(Outcome::kSkipped);
  }
  if (!skipped && !r.ok) {
    AddProgressLine(QStringLiteral("    failed: ") + r.reason);
    totals_.Count(Outcome::kFailed);
  }
  if (!skipped && r.ok) {
    totals_.Count(r.kept ? Outcome::kKept : Outcome::kWritten);
    if (!r.reason.isEmpty())
      AddProgressLine((r.kept ? QStringLiteral("    kept: ") : QStringLiteral("    warning: ")) +
                      r.reason);
    if (!r.kept && r.lossless)
      AddProgressLine(ProgressText::kLosslessLine);
    else if (!r.kept && runSearchesQuality_ && r.quality > 0)
      AddProgressLine(ProgressText::kQualityLinePrefix + OptionSliders::QualityText(r.quality));
    totals_.Add(r.bytesBefore, r.bytesAfter);
    const QString ratio = totals_.CompressionText();
    if (!ratio.isEmpty()) lblCompression_->setText(ratio);
  }
  // As in a one-at-a-time run, the bar stops at the last picture finished before Cancel.
  if (!cancel_) ProgressBar_->SetValue(index + 1);
}

void frmBatch::RunEnded() {
  if (optOtherDir_->isChecked())
    Registry().WriteRegDir(QStringLiteral("BrowseDir"), txtOutputDir_->text());
  AddProgressLine(totals_.SummaryLine());
  if (cancel_) {
    // A stopped run says so, and what it left undone.
    const int total = int(runSources_.size());
    const int written = totals_.Counted(BatchTotals::Outcome::kWritten);
    AddProgressLine(QStringLiteral("Stopped by Cancel: %1 of %2 pictures written, %3 not written")
                        .arg(written)
                        .arg(total)
                        .arg(total - written));
  }
  cmdCancel_->setEnabled(false);
  cmdClose_->setEnabled(true);
  QApplication::beep();
  emit RunFinished();
}
