#include <gtest/gtest.h>

#include "EngineFixtures.h"
#include "engine/ImageFormat.h"
#include "engine/SafeFile.h"

using ImageFormat::Code;

struct ExtensionCase {
  const char* path;
  Code code;
};

class FormatFromExtension : public ::testing::TestWithParam<ExtensionCase> {};

TEST_P(FormatFromExtension, MapsUpperCasedExtension) {
  EXPECT_EQ(ImageFormat::FromExtension(GetParam().path), GetParam().code) << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(
    Table, FormatFromExtension,
    ::testing::Values(
        ExtensionCase{"a.bmp", ImageFormat::kBmp}, ExtensionCase{"a.JPG", ImageFormat::kJpeg},
        ExtensionCase{"a.b.Jpeg", ImageFormat::kJpeg}, ExtensionCase{"a.gif", ImageFormat::kGif},
        ExtensionCase{"a.tif", ImageFormat::kTiff}, ExtensionCase{"a.TIFF", ImageFormat::kTiff},
        ExtensionCase{"a.png", ImageFormat::kPng}, ExtensionCase{"a.pcx", ImageFormat::kPcx},
        ExtensionCase{"a.tga", ImageFormat::kTga}, ExtensionCase{"a.jpe", ImageFormat::kUnknown},
        ExtensionCase{"/photos.2024/noext", ImageFormat::kUnknown},
        ExtensionCase{"noext", ImageFormat::kUnknown}));

struct ContentCase {
  const char* fixture;
  Code fromFile;
  Code fromMemory;
};

class FormatFromContent : public ::testing::TestWithParam<ContentCase> {};

TEST_P(FormatFromContent, FindsFormatAndLeavesPcxAndTgaToFiles) {
  QByteArray head;
  ASSERT_TRUE(SafeFile::Read(EngineFixtures::Path(GetParam().fixture), head, 128));
  EXPECT_EQ(ImageFormat::FromContent(head, true), GetParam().fromFile);
  EXPECT_EQ(ImageFormat::FromContent(head, false), GetParam().fromMemory);
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, FormatFromContent,
    ::testing::Values(ContentCase{"photo.jpg", ImageFormat::kJpeg, ImageFormat::kJpeg},
                      ContentCase{"jpeg_no_extension", ImageFormat::kJpeg, ImageFormat::kJpeg},
                      ContentCase{"rgb24.bmp", ImageFormat::kBmp, ImageFormat::kBmp},
                      ContentCase{"pal8.bmp", ImageFormat::kBmp, ImageFormat::kBmp},
                      ContentCase{"photo.gif", ImageFormat::kGif, ImageFormat::kGif},
                      ContentCase{"photo.tif", ImageFormat::kTiff, ImageFormat::kTiff},
                      ContentCase{"photo.png", ImageFormat::kPng, ImageFormat::kPng},
                      ContentCase{"photo.pcx", ImageFormat::kPcx, ImageFormat::kUnknown},
                      ContentCase{"bottomup.tga", ImageFormat::kTga, ImageFormat::kUnknown},
                      ContentCase{"topdown.tga", ImageFormat::kTga, ImageFormat::kUnknown},
                      ContentCase{"garbage.bin", ImageFormat::kUnknown, ImageFormat::kUnknown},
                      ContentCase{"empty.jpg", ImageFormat::kUnknown, ImageFormat::kUnknown}));

TEST(FormatFromContent, BmpNeedsAKnownInfoHeader) {
  QByteArray text("BMtext that merely starts like a bitmap file, nothing more");
  EXPECT_EQ(ImageFormat::FromContent(text, true), ImageFormat::kUnknown);
}
