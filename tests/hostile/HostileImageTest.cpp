// Every picture of the corrupt-file corpus (make_corpus.py) goes through CreateFromFile and
// CreateFromBuffer in a child process: a damaged file gives false and an empty picture, never
// a crash, a hang or a memory spike; the good base files prove the harness can succeed.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "ProbeRun.h"

namespace {

constexpr long kMemoryLimitKb = 1024L * 1024L;  // 1 GB
constexpr int kBaseWidth = 8;
constexpr int kBaseHeight = 6;

QString Corpus() { return QStringLiteral(HOSTILE_CORPUS); }

struct Outcome {
  bool ok = false, holds = false;
  int width = -1, height = -1;
  bool found = false;
};

Outcome Parse(const QByteArray& output, const char* how) {
  Outcome o;
  for (const QByteArray& line : output.split('\n')) {
    const QList<QByteArray> f = line.split(' ');
    if (f.size() != 5 || f[0] != how) continue;
    o = {f[1] == "1", f[2] == "1", f[3].toInt(), f[4].toInt(), true};
  }
  return o;
}

// Formats found by content from memory; PCX and TGA are recognised from files only.
bool LoadableFromMemory(const QString& format) {
  static const QStringList kFormats{"bmp", "jpg", "jpeg", "gif", "tif", "tiff", "png"};
  return kFormats.contains(format);
}

// What a case must give, read from its name: base-<fmt>.* loads whole; wrongext-<fmt>-as.*
// fails from the file (the extension decides) but loads from its bytes (the content decides);
// a tolerated case may load whole or fail; every other case fails.
struct Expected {
  bool fromFile = false, fromBuffer = false;
  bool tolerated = false;
};

// Damage that decoders repair to a picture of the right size: out-of-range palette indices
// (shown as some colour), a bogus strip length (recomputed), a strip at offset 0 (header bytes
// read as pixels). Not a crash and not a wrong size, so either result is fine.
const QRegularExpression kTolerated("^(palette-range|strips-huge-count|strips-zero-offset)\\.");

Expected ExpectedFor(const QString& name) {
  static const QRegularExpression kBase("^base-(\\w+)\\.");
  static const QRegularExpression kWrong("^wrongext-(\\w+)-as\\.");
  if (const auto m = kBase.match(name); m.hasMatch())
    return {true, LoadableFromMemory(m.captured(1))};
  if (const auto m = kWrong.match(name); m.hasMatch())
    return {false, LoadableFromMemory(m.captured(1))};
  if (kTolerated.match(name).hasMatch()) return {false, false, true};
  return {};
}

// Picture inputs the fuzzers found, kept under fuzz/regressions/; those of open faults are
// listed in its open.txt.
QString Regressions() { return QStringLiteral(HOSTILE_FUZZ_REGRESSIONS); }

QStringList OpenRegressions() {
  QFile file(Regressions() + "/open.txt");
  QStringList open;
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return open;
  for (const QString& line : QString::fromUtf8(file.readAll()).split('\n'))
    if (!line.isEmpty() && !line.startsWith('#')) open << line.trimmed();
  return open;
}

struct PictureCase {
  std::string path;
  bool regression = false;  // a fuzz finding: any clean result will do
};
void PrintTo(const PictureCase& c, std::ostream* os) { *os << c.path; }

std::vector<PictureCase> PictureCases(bool knownFaults) {
  std::vector<PictureCase> cases;
  for (const QString& n : QDir(Corpus()).entryList(QDir::Files, QDir::Name)) {
    if (!n.startsWith("lng-") && !knownFaults)
      cases.push_back({(Corpus() + "/" + n).toStdString(), false});
  }
  const QStringList open = OpenRegressions();
  for (const char* target : {"fuzz_image_buffer", "fuzz_image_file"}) {
    const QDir dir(Regressions() + "/" + target);
    for (const QString& n : dir.entryList(QDir::Files, QDir::Name)) {
      if (open.contains(QString(target) + "/" + n) == knownFaults)
        cases.push_back({dir.filePath(n).toStdString(), true});
    }
  }
  return cases;
}

class CorruptPicture : public ::testing::TestWithParam<PictureCase> {};

// anySize: a fuzz finding, whose picture (when it loads) may have any size.
void ExpectOutcome(const Outcome& o, bool loads, const char* how, bool anySize) {
  ASSERT_TRUE(o.found) << how << ": no report";
  EXPECT_EQ(o.ok, loads) << how;
  if (loads) {
    EXPECT_TRUE(o.holds) << how;
    if (!anySize) {
      EXPECT_EQ(o.width, kBaseWidth) << how;
      EXPECT_EQ(o.height, kBaseHeight) << how;
    }
  } else {
    // A failed load leaves the object empty, even though it held a picture before.
    EXPECT_FALSE(o.holds) << how;
    EXPECT_EQ(o.width, 0) << how;
    EXPECT_EQ(o.height, 0) << how;
  }
}

TEST_P(CorruptPicture, FailsCleanlyWithinMemory) {
  const QString path = QString::fromStdString(GetParam().path);
  const ProbeRun run =
      ProbeRun::Start(QStringLiteral(HOSTILE_PROBE), {path, Corpus() + "/base-png.png"});
  ASSERT_TRUE(run.exitedNormally) << "child ended by signal " << run.signal;
  ASSERT_EQ(run.exitCode, 0) << run.output.constData();
  Expected expected = ExpectedFor(QFileInfo(path).fileName());
  if (GetParam().regression) expected = {false, false, true};
  for (const char* how : {"file", "buffer"}) {
    const Outcome o = Parse(run.output, how);
    const bool loads = std::string(how) == "file" ? expected.fromFile : expected.fromBuffer;
    ExpectOutcome(o, expected.tolerated ? o.ok : loads, how, GetParam().regression);
  }
  EXPECT_LT(run.peakRssKb, kMemoryLimitKb);
}

std::string CaseName(const ::testing::TestParamInfo<PictureCase>& info) {
  std::string s = (info.param.regression ? "found_" : "") +
                  QFileInfo(QString::fromStdString(info.param.path)).fileName().toStdString();
  for (char& c : s)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return s;
}

// Kept fuzz findings still open (fuzz/regressions/open.txt) run only on request
// (--gtest_also_run_disabled_tests).
INSTANTIATE_TEST_SUITE_P(Corpus, CorruptPicture, ::testing::ValuesIn(PictureCases(false)),
                         CaseName);
INSTANTIATE_TEST_SUITE_P(DISABLED_OpenFindings, CorruptPicture,
                         ::testing::ValuesIn(PictureCases(true)), CaseName);

TEST(CorruptCorpus, HoldsEveryKindOfDamage) {
  // Guards against an empty or half-generated corpus folder silently running no cases.
  const QStringList names = QDir(Corpus()).entryList(QDir::Files);
  for (const char* kind : {"base-", "zero-", "trunc-", "wrongext-", "giant-", "palette-",
                           "noframes", "strips-", "lng-"}) {
    EXPECT_TRUE(std::any_of(names.begin(), names.end(), [&](const QString& n) {
      return n.startsWith(kind);
    })) << kind;
  }
  EXPECT_EQ(names.filter(QRegularExpression("^base-")).size(), 9);  // one per extension
}

}  // namespace
