// The rules that keep people's originals: run through trimjet-cli, which shares the batch
// core with the wizard, on real photographs in a scratch folder.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "TestEnv.h"
#include "engine/clsImage.h"

namespace {

QByteArray Bytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Put(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

QString Sample(const QString& name) { return TestEnv::SourceDir() + "/samples/" + name; }

// The JPEG with a marker segment put right after its start marker.
QByteArray WithSegment(const QByteArray& jpeg, char marker, const QByteArray& payload) {
  const int length = int(payload.size()) + 2;
  return jpeg.left(2) + '\xFF' + marker + char(length >> 8) + char(length & 0xFF) + payload +
         jpeg.mid(2);
}

const QByteArray kXmp = QByteArray("http://ns.adobe.com/xap/1.0/\0", 29);

struct Case {
  const char* name;
  // What lies in dir before the run: "photo" a real JPEG, "small" the same at quality 40,
  // "cut" the photo cut off half way, "cuteoi" the same ended with an EOI marker, "corrupt" the
  // photo with bytes overwritten in the middle, "png" a PNG, "cutpng" that PNG cut half way,
  // "other" a JPEG of another picture, "link" a link to ../outside.jpg, "huge" a JPEG claiming
  // 60000 x 60000 pixels, "motion" the photo as a motion photo, "trailer" the photo followed by
  // data of no known use, "mpf" the photo with an MPF second picture, "private" the small one with
  // a GPS position and a comment.
  std::vector<std::pair<const char*, const char*>> files;
  std::vector<const char*> args;  // "@" stands for the scratch folder
  const char* input;              // below the scratch folder
  const char* status;             // the picture's --json status
  const char* untouched;          // a file that must be byte-identical afterwards
  const char* written;            // a file that must exist and be a picture afterwards
  const char* reason;             // part of the reason, or empty
  std::vector<const char*> has = {};    // in the written file
  std::vector<const char*> lacks = {};  // nowhere in the written file
  bool otherUser = false;  // the run is an ordinary user's, the files root's (root only)
};

class SafeOriginals : public ::testing::TestWithParam<Case> {};

TEST_P(SafeOriginals, NeverReplaceWhatNobodyChoseNorMakeItWorse) {
  const Case c = GetParam();
  if (c.otherUser && ::geteuid() != 0) GTEST_SKIP() << "needs root to own a file for another";
  QTemporaryDir dir;
  const QString root = dir.path() + "/";
  ASSERT_TRUE(QDir(root).mkpath("in"));
  ASSERT_TRUE(QDir(root).mkpath("out"));
  clsImage photo;
  ASSERT_TRUE(photo.CreateFromFile(Sample("Evening field.jpg")));
  const QByteArray original = Bytes(Sample("Evening field.jpg"));
  for (const auto& [kind, name] : c.files) {
    const QString path = root + name;
    const QString k = kind;
    if (k == "photo") Put(path, original);
    if (k == "small") {
      ASSERT_TRUE(photo.SaveIJLjpg(path, 40));
    }
    if (k == "cut") Put(path, original.left(original.size() / 2));
    if (k == "cuteoi") Put(path, original.left(original.size() / 2) + "\xFF\xD9");
    if (k == "corrupt") {
      // No 0xFF among them, so no false marker: only the entropy data is wrong.
      Put(path, QByteArray(original).replace(original.size() / 2, 4096, QByteArray(4096, 0x5A)));
    }
    if (k == "png" || k == "cutpng") {
      ASSERT_TRUE(QImage(Sample("Coast.gif")).save(path, "PNG"));
      if (k == "cutpng") {
        const QByteArray png = Bytes(path);
        Put(path, png.left(png.size() / 2));
      }
    }
    if (k == "other") Put(path, Bytes(Sample("Green hills.jpg")));
    if (k == "motion") {
      // As phones write it: the XMP gives the MP4's distance from the end of the file.
      const QByteArray video = QByteArray(
                                   "\0\0\0\x20"
                                   "ftypisom",
                                   12) +
                               QByteArray(9000, 'v');
      Put(path, WithSegment(original, '\xE1',
                            kXmp + "<x:xmpmeta GCamera:MicroVideoOffset=\"" +
                                QByteArray::number(video.size()) + "\"/>") +
                    video);
    }
    if (k == "trailer") Put(path, original + QByteArray("JUNKJUNK").repeated(500));
    if (k == "mpf") {
      Put(path, WithSegment(original, '\xE2', QByteArray("MPF\0MM\0\x2A\0\0\0\x08", 12)) +
                    Bytes(Sample("Green hills.jpg")));
    }
    if (k == "private") {
      // Turned by its EXIF, so it is not rewritten losslessly either, and is kept.
      ASSERT_TRUE(photo.SaveIJLjpg(path, 40));
      const QByteArray gps = kXmp + "<x:xmpmeta exif:GPSLatitude=\"51,30.5N\"/>";
      const QByteArray turned(
          "Exif\0\0MM\0*\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01\0\x06"
          "\0\0\0\0\0\0OLYMPUS E-M5",
          44);
      Put(path,
          WithSegment(WithSegment(WithSegment(Bytes(path), '\xFE', "secret place"), '\xE1', gps),
                      '\xE1', turned));
    }
    if (k == "huge") Put(path, Bytes(TestEnv::SourceDir() + "/tests/engine/fixtures/huge.jpg"));
    if (k == "link") {
      Put(root + "outside.jpg", Bytes(Sample("Desert sunset.jpg")));
      ASSERT_TRUE(QFile::link(root + "outside.jpg", path));
    }
  }
  {
    // An old date, which a kept date carries over.
    QFile input(root + c.input);
    ASSERT_TRUE(input.open(QIODevice::ReadWrite));
    ASSERT_TRUE(input.setFileTime(QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6)),
                                  QFileDevice::FileModificationTime));
  }
  const QByteArray before = Bytes(root + c.untouched);
  ASSERT_FALSE(before.isEmpty());

