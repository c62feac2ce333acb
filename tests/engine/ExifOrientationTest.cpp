#include <gtest/gtest.h>

#include <QByteArray>

#include "EngineFixtures.h"
#include "engine/ExifOrientation.h"
#include "engine/clsImage.h"

using EngineFixtures::Rgb;

namespace {

QByteArray App1(bool little, unsigned orientation, unsigned type = 3) {
  auto u16 = [&](unsigned v) {
    const char lo = char(v & 0xFF), hi = char(v >> 8);
    return little ? QByteArray(1, lo) + hi : QByteArray(1, hi) + lo;
  };
  auto u32 = [&](unsigned v) {
    return little ? u16(v & 0xFFFF) + u16(v >> 16) : u16(v >> 16) + u16(v & 0xFFFF);
  };
  QByteArray b = QByteArray("Exif\0\0", 6) + (little ? "II" : "MM") + u16(42) + u32(8);
  b += u16(2) + u16(0x010F) + u16(2) + u32(4) + u32(0);  // Make, skipped
  b += u16(0x0112) + u16(type) + u32(1) + u16(orientation) + u16(0) + u32(0);
  return b;
}

int Read(const QByteArray& b) {
  return ExifOrientation::FromApp1(reinterpret_cast<const std::uint8_t*>(b.constData()),
                                   std::size_t(b.size()));
}

}  // namespace

TEST(ExifOrientation, ReadsBothByteOrdersAndRejectsNonsense) {
  for (unsigned o = 1; o <= 8; ++o) {
    EXPECT_EQ(Read(App1(true, o)), int(o));
    EXPECT_EQ(Read(App1(false, o)), int(o));
  }
  EXPECT_EQ(Read(App1(true, 9)), 1);
  EXPECT_EQ(Read(App1(true, 6, 4)), 1);        // wrong type
  EXPECT_EQ(Read(App1(true, 6).left(30)), 1);  // cut inside the entry
  EXPECT_EQ(Read(QByteArray("http://ns.adobe.com/xap/1.0/")), 1);
}

// A 3 x 2 picture with distinct pixels; each orientation must put stored pixel (0, 0)
// (and the one beside it) where the EXIF definition says the viewer sees them.
struct TurnCase {
  int orientation;
  int width, height;
  int x00, y00;  // where stored (0, 0) ends
  int x10, y10;  // where stored (1, 0) ends
};

class OrientationApply : public ::testing::TestWithParam<TurnCase> {};

TEST_P(OrientationApply, MovesPixelsLikeTheTagSays) {
  const TurnCase& c = GetParam();
  auto image = EngineFixtures::Make(3, 2, [](int x, int y) { return Rgb{x * 100, y * 100, 7}; });
  ImageDescriptor pixels = image->Pixels().Clone();
  ASSERT_TRUE(ExifOrientation::Apply(pixels, c.orientation));
  ASSERT_EQ(pixels.Width(), c.width);
  ASSERT_EQ(pixels.Height(), c.height);
  const std::uint8_t* p00 = pixels.Row(c.y00) + 3 * c.x00;
  const std::uint8_t* p10 = pixels.Row(c.y10) + 3 * c.x10;
  EXPECT_EQ(p00[0], 0);
  EXPECT_EQ(p00[1], 0);
  EXPECT_EQ(p10[0], 100);
  EXPECT_EQ(p10[1], 0);
}

INSTANTIATE_TEST_SUITE_P(
    All, OrientationApply,
    ::testing::Values(TurnCase{1, 3, 2, 0, 0, 1, 0}, TurnCase{2, 3, 2, 2, 0, 1, 0},
                      TurnCase{3, 3, 2, 2, 1, 1, 1}, TurnCase{4, 3, 2, 0, 1, 1, 1},
                      TurnCase{5, 2, 3, 0, 0, 0, 1}, TurnCase{6, 2, 3, 1, 0, 1, 1},
                      TurnCase{7, 2, 3, 1, 2, 1, 1}, TurnCase{8, 2, 3, 0, 2, 0, 1}));
