// The hand-off and start-up together: what the plug-in builds for a selection must reach the
// window it asks for, whatever the selected paths contain; a folder or file named like a
// keyword must not take over the dispatch.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/StartupTargets.h"
#include "app/modMAIN.h"
#include "plugin/clsHandOff.h"

namespace {

class Recorder : public StartupTargets {
 public:
  QStringList calls;
  QStringList added;
  void ShowMainWindow(const QString&) override { calls << "main"; }
  void ShowOptimizer(const QString& path) override { calls << "optimizer:" + path; }
  void ShowAbout() override { calls << "about"; }
  void OfferStartupWizard() override { calls << "startupWizard"; }
  bool OpenBatch(const QStringList& paths, BatchPage) override {
    added << paths;
    calls << "batch";
    return true;
  }
  void Message(const QString& text, int) override { calls << "message:" + text; }
  void SetWaitCursor(bool) override {}
};

// The program's single argument: the line after the program path and its blank.
QString HandOff(const std::vector<std::string>& paths, int kind) {
  std::vector<HostRecords::EntryRecord> entries(paths.size());
  for (std::size_t i = 0; i < paths.size(); ++i) {
    entries[i].path = paths[i].c_str();
    entries[i].kind = kind;
  }
  HostRecords::InvocationRecord invocation{};
  invocation.entryCount = int(entries.size());
  invocation.entries = entries.data();
  clsHandOff handOff("/opt/trimjet/Trimjet.hpx");
  const std::size_t start = handOff.Length();
  EXPECT_TRUE(handOff.BuildCommand(&invocation));
  return QString::fromUtf8(handOff.Text() + start);
}

struct KeywordCase {
  const char* folder;  // inside a temporary folder
  const char* name;    // the first picture; a batch adds name + "2.jpg"
  bool batch;
};
void PrintTo(const KeywordCase& c, std::ostream* os) {
  *os << c.folder << "/" << c.name << (c.batch ? " and one more" : "");
}

class KeywordInPath : public ::testing::TestWithParam<KeywordCase> {};

TEST_P(KeywordInPath, HandOffOpensTheWindowItAsksFor) {
  QTemporaryDir dir;
  const QString folder = dir.path() + "/" + GetParam().folder;
  ASSERT_TRUE(QDir().mkpath(folder));
  QStringList files{folder + "/" + GetParam().name};
  if (GetParam().batch) files << folder + "/" + GetParam().name + "2.jpg";
  std::vector<std::string> paths;
  for (const QString& f : files) {
    QFile file(f);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    paths.push_back(f.toStdString());
  }
  Recorder targets;
  modMAIN::Main(HandOff(paths, 2), targets);
  if (GetParam().batch) {
    EXPECT_EQ(targets.calls.join(" | ").toStdString(), "batch");
    EXPECT_EQ(targets.added.join(" | ").toStdString(), files.join(" | ").toStdString());
  } else {
    EXPECT_EQ(targets.calls.join(" | ").toStdString(), ("optimizer:" + files[0]).toStdString());
  }
}

INSTANTIATE_TEST_SUITE_P(Names, KeywordInPath,
                         ::testing::Values(KeywordCase{"OptimizeImage shots", "a.jpg", true},
                                           KeywordCase{"Debug:StartMain", "b.jpg", true},
                                           KeywordCase{"x", "OptimizeImage.jpg", true},
                                           KeywordCase{"Debug:StartMain", "c.jpg", false}));

TEST(HandOffReachesStartup, PlainNamesOpenTheirWindows) {
  // The same round trip without keywords in the paths: the control for the cases above.
  QTemporaryDir dir;
  const QString a = dir.path() + "/one.jpg", b = dir.path() + "/two.jpg";
  for (const QString& p : {a, b}) {
    QFile f(p);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  }
  Recorder batch;
  modMAIN::Main(HandOff({a.toStdString(), b.toStdString()}, 2), batch);
  EXPECT_EQ(batch.calls, QStringList{"batch"});
  EXPECT_EQ(batch.added, (QStringList{a, b}));
  Recorder single;
  modMAIN::Main(HandOff({a.toStdString()}, 2), single);
  EXPECT_EQ(single.calls, QStringList{"optimizer:" + a});
}

}  // namespace