  QStringList args{"--json", "--jobs", "1"};
  for (const char* a : c.args) args << QString(a).replace("@", dir.path());
  args << root + c.input;
  QProcess p;
  if (c.otherUser) {
    // Another user's photo in a folder everyone may write.
    ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
    ::chmod(QFile::encodeName(root + "in").constData(), 0777);
    ::chmod(QFile::encodeName(root + c.input).constData(), 0666);
    p.setChildProcessModifier([] {
      if (::setgid(1234) != 0 || ::setuid(1234) != 0) ::_exit(3);
    });
  }
  p.start(TestEnv::BinDir() + "/trimjet-cli", args);
  ASSERT_TRUE(p.waitForFinished(120000));
  const QList<QByteArray> lines = p.readAllStandardOutput().split('\n');
  ASSERT_GE(lines.size(), 2) << p.readAllStandardError().toStdString();
  const QJsonObject j = QJsonDocument::fromJson(lines[0]).object();

  EXPECT_EQ(j["status"].toString(), c.status) << lines[0].toStdString();
  EXPECT_TRUE(j["reason"].toString().contains(c.reason)) << j["reason"].toString().toStdString();
  EXPECT_EQ(Bytes(root + c.untouched), before) << c.untouched;
  if (*c.written) {
    EXPECT_EQ(j["destination"].toString(), root + c.written);
    if (args.contains("--keep-dates")) {
      EXPECT_EQ(QFileInfo(root + c.written).lastModified(),
                QFileInfo(root + c.input).lastModified());
    }
    clsImage result;
    EXPECT_TRUE(result.CreateFromFile(root + c.written)) << c.written;
    const QByteArray written = Bytes(root + c.written);
    for (const char* part : c.has) EXPECT_TRUE(written.contains(part)) << part;
    for (const char* part : c.lacks) EXPECT_FALSE(written.contains(part)) << part;
  }
  if (c.otherUser) {
    EXPECT_EQ(QFileInfo(root + c.input).ownerId(), 0u);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, SafeOriginals,
    ::testing::Values(
        // Another picture's JPEG beside a converted PNG: the PNG's JPEG says its format.
        Case{"UnselectedJpegBesideThePng",
             {{"png", "in/a.png"}, {"other", "in/a.jpg"}},
             {"--overwrite"},
             "in/a.png",
             "written",
             "in/a.jpg",
             "in/a (png).jpg",
             ""},
        Case{"UnselectedJpegEvenUnderSkip",
             {{"png", "in/a.png"}, {"other", "in/a.jpg"}},
             {"--overwrite", "--if-exists", "skip"},
             "in/a.png",
             "written",
             "in/a.jpg",
             "in/a (png).jpg",
             ""},
        // An output folder that is the source's folder never replaces the source.
        Case{"OutputDirIsTheSourceFolder",
             {{"photo", "in/a.jpg"}},
             {"--allow-larger", "--if-exists", "replace", "--output-dir", "@/in"},
             "in/a.jpg",
             "written",
             "in/a.jpg",
             "in/a (2).jpg",
             ""},
        // A link at the output name is another file: its target is never written.
        Case{"KeepDatesElsewhere",
             {{"photo", "in/a.jpg"}},
             {"--allow-larger", "--keep-dates", "--output-dir", "@/out"},
             "in/a.jpg",
             "written",
             "in/a.jpg",
             "out/a.jpg",
             ""},
        Case{"LinkInTheOutputFolder",
             {{"photo", "in/a.jpg"}, {"link", "out/a.jpg"}},
             {"--allow-larger", "--output-dir", "@/out"},
             "in/a.jpg",
             "written",
             "outside.jpg",
             "out/a (2).jpg",
             ""},
        // A JPEG already smaller than its re-encoding is kept, or copied as it is.
        Case{"SmallJpegKeptInPlace",
             {{"small", "in/a.jpg"}},
             {"--quality", "70", "--overwrite"},
             "in/a.jpg",
             "kept",
             "in/a.jpg",
             "",
             "already smaller"},
        Case{"SmallJpegCopiedElsewhere",
             {{"small", "in/a.jpg"}},
             {"--quality", "70", "--output-dir", "@/out"},
             "in/a.jpg",
             "kept",
             "in/a.jpg",
             "out/a.jpg",
             "already smaller"},
        // A JPEG whose data ends early never replaces itself; elsewhere it comes with a warning.
        Case{"CutJpegUntouched",
             {{"cut", "in/a.jpg"}},
             {"--allow-larger", "--overwrite"},
             "in/a.jpg",
             "failed",
             "in/a.jpg",
             "",
             "incomplete"},
        Case{"CutJpegWrittenElsewhere",
             {{"cut", "in/a.jpg"}},
             {"--allow-larger", "--output-dir", "@/out"},
             "in/a.jpg",
             "written",
             "in/a.jpg",
             "out/a.jpg",
             "incomplete"},
        // The decoder, not the file's last bytes, says whether data was lost.
        Case{"CutJpegWithEoiUntouched",
             {{"cuteoi", "in/a.jpg"}},
             {"--allow-larger", "--overwrite"},
             "in/a.jpg",
             "failed",
             "in/a.jpg",
             "",
             "incomplete"},
        Case{"CorruptJpegUntouched",
             {{"corrupt", "in/a.jpg"}},
             {"--allow-larger", "--overwrite"},
             "in/a.jpg",
             "failed",
             "in/a.jpg",
             "",
             "incomplete"},
        Case{"CutPngUntouched",
             {{"cutpng", "in/a.png"}},
             {"--overwrite"},
             "in/a.png",
             "failed",
             "in/a.png",
             "",
             "incomplete"},
        // A refusal says why.
        Case{"TooLargeSaysTheLimit",
             {{"huge", "in/a.jpg"}},
             {"--overwrite"},
             "in/a.jpg",
             "failed",
             "in/a.jpg",
             "",
             "too large: 60000 x 60000 pixels (the limit is 300"},
        // What follows a JPEG's end is carried over where its layout stays true, else the
        // original is left as it is; elsewhere the loss is said.
        Case{"MotionPhotoKeepsItsVideo",
             {{"motion", "in/a.jpg"}, {"other", "in/b.jpg"}},
             {"--allow-larger", "--overwrite"},
             "in/a.jpg",
             "written",
             "in/b.jpg",
             "in/a.jpg",
             "",
             {"ftypisom", "MicroVideoOffset"}},
        Case{"UnknownTrailerLeftInPlace",
             {{"trailer", "in/a.jpg"}},
             {"--allow-larger", "--overwrite"},
             "in/a.jpg",
             "kept",
             "in/a.jpg",
             "",
             "after its end marker would be lost"},
        Case{"UnknownTrailerElsewhereSaysSo",
             {{"trailer", "in/a.jpg"}},
             {"--allow-larger", "--output-dir", "@/out"},
             "in/a.jpg",
             "written",
             "in/a.jpg",
             "out/a.jpg",
             "is not carried over",
             {},
             {"JUNKJUNK"}},
        Case{"SecondPicturesLeftInPlace",
             {{"mpf", "in/a.jpg"}},
             {"--allow-larger", "--overwrite"},
             "in/a.jpg",
             "kept",
             "in/a.jpg",
             "",
             "(MPF) would be lost"},
        // Strip reaches a JPEG kept as it is: the same picture data without what tells where.
        Case{"StripReachesTheCopy",
             {{"private", "in/a.jpg"}},
             {"--quality", "70", "--strip", "--output-dir", "@/out"},
             "in/a.jpg",
             "kept",
             "in/a.jpg",
             "out/a.jpg",
             "already smaller",
             {"Exif"},
             {"GPSLatitude", "secret place", "OLYMPUS"}},
        // An owner that a new file would not keep: the file is not replaced.
        Case{"AnotherUsersPhotoNotTaken",
             {{"photo", "in/a.jpg"}},
             {"--allow-larger", "--overwrite"},
             "in/a.jpg",
             "failed",
             "in/a.jpg",
             "",
             "belongs to another user",
             {},
             {},
             true}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

// The copy of a kept JPEG is the source itself, byte for byte.
TEST(SafeOriginalsKept, CopyIsTheSource) {
  QTemporaryDir dir;
  clsImage photo;
  ASSERT_TRUE(photo.CreateFromFile(Sample("Evening field.jpg")));
  ASSERT_TRUE(photo.SaveIJLjpg(dir.path() + "/a.jpg", 40));
  QProcess p;
  p.start(TestEnv::BinDir() + "/trimjet-cli",
          {"--output-dir", dir.path() + "/out", dir.path() + "/a.jpg"});
  ASSERT_TRUE(p.waitForFinished(120000));
  EXPECT_EQ(Bytes(dir.path() + "/out/a.jpg"), Bytes(dir.path() + "/a.jpg"));
  EXPECT_TRUE(
      p.readAllStandardOutput().contains("Written 0, kept 1, skipped 0, failed 0; 0 bytes"));
}

}  // namespace
