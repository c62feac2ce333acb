#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTemporaryDir>

#include "WizardFixtures.h"
#include "core/BatchRunner.h"
#include "core/ProgressText.h"
#include "core/WorkerProtocol.h"

using namespace WizardFixtures;

namespace {

TEST(WorkerProtocol, OptionsJobsAndResultsSurviveTheTrip) {
  BatchOptions o;
  o.quality = 33;
  o.resize = true;
  o.manualSize = true;
  o.width = 640;
  o.height = 0;
  o.effects = {{EffectCatalog::Find("Flip Image"), 0}, {EffectCatalog::Find("Blur"), 3}};
  o.stripMetadata = true;
  BatchOptions back;
  QString error;
  ASSERT_TRUE(
      WorkerProtocol::ParseOptionArguments(WorkerProtocol::OptionArguments(o), back, error));
  EXPECT_EQ(back.quality, 33);
  EXPECT_TRUE(back.resize && back.manualSize);
  EXPECT_EQ(back.width, 640);
  EXPECT_TRUE(back.stripMetadata);
  ASSERT_EQ(back.effects.size(), 2u);
  EXPECT_EQ(back.effects[1].entry, o.effects[1].entry);
  EXPECT_EQ(back.effects[1].level, 3);
  EXPECT_FALSE(WorkerProtocol::ParseOptionArguments({"--effect", "No Such=1"}, back, error));
  // A manual size with both boxes empty reaches the worker as such: its pictures fail for want
  // of a size instead of being written unsized.
  o.width = 0;
  ASSERT_TRUE(
      WorkerProtocol::ParseOptionArguments(WorkerProtocol::OptionArguments(o), back, error));
  EXPECT_TRUE(back.resize && back.manualSize);
  EXPECT_EQ(back.width, 0);
  EXPECT_EQ(back.height, 0);

  const QString odd = "/tmp/a\tb\nc%d ü.png";
  int index = -1;
  QString source, dest;
  ASSERT_TRUE(WorkerProtocol::ParseJobLine(WorkerProtocol::JobLine(7, odd, odd + ".jpg"), index,
                                           source, dest));
  EXPECT_EQ(index, 7);
  EXPECT_EQ(source, odd);
  EXPECT_EQ(dest, odd + ".jpg");
  BatchJob::Result r{true, 5000000000LL, 12, "why\tnot"}, r2;
  r.width = 4000;
  r.height = 3000;
  r.lossless = true;
  r.quality = 57;
  ASSERT_TRUE(WorkerProtocol::ParseResultLine(WorkerProtocol::ResultLine(3, r), index, r2));
  EXPECT_EQ(index, 3);
  EXPECT_EQ(r2.bytesBefore, 5000000000LL);
  EXPECT_EQ(r2.reason, "why\tnot");
  EXPECT_EQ(r2.width, 4000);
  EXPECT_EQ(r2.height, 3000);
  EXPECT_TRUE(r2.lossless);
  EXPECT_EQ(r2.quality, 57);
  EXPECT_FALSE(WorkerProtocol::ParseResultLine("garbage\n", index, r2));
}

TEST(BatchRunner, ReportsInListOrderWhateverOrderTheWorkersFinishIn) {
  QTemporaryDir dir;
  std::vector<BatchRunner::Item> items;
  // A large first picture finishes after the small ones that follow it.
  items.push_back({Picture(dir.filePath("big.png"), 2400, 1800), dir.filePath("big.jpg")});
  for (int i = 0; i < 5; ++i)
    items.push_back({Picture(dir.filePath(QString("s%1.png").arg(i)), 16, 16),
                     dir.filePath(QString("s%1.jpg").arg(i))});
  items.push_back({dir.filePath("gone.png"), dir.filePath("gone.jpg")});
  for (int workers : {0, 1, 3}) {
    SCOPED_TRACE(workers);
    BatchRunner runner;
    runner.SetWorkerProgram(WorkerProgram());
    QStringList events;
    QObject::connect(&runner, &BatchRunner::ItemStarting,
                     [&](int i) { events << QString("start %1").arg(i); });
    QObject::connect(
        &runner, &BatchRunner::ItemFinished, [&](int i, const BatchJob::Result& r, bool skipped) {
          events << QString("%1 %2").arg(skipped ? "skip" : r.ok ? "done" : "failed").arg(i);
        });
    QSignalSpy finished(&runner, &BatchRunner::Finished);
    runner.Start(items, BatchOptions(), workers);
    ASSERT_TRUE(finished.wait(60000));
    QStringList expected;
    for (int i = 0; i < 6; ++i) expected << QString("start %1").arg(i) << QString("done %1").arg(i);
    expected << "skip 6";
    EXPECT_EQ(events, expected);
    EXPECT_FALSE(finished.first().first().toBool());
  }
}

TEST(BatchRunner, AMissingWorkerProgramStillRunsEveryPicture) {
  QTemporaryDir dir;
  BatchRunner runner;
  runner.SetWorkerProgram(dir.filePath("no-such-worker"));
  int ok = 0;
  QObject::connect(&runner, &BatchRunner::ItemFinished,
                   [&](int, const BatchJob::Result& r, bool) { ok += r.ok; });
  QSignalSpy finished(&runner, &BatchRunner::Finished);
  runner.Start({{Picture(dir.filePath("a.png")), dir.filePath("a.jpg")}}, BatchOptions(), 2);
  ASSERT_TRUE(finished.wait(60000));
  EXPECT_EQ(ok, 1);
}

TEST(ProgressText, TheBoxDropsItsOldestTextBeforeReaching30001Characters) {
  struct Case {
    int boxLength, lineLength;
    bool cut;
  };
  for (const Case& c : {Case{29000, 100, false}, Case{29901, 100, true}, Case{29900, 100, false},
                        Case{0, 10, false}}) {
    SCOPED_TRACE(c.boxLength);
    QString box;
    for (int i = 0; i < c.boxLength; ++i) box += QChar('a' + i % 26);
    const QString line(c.lineLength, 'x');
    const QString result = ProgressText::Append(box, line);
    const QString expected =
        c.cut ? "... " + box.mid(c.lineLength + 9) + line + "\r\n" : box + line + "\r\n";
    EXPECT_EQ(result, expected);
    EXPECT_LT(result.size(), 30001 + 4 + 2);
  }
}

}  // namespace
