#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "plugin/clsCommandLine.h"

namespace {
struct FillCase {
  std::size_t first;   // bytes appended first
  std::size_t second;  // then this many
  bool secondFits;
};
void PrintTo(const FillCase& c, std::ostream* os) { *os << c.first << " then " << c.second; }
class CommandLineFill : public ::testing::TestWithParam<FillCase> {};
}  // namespace

// An append needs the text to stay strictly below 32,000 bytes; a refused one changes nothing.
TEST_P(CommandLineFill, AppendsOnlyBelowTheCapacity) {
  const FillCase c = GetParam();
  auto line = std::make_unique<clsCommandLine>();
  const std::string a(c.first, 'a');
  const std::string b(c.second, 'b');
  ASSERT_TRUE(line->Append(a.data(), a.size()));
  EXPECT_EQ(line->Fits(c.second), c.secondFits);
  EXPECT_EQ(line->Append(b.data(), b.size()), c.secondFits);
  const std::string expected = c.secondFits ? a + b : a;
  EXPECT_EQ(line->Length(), expected.size());
  EXPECT_EQ(std::string(line->Text()), expected);  // still zero-ended
}

INSTANTIATE_TEST_SUITE_P(Boundaries, CommandLineFill,
                         ::testing::Values(FillCase{31998, 1, true}, FillCase{31998, 2, false},
                                           FillCase{31999, 1, false}, FillCase{31999, 0, true},
                                           FillCase{0, 31999, true}, FillCase{0, 32000, false},
                                           FillCase{10, 40000, false}));

TEST(CommandLine, RefusedAppendLetsLaterSmallerOnesIn) {
  auto line = std::make_unique<clsCommandLine>();
  const std::string big(31990, 'x');
  ASSERT_TRUE(line->Append(big.data(), big.size()));
  EXPECT_FALSE(line->Append("0123456789"));
  EXPECT_TRUE(line->Append("012345678"));
  EXPECT_EQ(line->Length(), 31999u);
  EXPECT_FALSE(line->Append(nullptr));
  EXPECT_EQ(std::strlen(line->Text()), 31999u);
}
