#include <gtest/gtest.h>

#include "core/StatisticsText.h"

namespace {

const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);
const QLocale kGerman(QLocale::German, QLocale::Germany);

struct SizeCase {
  std::int64_t bytes;
  const char* english;
  const char* german;
};
class SizeTextTest : public ::testing::TestWithParam<SizeCase> {};

TEST_P(SizeTextTest, KbToOneDecimalWithoutATrailingZero) {
  EXPECT_EQ(StatisticsText::SizeText(GetParam().bytes, kEnglish), GetParam().english);
  EXPECT_EQ(StatisticsText::SizeText(GetParam().bytes, kGerman), GetParam().german);
}

INSTANTIATE_TEST_SUITE_P(Cases, SizeTextTest,
                         ::testing::Values(SizeCase{0, "0 Kb", "0 Kb"},
                                           SizeCase{1024, "1 Kb", "1 Kb"},
                                           SizeCase{3072, "3 Kb", "3 Kb"},
                                           SizeCase{12800, "12.5 Kb", "12,5 Kb"},
                                           SizeCase{256, "0.2 Kb", "0,2 Kb"},  // 2.5 tenths
                                           SizeCase{768, "0.8 Kb", "0,8 Kb"},  // 7.5 tenths
                                           SizeCase{1048576, "1024 Kb", "1024 Kb"},
                                           SizeCase{4000000000LL, "3906250 Kb", "3906250 Kb"}));

struct CompressionCase {
  std::int64_t jpeg;
  std::int64_t file;
  const char* english;
};
class CompressionTextTest : public ::testing::TestWithParam<CompressionCase> {};

TEST_P(CompressionTextTest, SavingInPercent) {
  EXPECT_EQ(StatisticsText::CompressionText(GetParam().jpeg, GetParam().file, kEnglish),
            QString(GetParam().english));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CompressionTextTest,
    ::testing::Values(CompressionCase{327, 1000, "67.3 %"},
                      CompressionCase{1042, 1000, "-4.2 %"},  // larger than the file
                      CompressionCase{1000, 1000, "0 %"},
                      CompressionCase{1, 2000, "100 %"},   // 0.05 % rounds to the even 0
                      CompressionCase{3, 2000, "99.8 %"},  // 0.15 % rounds to 0.2
                      CompressionCase{1, 3, "66.7 %"},
                      // Beyond 21 MB a 32-bit s x 100 overflows; 64 bits do not.
                      CompressionCase{30000000, 25000000, "-20 %"},
                      CompressionCase{5000000, 3000000000LL, "99.8 %"},
                      CompressionCase{2, 2000, "99.9 %"}));

TEST(CompressionTextTest, EmptyFileHasNoPercentage) {
  EXPECT_EQ(StatisticsText::CompressionText(500, 0), std::nullopt);
  EXPECT_EQ(StatisticsText::CompressionText(500, -1), std::nullopt);
}

TEST(CompressionTextTest, LocaleDecimalSeparator) {
  EXPECT_EQ(StatisticsText::CompressionText(327, 1000, kGerman), QString("67,3 %"));
  EXPECT_EQ(StatisticsText::CompressionText(1005, 1000, kGerman), QString("-0,5 %"));
}

TEST(StatisticsTextTest, DimensionsWithoutSpaces) {
  EXPECT_EQ(StatisticsText::DimensionsText(640, 480), "640x480");
}

}  // namespace
