// The choices about the file written (progressive scans, a target size) made in the windows
// reach the batch options and give the very bytes trimjet-cli writes with the same options:
// the wizard through its worker processes, the optimiser through its Save.
#include <QSlider>

#include "CliRun.h"
#include "WizardFixtures.h"
#include "core/BatchJob.h"
#include "core/ProgressText.h"
#include "core/QualityRange.h"
#include "core/StatisticsText.h"
#include "optimizer/ImageOptimize.h"
#include "optimizer/OptionSliders.h"
#include "optimizer/frmImgOpt.h"

namespace {

using WizardFixtures::Child;

enum class Target { kNone, kMost, kTooSmall };

struct Row {
  const char* name;
  bool jpegSource;  // a JPEG at quality 95, else a PNG
  int quality;
  bool progressive;
  Target target;
  bool lossless;  // the written file is the source's JPEG data tidied
};

void PrintTo(const Row& row, std::ostream* os) { *os << row.name; }

bool IsProgressive(const QByteArray& jpeg) { return jpeg.contains(QByteArray("\xff\xc2", 2)); }

class FileChoices : public WizardFixtures::RunFolderTest,
                    public ::testing::WithParamInterface<Row> {
 protected:
  void SetUp() override {
    RunFolderTest::SetUp();
    // The run writes whatever comes out, as --allow-larger does.
    Registry().OpenReg("Batch");
    Registry().SetValue("KeepSmaller", "0");
    ForgetChoices();
  }
  void TearDown() override {
    Registry().OpenReg("Batch");
    Registry().SetValue("KeepSmaller", "");
    ForgetChoices();
  }
  // Windows opened later start without a target or progressive scans.
  static void ForgetChoices() {
    for (const char* key : {frmBatch::kOptionsKey, frmImgOpt::kOptionsKey}) {
      Registry().OpenReg(key);
      Registry().SetValue("Progressive", "");
      Registry().SetValue("MaxSize", "");
    }
  }

  // trimjet-cli's file for source with these options, in a folder of its own.
  QByteArray CliBytes(const QString& source, const QStringList& options, const QString& folder) {
    const Outcome o = RunCli(QStringList{"--allow-larger", "--jobs", "1", "--output-dir", folder} +
                             options + QStringList{source});
    EXPECT_EQ(o.exitCode, GetParam().target == Target::kTooSmall ? 1 : 0) << o.err.toStdString();
    return WizardFixtures::Bytes(folder + "/p.jpg");
  }
};

TEST_P(FileChoices, WindowsWriteWhatTheCommandLineWritesWithTheSameOptions) {
  const Row& row = GetParam();
  const QString source = row.jpegSource ? WizardFixtures::Picture(root + "/p.jpg", 640, 480, 95)
                                        : WizardFixtures::Picture(root + "/p.png", 640, 480);
  // The target lies between the sizes of the lowest and the chosen quality, so the search
  // has to find a quality of its own; "k" as a user would type it.
  BatchOptions unconstrained;
  unconstrained.quality = row.quality;
  unconstrained.progressive = row.progressive;
  unconstrained.allowLarger = true;
  ASSERT_TRUE(BatchJob::Run(source, root + "/free.jpg", unconstrained).ok);
  const qint64 free = QFileInfo(root + "/free.jpg").size();
  const QString targetText = row.target == Target::kMost
                                 ? QString::number(free * 6 / 10 / 1024) + "k"
                             : row.target == Target::kTooSmall ? QString("300")
                                                               : QString();
  const long long target = row.target == Target::kMost       ? free * 6 / 10 / 1024 * 1024
                           : row.target == Target::kTooSmall ? 300
                                                             : 0;
  QStringList cliOptions;
  if (row.progressive) cliOptions << "--progressive";
  if (target > 0) cliOptions << "--max-size" << targetText;

  // The wizard: the options panel's controls, then a run on worker processes.
  frmBatch batch;
  batch.SetWorkerProgram(WizardFixtures::WorkerProgram());
  batch.SetWorkers(2);
  batch.AddFile(source);
  batch.StartOnOptionsPage();
  batch.FillCombo();
  const OptionControls& panel = batch.Options()->Controls();
  panel.sldQuality->setValue(row.quality);
  panel.chkProgressive->setChecked(row.progressive);
  panel.txtMaxSize->setText(targetText);
  const BatchOptions taken = batch.Options()->Options();
  EXPECT_EQ(taken.progressive, row.progressive);
  EXPECT_EQ(taken.maxBytes, target);
  Child<QPushButton>(&batch, "cmdNext")->click();
  Child<QRadioButton>(&batch, "optOtherDir")->setChecked(true);
  Child<QLineEdit>(&batch, "txtOutputDir")->setText(out);
  QSignalSpy finished(&batch, &frmBatch::RunFinished);
  Child<QPushButton>(&batch, "cmdFinish")->click();
  ASSERT_TRUE(finished.count() > 0 || finished.wait(60000));
  const QString log = Child<QPlainTextEdit>(&batch, "txtProgress")->toPlainText();
  const QByteArray wizard = WizardFixtures::Bytes(out + "/p.jpg");
  const QByteArray cli = CliBytes(
      source, QStringList{"--quality", QString::number(row.quality)} + cliOptions, root + "/cli");
  EXPECT_EQ(wizard, cli);
  EXPECT_EQ(log.contains(ProgressText::kLosslessLine), row.lossless) << log.toStdString();
  // A quality of its own is named in the log: found under a budget, never for a tidy.
  EXPECT_EQ(log.contains(ProgressText::kQualityLinePrefix),
            row.target == Target::kMost && !row.lossless)
      << log.toStdString();
  if (row.target == Target::kTooSmall) {
    EXPECT_TRUE(wizard.isEmpty());
    EXPECT_TRUE(log.contains("failed: does not fit in 300 bytes")) << log.toStdString();
  } else {
    ASSERT_FALSE(wizard.isEmpty());
    EXPECT_EQ(IsProgressive(wizard), row.progressive);
    if (target > 0) {
      EXPECT_LE(wizard.size(), target);
      EXPECT_LT(wizard.size(), free);
    }
  }

  // The optimiser: the target moves the slider over its whole range; Save writes what the
  // statistics said.
  auto* window = new frmImgOpt;
  window->setAttribute(Qt::WA_DeleteOnClose, false);
  const std::unique_ptr<frmImgOpt> owner(window);
  window->show();
  window->LoadPicture(source, false);
  auto* slider = Child<QSlider>(window, "sldQuality");
  slider->setValue(row.quality);
  Child<QCheckBox>(window, "chkProgressive")->setChecked(row.progressive);
  auto* box = Child<QLineEdit>(window, "txtMaxSize");
  box->setText(targetText);
  emit box->editingFinished();
  const QString note = Child<QLabel>(window, "lblMaxSizeNote")->text();
  if (row.target == Target::kTooSmall) {
    EXPECT_TRUE(note.startsWith("Does not fit")) << note.toStdString();
    EXPECT_EQ(slider->value(), row.quality);  // left where the user had it
  } else {
    const int quality = target > 0 ? QualityRange::kHighest : row.quality;
    const QByteArray expected =
        CliBytes(source, QStringList{"--quality", QString::number(quality)} + cliOptions,
                 root + "/cli-optimiser");
    ASSERT_TRUE(window->SaveAs(root + "/saved.jpg"));
    const QByteArray saved = WizardFixtures::Bytes(root + "/saved.jpg");
    EXPECT_EQ(saved, expected);
    const QString shown = Child<QLabel>(window, "txtOptimizedSize")->text();
    EXPECT_TRUE(shown.startsWith(StatisticsText::SizeText(saved.size()))) << shown.toStdString();
    EXPECT_EQ(shown.contains("(lossless)"), row.lossless) << shown.toStdString();
    if (target > 0) {
      EXPECT_TRUE(note.contains(OptionSliders::QualityText(slider->value()))) << note.toStdString();
      EXPECT_LT(slider->value(), QualityRange::kHighest);
    }
  }
  window->close();
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FileChoices,
    ::testing::Values(Row{"Progressive", false, 70, true, Target::kNone, false},
                      Row{"TargetSize", false, 70, false, Target::kMost, false},
                      Row{"ProgressiveWithTargetSize", false, 70, true, Target::kMost, false},
                      Row{"TargetTooSmall", false, 70, false, Target::kTooSmall, false},
                      Row{"LosslessTidy", true, 98, false, Target::kNone, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
