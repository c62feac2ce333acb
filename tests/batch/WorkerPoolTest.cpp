// The one worker pool (BatchRunner) that trimjet-cli and the wizard share: every job reports
// once, in list order, and a worker that dies fails only its own picture and is replaced.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <map>

#include "core/BatchRunner.h"

TEST(WorkerPool, EveryJobReportsOnceAndADeadWorkerFailsOnlyItsJob) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  // A worker that speaks the protocol: job 3 kills it, job 4 gets an answer that cannot be
  // read (it must not wait for ever), job 5 fails with a reason, and the
  // lengths it reports carry its own process id, proving the work ran elsewhere.
  const QString worker = dir.filePath("worker.sh");
  QFile script(worker);
  ASSERT_TRUE(script.open(QIODevice::WriteOnly));
  script.write(
      "#!/bin/sh\n"
      "while IFS= read -r line; do\n"
      "  i=${line%%\t*}\n"
      "  [ \"$i\" = 3 ] && kill -9 $$\n"
      "  [ \"$i\" = 4 ] && { echo 'an answer of another version'; continue; }\n"
      "  if [ \"$i\" = 5 ]; then ok=0; why=reason%20of%205; else ok=1; why=; fi\n"
      "  printf '%s\\t%s\\t%s\\t%s\\t%s\\t0\\t0\\t0\\t70\\n' \"$i\" $ok $((1000 + i)) $$ \"$why\"\n"
      "done\n");
  script.close();
  ASSERT_TRUE(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
  std::vector<BatchRunner::Item> items;
  for (int i = 0; i < 7; ++i) {
    const QString source = dir.filePath(QString("p%1.png").arg(i));
    QFile f(source);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    items.push_back({source, source + ".jpg", false});
  }
  for (int workers : {1, 2, 5}) {
    SCOPED_TRACE(workers);
    std::map<int, BatchJob::Result> results;
    std::map<int, int> calls;
    std::vector<int> order;
    BatchRunner runner;
    runner.SetWorkerProgram(worker);
    QEventLoop loop;
    QObject::connect(&runner, &BatchRunner::ItemFinished, &loop,
                     [&](int index, const BatchJob::Result& r, bool) {
                       results[index] = r;
                       ++calls[index];
                       order.push_back(index);
                     });
    QObject::connect(&runner, &BatchRunner::Finished, &loop, &QEventLoop::quit);
    runner.Start(items, BatchOptions(), workers);
    if (runner.Running()) loop.exec();
    ASSERT_EQ(results.size(), 7u);
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
    for (const auto& [index, r] : results) {
      EXPECT_EQ(calls[index], 1) << index;
      if (index == 3) {
        EXPECT_FALSE(r.ok);
        EXPECT_TRUE(r.reason.contains("signal 9")) << r.reason.toStdString();
        continue;
      }
      if (index == 4) {
        EXPECT_FALSE(r.ok);
        EXPECT_TRUE(r.reason.contains("cannot be read")) << r.reason.toStdString();
        continue;
      }
      EXPECT_EQ(r.ok, index != 5) << index;
      EXPECT_EQ(r.bytesBefore, 1000 + index);
      EXPECT_NE(r.bytesAfter, ::getpid());
      EXPECT_EQ(r.reason, index == 5 ? QString("reason of 5") : QString());
    }
  }
}
