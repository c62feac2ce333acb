#include <gtest/gtest.h>

#include "core/modPublic.h"

using modPublic::FormatKb;
using modPublic::GetImageType;

TEST(GetImageType, CodesByExtension) {
  const std::pair<const char*, int> rows[] = {{"jpg", 2},  {"JPEG", 2}, {"jpeg", 2}, {"gif", 3},
                                              {"Bmp", 4},  {"tif", 4},  {"tiff", 4}, {"png", 5},
                                              {"pcx", 6},  {"TGA", 7},  {"jpe", 0},  {"", 0},
                                              {"webp", 8}, {"HEIC", 9}, {"heif", 9}, {"avif", 10}};
  for (const auto& [ext, code] : rows) EXPECT_EQ(GetImageType(ext), code) << ext;
}

TEST(GetImageType, IconNumbers) {
  EXPECT_EQ(modPublic::ImageTypeIcon(2), 3);
  EXPECT_EQ(modPublic::ImageTypeIcon(4), 1);
  EXPECT_EQ(modPublic::ImageTypeIcon(7), 4);
}

TEST(FormatKb, OneDecimalAlways) {
  const std::pair<std::int64_t, const char*> rows[] = {
      {0, "0.0 Kb"},    {1024, "1.0 Kb"}, {1536, "1.5 Kb"},
      {2048, "2.0 Kb"}, {256, "0.2 Kb"},  // 0.25 rounds to the even tenth
      {768, "0.8 Kb"},                    // 0.75 rounds to the even tenth
      {52, "0.1 Kb"},   {51, "0.0 Kb"},   {5368709120LL, "5242880.0 Kb"}};  // past 32 bits
  for (const auto& [bytes, text] : rows) EXPECT_EQ(FormatKb(bytes), text) << bytes;
}
