#include <gtest/gtest.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>

#include "LanguageFileWriter.h"
#include "settings/clsFile.h"

namespace {
QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

class clsFileTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString Path(const char* name) const { return dir.filePath(name); }
};
}  // namespace

TEST_F(clsFileTest, ReadsLittleEndianValuesOfEachWidth) {
  ASSERT_TRUE(WriteBytes(Path("v"), QByteArray("\x01\x02\x03\x04\xff\xfe\xfd\x7f", 8)));
  clsFile f;
  ASSERT_TRUE(f.OpenFile(Path("v"), 5));
  EXPECT_EQ(f.ReadValue(1), 0x01u);
  EXPECT_EQ(f.ReadValue(2), 0x0302u);
  EXPECT_EQ(f.ReadValue(3), 0xfeff04u);
  EXPECT_EQ(f.ReadValue(0), 0u);
  EXPECT_FALSE(f.ReadFailed());
  // Only two bytes are left: the missing ones count as zero and the failure is noted.
  EXPECT_EQ(f.ReadValue(3), 0x7ffdu);
  EXPECT_TRUE(f.ReadFailed());
}

TEST_F(clsFileTest, ReadsStringsAsWindows1252) {
  ASSERT_TRUE(WriteBytes(Path("s"), QByteArray("\x05\x00"
                                               "Caf\xe9\n\x00\x00\x04\x00"
                                               "ab",
                                               13)));
  clsFile f;
  ASSERT_TRUE(f.OpenFile(Path("s"), 5));
  EXPECT_EQ(f.ReadString(), QString::fromUtf8("Café\n"));
  EXPECT_EQ(f.ReadString(), "");
  EXPECT_FALSE(f.ReadFailed());
  EXPECT_EQ(f.ReadString(), "ab");  // announced 4 bytes, only 2 there
  EXPECT_TRUE(f.ReadFailed());
}

TEST_F(clsFileTest, OpenModes) {
  clsFile f;
  EXPECT_FALSE(f.OpenFile(Path("missing"), 5));
  EXPECT_FALSE(QFile::exists(Path("missing")));
  EXPECT_EQ(f.GetFileNumber(), -1);
  EXPECT_FALSE(f.OpenFile(Path("x"), 4));  // neither read nor write
  EXPECT_FALSE(f.OpenFile(QString(), 2));

  // Binary write keeps the bytes it does not overwrite; bit 16 starts from an empty file.
  ASSERT_TRUE(WriteBytes(Path("w"), "123456"));
  ASSERT_TRUE(f.OpenFile(Path("w"), 2));
  ASSERT_GE(f.GetFileNumber(), 0);
  EXPECT_EQ(::write(f.GetFileNumber(), "ab", 2), 2);
  f.CloseFile();
  EXPECT_EQ(ReadAll(Path("w")), "ab3456");
  ASSERT_TRUE(f.OpenFile(Path("w"), 22));
  EXPECT_EQ(::write(f.GetFileNumber(), "xy", 2), 2);
  f.CloseFile();
  EXPECT_EQ(ReadAll(Path("w")), "xy");

  // Text output truncates; read and write creates a missing file.
  ASSERT_TRUE(f.OpenFile(Path("w"), 2 | 8));
  f.CloseFile();
  EXPECT_EQ(ReadAll(Path("w")), "");
  ASSERT_TRUE(f.OpenFile(Path("rw"), 3));
  EXPECT_TRUE(QFile::exists(Path("rw")));
}
