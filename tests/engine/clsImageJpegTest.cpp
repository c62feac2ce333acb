#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstring>

#include "EngineFixtures.h"
#include "TestEnv.h"
#include "engine/JpegCodec.h"
#include "engine/LumaSsim.h"
#include "engine/SafeFile.h"
#include "engine/clsImage.h"

using namespace EngineFixtures;

namespace {

// Texture with edges, so quality and size actually vary.
std::shared_ptr<clsImage> Photo(int w = 96, int h = 64) {
  return Make(w, h, [](int x, int y) {
    return Rgb{(x * 7 + y * 3) % 256, (x * x + y) % 256, x > y ? 220 : 30};
  });
}

bool SamePixels(const clsImage& a, const clsImage& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y)
    if (std::memcmp(a.Pixels().Row(y), b.Pixels().Row(y), std::size_t(a.Width()) * 3) != 0)
      return false;
  return true;
}

qint64 FileSize(const QString& path) { return QFileInfo(path).size(); }

}  // namespace

class RoundTrip : public ::testing::TestWithParam<int> {};

TEST_P(RoundTrip, SameQualityTwiceGivesSameSizeAndPixels) {
  auto photo = Photo();
  int first = -1, second = -1;
  auto a = photo->GetOptimizedInstance(GetParam(), nullptr, &first);
  auto b = photo->GetOptimizedInstance(GetParam(), nullptr, &second);
  EXPECT_GT(first, 0);
  EXPECT_EQ(first, second);
  EXPECT_TRUE(SamePixels(*a, *b));
  EXPECT_EQ(a->Width(), photo->Width());
}

TEST_P(RoundTrip, ReportedSizeIsTheSavedFileLength) {
  QTemporaryDir dir;
  auto photo = Photo();
  int size = 0;
  auto preview = photo->GetOptimizedInstance(GetParam(), nullptr, &size);
  const QString viaIjl = dir.path() + "/a.jpg", viaSavejpg = dir.path() + "/b.jpg";
  ASSERT_TRUE(photo->SaveIJLjpg(viaIjl, GetParam()));
  ASSERT_TRUE(photo->savejpg(viaSavejpg, GetParam(), 0));
  EXPECT_EQ(FileSize(viaIjl), size);
  EXPECT_EQ(FileSize(viaSavejpg), size);
  clsImage saved;  // and the preview is exactly what the file decodes to
  ASSERT_TRUE(saved.CreateFromFile(viaIjl));
  EXPECT_TRUE(SamePixels(saved, *preview));
}

INSTANTIATE_TEST_SUITE_P(Qualities, RoundTrip, ::testing::Values(1, 9, 70, 100));

// Each choice of the tuned encoder against libjpeg-turbo's plain encoder with the same chroma
// layout and scans: a file libjpeg reads, never larger than the plain file that looks as good.
struct EncoderCase {
  const char* file;
  bool progressive;
  std::optional<ChromaChoice::Layout> chroma;  // unset: chosen, against plain 4:2:0
  bool trellis;
};

void PrintTo(const EncoderCase& c, std::ostream* os) {
  static const char* const layouts[] = {"4:4:4", "4:2:2", "4:2:0"};
  *os << c.file << (c.progressive ? " progressive " : " baseline ")
      << (c.chroma ? layouts[int(*c.chroma)] : "chroma chosen") << (c.trellis ? " trellis" : "");
}

class EncoderChoice : public ::testing::TestWithParam<EncoderCase> {};

namespace {
double Look(const ImageDescriptor& picture, const JpegCodec::Settings& settings, qsizetype& bytes) {
  QByteArray jpeg;
  ImageDescriptor decoded;
  int orientation = 1;
  if (!JpegCodec::Encode(picture, settings, jpeg) ||
      !JpegCodec::Decode(reinterpret_cast<const std::uint8_t*>(jpeg.constData()),
                         std::size_t(jpeg.size()), decoded, &orientation))
    return -1;
  bytes = jpeg.size();
  return LumaSsim::Compare(picture, decoded);
}
}  // namespace

TEST_P(EncoderChoice, NeverLargerThanPlainAtTheSameLook) {
  const EncoderCase& c = GetParam();
  clsImage picture;
  ASSERT_TRUE(picture.CreateFromFile(TestEnv::SourceDir() + "/" + c.file));
  JpegCodec::Settings tuned;
  tuned.plain = false;
  tuned.quality = 75;
  tuned.progressive = c.progressive;
  tuned.chroma = c.chroma;
  tuned.trellis = c.trellis;
  qsizetype ours = 0, plainBytes = 0;
  const double look = Look(picture.Pixels(), tuned, ours);
  ASSERT_GT(look, 0.5);
  JpegCodec::Settings plain = tuned;
  plain.plain = true;
  int low = 1, high = 100;  // the lowest plain quality that looks at least as good
  while (low < high) {
    const int q = (low + high) / 2;
    plain.quality = q;
    if (Look(picture.Pixels(), plain, plainBytes) >= look) high = q; else low = q + 1;
  }
  plain.quality = low;
  Look(picture.Pixels(), plain, plainBytes);
  EXPECT_LE(ours, plainBytes) << "plain quality " << low << " looks as good";
}

using Layout = ChromaChoice::Layout;
INSTANTIATE_TEST_SUITE_P(
    Choices, EncoderChoice,
    ::testing::Values(EncoderCase{"samples/Mountain lake.jpg", false, {}, true},
                      EncoderCase{"samples/Mountain lake.jpg", true, Layout::k444, true},
                      EncoderCase{"samples/Mountain lake.jpg", false, Layout::k422, false},
                      EncoderCase{"samples/Snowy ridge.png", true, {}, true},
                      EncoderCase{"samples/Snowy ridge.png", false, Layout::k420, true},
                      EncoderCase{"samples/Snowy ridge.png", true, Layout::k420, false},
                      EncoderCase{"samples/Old postcard.pcx", false, Layout::k444, false},
                      EncoderCase{"samples/Old postcard.pcx", true, {}, true}));

