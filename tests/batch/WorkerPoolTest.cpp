#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <map>

#include "batch/cli/WorkerPool.h"

TEST(WorkerPool, EveryJobReportsOnceAndADeadWorkerFailsOnlyItsJob) {
  for (int workers : {1, 2, 5}) {
    SCOPED_TRACE(workers);
    std::map<int, BatchJob::Result> results;
    std::map<int, int> calls;
    WorkerPool::Run(
        7, workers,
        [](int index) {
          if (index == 3) ::raise(SIGKILL);
          BatchJob::Result r;
          r.ok = index != 5;
          r.bytesBefore = 1000 + index;
          r.bytesAfter = ::getpid();  // proves the work ran in a child
          r.reason = index == 5 ? QString("reason of %1").arg(index) : QString();
          return r;
        },
        [&](int index, const BatchJob::Result& r) {
          results[index] = r;
          ++calls[index];
        });
    ASSERT_EQ(results.size(), 7u);
    for (const auto& [index, r] : results) {
      EXPECT_EQ(calls[index], 1) << index;
      if (index == 3) {
        EXPECT_FALSE(r.ok);
        EXPECT_TRUE(r.reason.contains("signal 9")) << r.reason.toStdString();
        continue;
      }
      EXPECT_EQ(r.ok, index != 5) << index;
      EXPECT_EQ(r.bytesBefore, 1000 + index);
      EXPECT_NE(r.bytesAfter, ::getpid());
      EXPECT_EQ(r.reason, index == 5 ? QString("reason of 5") : QString());
    }
  }
}
