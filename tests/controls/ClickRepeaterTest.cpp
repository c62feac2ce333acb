#include <gtest/gtest.h>

#include <vector>

#include "controls/ClickRepeater.h"

namespace {

// Ticks (1-based) at which a held 10 ms timer gives a repeated click.
std::vector<int> ClickTicks(ClickRepeater& r, int ticks) {
  std::vector<int> at;
  for (int t = 1; t <= ticks; ++t) {
    if (r.Tick(true)) at.push_back(t);
  }
  return at;
}

TEST(ClickRepeaterTest, FirstRepeatAfterElevenTicksThenEveryFive) {
  ClickRepeater r(10);
  EXPECT_EQ(ClickTicks(r, 30), (std::vector<int>{11, 16, 21, 26}));
}

TEST(ClickRepeaterTest, LeavingTheButtonRestartsTheCount) {
  ClickRepeater r(10);
  ClickTicks(r, 13);  // one repeat, counter now 8
  EXPECT_FALSE(r.Tick(false));
  EXPECT_EQ(r.Counter(), 0);
  EXPECT_EQ(ClickTicks(r, 12), (std::vector<int>{11}));
}

TEST(ClickRepeaterTest, ResetStartsOver) {
  ClickRepeater r(10);
  ClickTicks(r, 10);
  r.Reset();
  EXPECT_EQ(ClickTicks(r, 11), (std::vector<int>{11}));
}

TEST(ClickRepeaterTest, OtherIntervalsKeepTheTimes) {
  ClickRepeater r(20);  // 100 ms = 5 ticks, then 50 ms = 2.5 -> 2 ticks
  EXPECT_EQ(ClickTicks(r, 12), (std::vector<int>{6, 8, 10, 12}));
}

}  // namespace
