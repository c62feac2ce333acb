// frmBatch: the run: every listed picture through the options panel's settings, reported in
// list order while worker processes do the pictures side by side.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTreeWidget>

#include "batch/frmBatch.h"
#include "controls/UserProgress.h"
#include "core/BatchInputs.h"
#include "core/BatchSession.h"
#include "core/ExistingOutput.h"
#include "core/ProgressText.h"
#include "engine/SafeFile.h"
#include "optimizer/ImageOptimize.h"
#include "optimizer/OptionSliders.h"
#include "settings/clsLanguage.h"
#include "settings/clsReg.h"

bool frmBatch::Running() const { return session_ && session_->Running(); }

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

  const bool otherDir = optOtherDir_->isChecked();
  BatchSession::Request request;
  for (int i = 0; i < lstFiles_->topLevelItemCount(); ++i) {
    const QString source = lstFiles_->topLevelItem(i)->data(0, Qt::UserRole).toString();
    const QString root = lstFiles_->topLevelItem(i)->data(0, kRootRole).toString();
    // What an earlier run wrote into an output folder inside a listed folder is not input.
    if (otherDir && BatchInputs::InOutputFolder(source, root, txtOutputDir_->text())) continue;
    request.inputs.push_back({source, root, QString()});
  }
  request.overwrite = !otherDir;
  request.outputDir = txtOutputDir_->text();
  request.keepStructure = chkKeepStructure_->isChecked();
  // A file already at an output name that is not the picture itself is numbered, replaced
  // or skipped as the output page says.
  const ExistingOutput::Rule rules[] = {
      ExistingOutput::Rule::kNumber, ExistingOutput::Rule::kReplace, ExistingOutput::Rule::kSkip};
  request.ifExists = rules[std::clamp(cboIfExists_->currentIndex(), 0, 2)];
  // The options are taken once, as plain values: the run never looks at the controls again.
  request.options = ImageOptimize_->Options();
  request.options.allowLarger = !chkKeepSmaller_->isChecked();
  request.options.keepDates = chkKeepDates_->isChecked();
  request.jobs = workers_;
  request.workerProgram = workerProgram_;
  runSearchesQuality_ =
      request.options.autoQuality != AutoQuality::Level::kOff || request.options.maxBytes > 0;
  const int count = int(request.inputs.size());
  ProgressBar_->SetMin(0);
  ProgressBar_->SetMax(count);
  ProgressBar_->SetValue(0);

  delete session_;
  session_ = new BatchSession(this);
  connect(session_, &BatchSession::EntryStarting, this, &frmBatch::RunItemStarting);
  connect(session_, &BatchSession::EntryDone, this, &frmBatch::RunItemFinished);
  connect(session_, &BatchSession::Ended, this, &frmBatch::RunEnded);
  if (QString reason; !session_->Plan(request, &reason)) {
    AddProgressLine(QStringLiteral("Failed: ") + reason);
    return RunEnded();
  }
  session_->Start();
  if (cancel_) session_->Cancel();
}

void frmBatch::RunItemStarting(int index) {
  const BatchSession::Entry& e = session_->Entries()[std::size_t(index)];
  const BatchNaming::Output& out = e.output;
  QString line = Language().GetString(QStringLiteral("OptSav")) + QStringLiteral(" '") + e.source +
                 QLatin1Char('\'');
  const QString plain = BatchNaming::OwnName(QFileInfo(e.source).fileName(), QStringList(), false);
  if (out.Numbered())
    line += QStringLiteral(" as '%1' ('%2' is another picture's)").arg(out.dest, out.wanted);
  else if (QFileInfo(out.dest).fileName() != plain)  // a name told apart by its format
    line += QStringLiteral(" as '%1'").arg(out.dest);
  AddProgressLine(line);
}

void frmBatch::RunItemFinished(int index) {
  using Outcome = BatchTotals::Outcome;
  const BatchSession::Entry& e = session_->Entries()[std::size_t(index)];
  const BatchJob::Result& r = *e.result;
  const bool skipped = e.skipped || !e.refused.isEmpty();
  if (!e.refused.isEmpty()) {
    AddProgressLine(QStringLiteral("Failed '%1': %2").arg(e.source, e.refused));
    totals_.Count(Outcome::kFailed);
  } else if (skipped) {
    if (e.output.skip)
      AddProgressLine(QStringLiteral("Skipped '%1': '%2' exists").arg(e.source, e.output.dest));
    // A vanished file is passed over quietly; one whose name cannot be opened is named.
    else if (SafeFile::NameUnreadable(e.source))
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
  const int total = session_ ? int(session_->Entries().size()) : 0;
  if (optOtherDir_->isChecked())
    Registry().WriteRegDir(QStringLiteral("BrowseDir"), txtOutputDir_->text());
  AddProgressLine(totals_.SummaryLine());
  if (cancel_) {
    // A stopped run says so, and what it left undone.
    const int written = totals_.Counted(BatchTotals::Outcome::kWritten);
    AddProgressLine(QStringLiteral("Stopped by Cancel: %1 of %2 pictures written, %3 not written")
                        .arg(written)
                        .arg(total)
                        .arg(total - written));
  }
  cmdCancel_->setEnabled(false);
  cmdClose_->setEnabled(true);
  // The keyboard goes with the one thing left to do: Enter closes.
  cmdClose_->setDefault(true);
  cmdClose_->setFocus(Qt::OtherFocusReason);
  QApplication::beep();
  emit RunFinished();
}
