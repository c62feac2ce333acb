#include <gtest/gtest.h>

#include <ostream>

#include "EngineFixtures.h"
#include "engine/Ssimulacra2.h"
#include "engine/clsImage.h"

namespace {

// A pair of fixtures/similarity (made by its make.sh) and the reference tool's score for it.
struct ScoreCase {
  const char* original;
  const char* distorted;
  double expected;
};

void PrintTo(const ScoreCase& c, std::ostream* os) { *os << c.distorted << " against " << c.original; }

class Scores : public ::testing::TestWithParam<ScoreCase> {};

}  // namespace

TEST_P(Scores, MatchTheReferenceToolWithinOnePoint) {
  const ScoreCase& c = GetParam();
  clsImage original, distorted;
  ASSERT_TRUE(original.CreateFromFile(EngineFixtures::Path(QString("similarity/") + c.original)));
  ASSERT_TRUE(distorted.CreateFromFile(EngineFixtures::Path(QString("similarity/") + c.distorted)));
  const std::optional<double> score = Ssimulacra2::Compare(original.Pixels(), distorted.Pixels());
  ASSERT_TRUE(score.has_value());
  EXPECT_NEAR(*score, c.expected, 1.0);
  // A second picture through the same measure finds the same score: nothing of the first stays.
  Ssimulacra2 measure(original.Pixels());
  EXPECT_EQ(measure.Score(original.Pixels()), 100.0);
  EXPECT_EQ(measure.Score(distorted.Pixels()), score);
}

// Grain, colour (4:2:0 and 4:4:4), a smooth gradient (where the reference's single-precision
// blur shows) and an odd size that stops after five scales.
INSTANTIATE_TEST_SUITE_P(
    Fixtures, Scores,
    ::testing::Values(ScoreCase{"colour.png", "colour-50.jpg", 55.45649666},
                      ScoreCase{"colour.png", "colour-85.jpg", 81.64475692},
                      ScoreCase{"grain.png", "grain-30.jpg", 40.83161145},
                      ScoreCase{"grain.png", "grain-70.jpg", 72.90524543},
                      ScoreCase{"grain.png", "grain-90.jpg", 86.87386244},
                      ScoreCase{"odd.png", "odd-60.jpg", 61.32648984},
                      ScoreCase{"smooth.png", "smooth-90.jpg", 90.93201389}));

TEST(Scores, RefuseAPictureOfAnotherSize) {
  clsImage original, other;
  ASSERT_TRUE(original.CreateFromFile(EngineFixtures::Path("similarity/grain.png")));
  ASSERT_TRUE(other.CreateFromFile(EngineFixtures::Path("similarity/odd.png")));
  EXPECT_FALSE(Ssimulacra2::Compare(original.Pixels(), other.Pixels()).has_value());
  EXPECT_FALSE(Ssimulacra2::Compare(ImageDescriptor(), ImageDescriptor()).has_value());
}