TEST(RoundTripSize, LowerQualityGivesSmallerFiles) {
  auto photo = Photo();
  int low = 0, high = 0;
  photo->GetOptimizedInstance(20, nullptr, &low);
  photo->GetOptimizedInstance(95, nullptr, &high);
  EXPECT_LT(low, high);
}

TEST(RoundTripDestination, SameSizeDestinationIsReused) {
  auto photo = Photo();
  auto dest = std::make_shared<clsImage>();
  dest->Create(photo->Width(), photo->Height(), 24);
  const std::uint8_t* bits = dest->Pixels().Bits();
  const int dc = dest->hDC();
  EXPECT_EQ(photo->GetOptimizedInstance(70, dest), dest);
  EXPECT_EQ(dest->Pixels().Bits(), bits);
  EXPECT_EQ(dest->hDC(), dc);
  EXPECT_NE(PixelAt(*dest, 80, 10), (Rgb{0, 0, 0}));  // really decoded into it
}

TEST(RoundTripDestination, FailedEncodeLeavesSizeAndDestination) {
  clsImage empty;
  auto dest = Photo(8, 8);
  int size = 1234;
  EXPECT_EQ(empty.GetOptimizedInstance(70, dest, &size), dest);
  EXPECT_EQ(size, 1234);
  EXPECT_EQ(dest->Width(), 8);
  auto fresh = empty.GetOptimizedInstance(70, nullptr, &size);
  ASSERT_TRUE(fresh);
  EXPECT_EQ(fresh->hDC(), 0);
}

class PaddedWidth : public ::testing::TestWithParam<int> {};

TEST_P(PaddedWidth, EncodesWithoutSkew) {
  const int w = GetParam();
  // Left column black, the rest white: a skew would move the dark column along the rows.
  auto image = Make(w, 32, [](int x, int) { return x == 0 ? Rgb{0, 0, 0} : Rgb{255, 255, 255}; });
  ASSERT_NE(image->Pixels().PadBytes(), 0);
  auto back = image->GetOptimizedInstance(100);
  ASSERT_EQ(back->Width(), w);
  for (int y = 0; y < 32; ++y) {
    EXPECT_LT(PixelAt(*back, 0, y)[0], 60) << "row " << y;
    EXPECT_GT(PixelAt(*back, w - 1, y)[0], 200) << "row " << y;
  }
}

INSTANTIATE_TEST_SUITE_P(Widths, PaddedWidth, ::testing::Values(5, 6, 7, 13));

TEST(ByteForm, SaveThenLoadGivesTheSameSize) {
  auto photo = Photo();
  QByteArray bytes;
  photo->SaveToBuffer(bytes);
  int size = 0;
  photo->GetOptimizedInstance(clsImage::kBufferQuality, nullptr, &size);
  EXPECT_EQ(bytes.size(), size);
  clsImage back;
  back.LoadFromBuffer(bytes);
  EXPECT_EQ(back.Width(), photo->Width());
  EXPECT_EQ(back.Height(), photo->Height());
  clsImage empty;
  empty.SaveToBuffer(bytes);
  EXPECT_TRUE(bytes.isEmpty());
  back.LoadFromBuffer(bytes);
  EXPECT_EQ(back.hDC(), 0);
}

TEST(ByteForm, CorruptJpegBytesEmptyTheTarget) {
  auto target = Photo();
  QByteArray bytes;
  target->SaveToBuffer(bytes);
  bytes.truncate(8);  // cut inside the JFIF header
  EXPECT_FALSE(target->LoadIJLjpgFromBuffer(bytes));
  EXPECT_EQ(target->hDC(), 0);
}

TEST(SaveJpeg, ReplacesAWritableFileAndLeavesNoTemporaries) {
  QTemporaryDir dir;
  const QString target = dir.path() + "/out.jpg";
  QFile old(target);
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("old contents");
  old.close();
  ASSERT_TRUE(Photo()->SaveIJLjpg(target, 70));
  clsImage back;
  EXPECT_TRUE(back.CreateFromFile(target));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"out.jpg"});
}

TEST(SaveJpeg, WriteProtectedTargetIsRefusedAndUntouched) {
  QTemporaryDir dir;
  const QString target = dir.path() + "/locked.jpg";
  QFile old(target);
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("keep me");
  old.close();
  ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), 0444), 0);
  EXPECT_TRUE(SafeFile::IsWriteProtected(target));
  EXPECT_FALSE(Photo()->SaveIJLjpg(target, 70));  // also when the tests run as root
  QByteArray kept;
  ASSERT_TRUE(SafeFile::Read(target, kept));
  EXPECT_EQ(kept, QByteArray("keep me"));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}

TEST(SaveJpeg, FailuresReturnFalse) {
  QTemporaryDir dir;
  clsImage empty;
  EXPECT_FALSE(empty.SaveIJLjpg(dir.path() + "/empty.jpg", 70));
  EXPECT_FALSE(QFile::exists(dir.path() + "/empty.jpg"));
  EXPECT_FALSE(Photo()->SaveIJLjpg(dir.path() + "/no/such/folder/a.jpg", 70));
  EXPECT_FALSE(Photo()->SaveIJLjpg(dir.path(), 70));  // a folder is no file
}
