#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "core/SaveName.h"
#include "optimizer/clsFileData.h"

namespace {

struct NameCase {
  const char* given;
  const char* written;
};
class JpegNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(JpegNameTest, EverySaveIsAJpegName) {
  EXPECT_EQ(SaveName::JpegName(GetParam().given), QString(GetParam().written));
}

INSTANTIATE_TEST_SUITE_P(Cases, JpegNameTest,
                         ::testing::Values(NameCase{"/out/a.b.png", "/out/a.b.jpg"},
                                           NameCase{"/out/name", "/out/name.jpg"},
                                           NameCase{"/my.dir/name", "/my.dir/name.jpg"},
                                           NameCase{"/out/x.JPEG", "/out/x.JPEG"},
                                           NameCase{"/out/x.Jpg", "/out/x.Jpg"},
                                           NameCase{"/out/x.jpeg.bmp", "/out/x.jpeg.jpg"},
                                           NameCase{"photo.bmp", "photo.jpg"}));

struct CharsCase {
  const char* name;
  bool refused;
};
class InvalidCharsTest : public ::testing::TestWithParam<CharsCase> {};

TEST_P(InvalidCharsTest, OnlyTheNamePartIsChecked) {
  EXPECT_EQ(SaveName::HasInvalidChars(GetParam().name), GetParam().refused);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InvalidCharsTest,
    ::testing::Values(CharsCase{"/out/a?b.jpg", true}, CharsCase{"/out/a*b.jpg", true},
                      CharsCase{"/out/a:b.jpg", true}, CharsCase{"/out/a\"b.jpg", true},
                      CharsCase{"/out/a<b.jpg", true}, CharsCase{"/out/a>b.jpg", true},
                      CharsCase{"/out/a|b.jpg", true}, CharsCase{"/out/a\\b.jpg", true},
                      CharsCase{"/a:dir/b.jpg", false},  // a colon in the folder is fine
                      CharsCase{"/out/my photo (2).jpg", false}));

class clsFileDataTest : public ::testing::Test {
 protected:
  QString Make(const QString& name, const QByteArray& bytes) {
    QFile f(dir_.filePath(name));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return f.fileName();
  }
  QTemporaryDir dir_;
};

TEST_F(clsFileDataTest, KeepsTheWholeFileAndItsName) {
  const QByteArray bytes("\xff\xd8\0\1picture", 11);
  clsFileData data;
  ASSERT_TRUE(data.OpenFile(Make("my photo.jpg", bytes)));
  EXPECT_EQ(data.GetFileName(), "my photo.jpg");
  EXPECT_EQ(data.GetBuffer(), bytes);
  // The bytes stay even when the file changes on disk.
  Make("my photo.jpg", "other");
  EXPECT_EQ(data.GetBuffer(), bytes);
  data.CloseFile();
  EXPECT_EQ(data.GetFileName(), "");
}

TEST_F(clsFileDataTest, RefusesWhatItCannotHoldAndKeepsWhatItHas) {
  clsFileData data;
  ASSERT_TRUE(data.OpenFile(Make("first.png", "abc")));
  for (const QString& bad : {QString(), dir_.filePath("missing.jpg"), Make("empty.jpg", ""),
                             Make(".hidden.jpg", "abc"), dir_.path()}) {
    EXPECT_FALSE(data.OpenFile(bad)) << bad.toStdString();
    EXPECT_EQ(data.GetFileName(), "first.png");
    EXPECT_EQ(data.GetBuffer(), QByteArray("abc"));
  }
}

}  // namespace
