#include <gtest/gtest.h>

#include "EngineFixtures.h"
#include "engine/EffectCatalog.h"
#include "engine/clsImage.h"

using namespace EngineFixtures;
using Group = EffectCatalog::Group;

namespace {

struct Row {
  const char* name;
  Group group;
  int minimum, maximum, start;
};

const Row kRows[] = {
    {"Detect Outline", Group::kDirect, 0, 0, 0},
    {"Flip Image", Group::kDirect, 0, 0, 0},
    {"Intermediate Brightness", Group::kDirect, 0, 0, 0},
    {"Mirror Image", Group::kDirect, 0, 0, 0},
    {"Negative Image", Group::kDirect, 0, 0, 0},
    {"Sharpen", Group::kDirect, 0, 0, 0},
    {"Sharpen More", Group::kDirect, 0, 0, 0},
    {"Blur", Group::kLevel, 0, 255, 0},
    {"Brightness", Group::kLevel, -255, 255, 0},
    {"Dilate", Group::kLevel, 0, 255, 0},
    {"Kodalith", Group::kLevel, 0, 255, 128},
    {"Limit Brightness Level", Group::kLevel, 0, 255, 255},
    {"Remove Noise", Group::kLevel, 3, 11, 3},
    {"Rotate", Group::kLevel, -180, 180, 0},
};

}  // namespace

TEST(EffectCatalog, EntriesInOrderWithTheirRanges) {
  const auto& all = EffectCatalog::All();
  ASSERT_EQ(all.size(), std::size(kRows) + 1);
  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    SCOPED_TRACE(kRows[i].name);
    EXPECT_EQ(all[i].name, QString(kRows[i].name));
    EXPECT_EQ(all[i].group, kRows[i].group);
    EXPECT_EQ(all[i].minimum, kRows[i].minimum);
    EXPECT_EQ(all[i].maximum, kRows[i].maximum);
    EXPECT_EQ(all[i].start, kRows[i].start);
    EXPECT_TRUE(all[i].listed);
  }
  const auto* gray = EffectCatalog::Find("Gray Scale");
  ASSERT_TRUE(gray);
  EXPECT_FALSE(gray->listed);
  EXPECT_FALSE(gray->HasLevel());
}

TEST(EffectCatalog, ListsOfferTheFourteenNames) {
  EXPECT_EQ(
      EffectCatalog::SortedNames(),
      QStringList({"Blur", "Brightness", "Detect Outline", "Dilate", "Flip Image",
                   "Intermediate Brightness", "Kodalith", "Limit Brightness Level", "Mirror Image",
                   "Negative Image", "Remove Noise", "Rotate", "Sharpen", "Sharpen More"}));
  EXPECT_EQ(
      EffectCatalog::MenuNames(),
      QStringList({"Detect Outline", "Flip Image", "Intermediate Brightness", "Mirror Image",
                   "Negative Image", "Sharpen", "Sharpen More", "-", "Blur", "Brightness", "Dilate",
                   "Kodalith", "Limit Brightness Level", "Remove Noise", "Rotate"}));
}

TEST(EffectCatalog, NamesCompareExactly) {
  for (const char* near : {"blur", "Blur ", " Blur", "Grayscale", "-", ""})
    EXPECT_EQ(EffectCatalog::Find(near), nullptr) << near;
  // The old misspelling still names the effect in scripts.
  EXPECT_EQ(EffectCatalog::Find("Delate"), EffectCatalog::Find("Dilate"));
  auto image = Make(8, 8, Pattern);
  EXPECT_FALSE(EffectCatalog::Apply(*image, QString("negative image"), 0));
  EXPECT_EQ(PixelAt(*image, 0, 0), Pattern(0, 0));
}

TEST(EffectCatalog, DispatchReachesTheNamedOperation) {
  auto image = Make(8, 8, Pattern);
  ASSERT_TRUE(EffectCatalog::Apply(*image, QString("Negative Image"), 0));
  EXPECT_EQ(PixelAt(*image, 0, 0), (Rgb{0, 255, 255}));
  ASSERT_TRUE(EffectCatalog::Apply(*image, QString("Gray Scale"), 0));
  const Rgb p = PixelAt(*image, 0, 0);
  EXPECT_TRUE(p[0] == p[1] && p[1] == p[2]);
  // Rotate always enlarges: a quarter turn swaps the sides.
  auto wide = Make(20, 10, Pattern);
  ASSERT_TRUE(EffectCatalog::Apply(*wide, QString("Rotate"), 90));
  EXPECT_EQ(wide->Width(), 10);
  EXPECT_EQ(wide->Height(), 20);
}

TEST(EffectCatalog, LevelsBeyondTheRangeAreClamped) {
  auto image = Make(4, 4, [](int, int) { return Rgb{100, 150, 200}; });
  ASSERT_TRUE(EffectCatalog::Apply(*image, QString("Limit Brightness Level"), 999));
  EXPECT_EQ(PixelAt(*image, 1, 1), (Rgb{100, 150, 200}));
  ASSERT_TRUE(EffectCatalog::Apply(*image, QString("Brightness"), -999));
  EXPECT_EQ(PixelAt(*image, 1, 1), (Rgb{0, 0, 0}));
}

TEST(EffectCatalog, EmptyPictureIsRefused) {
  clsImage empty;
  for (const auto& entry : EffectCatalog::All())
    EXPECT_FALSE(EffectCatalog::Apply(empty, entry, entry.start)) << entry.name.toStdString();
}
