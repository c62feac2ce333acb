#include <gtest/gtest.h>

#include "core/BatchTotals.h"

TEST(BatchTotals, RatioRoundsHalvesToEven) {
  struct Case {
    qint64 optimised, original, percent;
  };
  for (const Case& c : {Case{1500, 4000, 38}, Case{25, 1000, 2}, Case{35, 1000, 4}, Case{1, 3, 33},
                        Case{2, 3, 67}, Case{0, 10, 0}, Case{700, 700, 100}, Case{1000, 1, 100000},
                        Case{4'000'000'000LL, 8'000'000'000LL, 50}})
    EXPECT_EQ(BatchTotals::RatioPercent(c.optimised, c.original), c.percent)
        << c.optimised << "/" << c.original;
}

TEST(BatchTotals, TextAddsUpEveryPicture) {
  BatchTotals totals;
  EXPECT_EQ(totals.CompressionText(), QString());
  totals.Add(1000, 500);
  totals.Add(3000, 1000);
  EXPECT_EQ(totals.Original(), 4000);
  EXPECT_EQ(totals.Optimised(), 1500);
  EXPECT_EQ(totals.CompressionText(), QString("38%"));
}
