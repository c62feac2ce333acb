#include <gtest/gtest.h>

#include <cmath>

#include "WizardFixtures.h"
#include "core/BatchJob.h"

using namespace WizardFixtures;

namespace {

// Pads a JPEG to exactly length bytes with one comment segment after its start marker: the
// decoded pixels, and so the optimised output, stay the same.
bool PadJpeg(const QString& path, qint64 length) {
  QByteArray bytes = Bytes(path);
  const qint64 pad = length - bytes.size();
  if (pad == 0) return true;
  if (pad < 4 || pad > 0xFFFF + 2 || !bytes.startsWith("\xFF\xD8")) return false;
  const int segment = int(pad - 2);  // the length field counts itself, not the marker
  QByteArray comment("\xFF\xFE", 2);
  comment.append(char(segment >> 8)).append(char(segment & 0xFF));
  comment.append(QByteArray(int(pad - 4), 'c'));
  bytes.insert(2, comment);
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// The label as a user would work it out: written over read, in percent, to the nearest
// integer with halves to even (nearbyint rounds that way in the default mode).
QString ExpectedLabel(qint64 written, qint64 read) {
  return QString::number(qint64(std::nearbyint(100.0 * double(written) / double(read)))) + "%";
}

class BatchCompression : public RunFolderTest {
 protected:
  static qint64 Size(const QString& path) { return QFileInfo(path).size(); }
};

TEST_F(BatchCompression, TheLabelComparesTheWrittenFilesWithTheirSources) {
  const QStringList sources = {Picture(root + "/a.png", 300, 200),
                               Picture(root + "/b.jpg", 640, 480), Picture(root + "/c.gif")};
  qint64 read = 0;
  for (const QString& s : sources) read += Size(s);
  frmBatch batch;
  ASSERT_TRUE(RunToEnd(batch, sources, false, out, dialogs));
  const qint64 written = Size(out + "/a.jpg") + Size(out + "/b.jpg") + Size(out + "/c.jpg");
  ASSERT_GT(written, 0);
  EXPECT_EQ(Ratio(batch), ExpectedLabel(written, read));
  Registry().SetValue("KeepSmaller", "");
}

// Sources padded to a chosen multiple of what the run writes put the figure exactly on a
// half: 3/8 is 37.5 % (as 1500 bytes written from 4000 read), 5/8 is 62.5 %.
struct HalfCase {
  int writtenParts, readParts;
  const char* label;
};

void PrintTo(const HalfCase& c, std::ostream* os) {
  *os << c.writtenParts << "/" << c.readParts << " -> " << c.label;
}

class BatchCompressionHalves : public BatchCompression,
                               public ::testing::WithParamInterface<HalfCase> {};

TEST_P(BatchCompressionHalves, AnExactHalfRoundsToTheEvenNeighbour) {
  const HalfCase c = GetParam();
  // Quality 70 is above the sources' own 20, so each is rewritten losslessly, never longer than
  // itself: padding each source by the same share of what it writes reaches any wanted total.
  // Picture sizes are tried until the written total divides evenly.
  const QString a = root + "/a.jpg", b = root + "/b.jpg";
  qint64 writtenA = 0, writtenB = 0;
  bool found = false;
  // The results are bigger than the sources: written all the same.
  BatchOptions larger;
  larger.allowLarger = true;
  Registry().OpenReg("Batch");
  Registry().SetValue("KeepSmaller", "0");
  for (int w = 40; w < 120 && !found; w += 3) {
    Picture(a, w, 40, 20);
    Picture(b, 56, w, 20);
    writtenA = BatchJob::Run(a, root + "/probe-a.jpg", larger).bytesAfter;
    writtenB = BatchJob::Run(b, root + "/probe-b.jpg", larger).bytesAfter;
    found = writtenA > 0 && writtenB > 0 && (writtenA + writtenB) % c.writtenParts == 0;
  }
  ASSERT_TRUE(found);
  const qint64 written = writtenA + writtenB;
  const qint64 read = written / c.writtenParts * c.readParts;
  const qint64 readA = read * writtenA / written;
  ASSERT_TRUE(PadJpeg(a, readA));
  ASSERT_TRUE(PadJpeg(b, read - readA));

  frmBatch batch;
  ASSERT_TRUE(RunToEnd(batch, {a, b}, false, out, dialogs));
  ASSERT_EQ(Size(out + "/a.jpg"), writtenA);  // padding changed nothing in the pixels
  ASSERT_EQ(Size(out + "/b.jpg"), writtenB);
  EXPECT_EQ(batch.Totals().Original(), read);
  EXPECT_EQ(Ratio(batch), QString(c.label));
  EXPECT_EQ(Ratio(batch), ExpectedLabel(written, read));
}

INSTANTIATE_TEST_SUITE_P(Halves, BatchCompressionHalves,
                         ::testing::Values(HalfCase{3, 8, "38%"}, HalfCase{5, 8, "62%"}),
                         [](const ::testing::TestParamInfo<HalfCase>& info) {
                           return "Written" + std::to_string(info.param.writtenParts) + "of" +
                                  std::to_string(info.param.readParts);
                         });

}  // namespace
