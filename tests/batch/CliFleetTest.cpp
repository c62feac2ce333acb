// trimjet-cli as scripts and fleets use it: shards, kept folders, dry runs, JSON lines, name
// lists, the existing-file rule and GNU parallel. Every case runs the built tool on real files.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "CliRun.h"
#include "FatCard.h"
#include "TestEnv.h"
#include "core/ExistingOutput.h"
#include "engine/clsImage.h"

namespace {

// Every file below folder by its path relative to it, with its bytes.
QMap<QString, QByteArray> Tree(const QString& folder) {
  QMap<QString, QByteArray> tree;
  QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    tree[QDir(folder).relativeFilePath(path)] = Bytes(path);
  }
  return tree;
}

QJsonObject Json(const QString& line) {
  QJsonParseError error;
  const QJsonDocument doc = QJsonDocument::fromJson(line.toUtf8(), &error);
  EXPECT_EQ(error.error, QJsonParseError::NoError) << line.toStdString();
  EXPECT_TRUE(doc.isObject()) << line.toStdString();
  return doc.object();
}

// in/ holds 2019/a.jpg and 2020/a.png (which collide when flattened), 2020/deep/b.gif, a
// corrupt 2020/c.png and twelve pictures in many/; top.tif lies outside in/.
class CliFleet : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::pair<const char*, QString> files[] = {{"photo.jpg", "in/2019/a.jpg"},
                                                     {"photo.png", "in/2020/a.png"},
                                                     {"photo.gif", "in/2020/deep/b.gif"},
                                                     {"corrupt.png", "in/2020/c.png"},
                                                     {"photo.tif", "top.tif"}};
    for (const auto& [from, to] : files) Copy(from, to);
    for (int i = 0; i < 12; ++i) Copy("photo.jpg", QString("in/many/p%1.jpg").arg(i));
  }
  void Copy(const QString& fixture, const QString& to) {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(Path(to)).path()));
    ASSERT_TRUE(QFile::copy(Fixture(fixture), Path(to)));
  }
  QString Path(const QString& relative) const { return dir_.path() + "/" + relative; }

  QTemporaryDir dir_;
};

}  // namespace

TEST_F(CliFleet, ShardsAreDisjointAndTogetherHoldEveryPicture) {
  const Outcome all = RunCli({"--json", "--dry-run", "--recursive", "--output-dir", Path("out"),
                              Path("in"), Path("top.tif")});
  QSet<QString> every;
  for (const QString& line : all.lines)
    if (!Json(line).contains("summary")) every.insert(Json(line)["source"].toString());
  ASSERT_EQ(every.size(), 17);
  for (int n : {1, 2, 3, 7}) {
    SCOPED_TRACE(n);
    QSet<QString> seen;
    int nonEmpty = 0;
    for (int k = 0; k < n; ++k) {
      const Outcome o =
          RunCli({"--json", "--dry-run", "--recursive", "--shard", QString("%1/%2").arg(k).arg(n),
                  "--output-dir", Path("out"), Path("in"), Path("top.tif")});
      EXPECT_EQ(o.exitCode, 0) << o.err.toStdString();
      int mine = 0;
      for (const QString& line : o.lines) {
        const QJsonObject j = Json(line);
        if (j.contains("summary")) {
          EXPECT_EQ(j["shard"].toString(), QString("%1/%2").arg(k).arg(n));  // whose summary
          continue;
        }
        EXPECT_FALSE(seen.contains(j["source"].toString())) << "in two shards";
        seen.insert(j["source"].toString());
        ++mine;
      }
      nonEmpty += mine > 0;
    }
    EXPECT_EQ(seen, every);
    if (n > 1) {
      EXPECT_GT(nonEmpty, 1) << "one shard took everything";
    }
  }
  for (const char* bad : {"2/2", "-1/2", "1/0", "1", "a/b"})
    EXPECT_EQ(RunCli({"--shard", bad, "--overwrite", Path("in")}).exitCode, 2) << bad;
}

TEST_F(CliFleet, KeepStructureRecreatesTheTree) {
  const Outcome o = RunCli({"--recursive", "--keep-structure", "--jobs", "2", "--output-dir",
                            Path("out"), Path("in/2019/.."), Path("top.tif")});
  EXPECT_EQ(o.exitCode, 1);  // the corrupt picture
  // A file named by its absolute name keeps its folders below "/".
  QStringList expected = {"2019/a.jpg", "2020/a.jpg", "2020/deep/b.jpg", Path("top.jpg").mid(1)};
  for (int i = 0; i < 12; ++i) expected << QString("many/p%1.jpg").arg(i);
  expected.sort();
  QStringList written = Tree(Path("out")).keys();
  written.sort();
  EXPECT_EQ(written, expected);
  for (const QString& name : written) {
    clsImage picture;
    EXPECT_TRUE(picture.CreateFromFile(Path("out/" + name))) << name.toStdString();
  }
  // Without it the same pictures are flattened and the two a.* numbered.
  const Outcome flat =
      RunCli({"--recursive", "--output-dir", Path("flat"), Path("in/2019"), Path("in/2020")});
  EXPECT_TRUE(QFile::exists(Path("flat/a (2).jpg")));
  EXPECT_EQ(RunCli({"--keep-structure", "--overwrite", Path("in")}).exitCode, 2);
}

TEST_F(CliFleet, DryRunWritesNothing) {
  ASSERT_TRUE(QDir().mkpath(Path("out/2019")));
  Copy("photo.png", "out/2019/a.jpg");
  const QMap<QString, QByteArray> before = Tree(dir_.path());
  const QStringList common = {"--dry-run", "--recursive", Path("in"), Path("top.tif")};
  for (const QStringList& extra :
       {QStringList{"--overwrite"}, QStringList{"--output-dir", Path("out")},
        QStringList{"--output-dir", Path("new/folder"), "--keep-structure"},
        QStringList{"--output-dir", Path("out"), "--keep-structure", "--if-exists", "skip"},
        QStringList{"--output-dir", Path("out"), "--if-exists", "replace", "--json"}}) {
    SCOPED_TRACE(extra.join(' ').toStdString());
    const Outcome o = RunCli(extra + common);
    EXPECT_EQ(o.exitCode, 0) << o.err.toStdString();
    EXPECT_GE(o.lines.size(), 17);
    EXPECT_EQ(Tree(dir_.path()), before);
    EXPECT_FALSE(QFileInfo::exists(Path("new")));
  }
  // What it prints is what a real run then writes, numbering included.
  const Outcome plan = RunCli({"--dry-run", "--output-dir", Path("out"), "--keep-structure",
                               "--recursive", Path("in/2019")});
  ASSERT_EQ(plan.lines.size(), 1);
  EXPECT_TRUE(plan.lines[0].startsWith(Path("in/2019/a.jpg") + " -> " + Path("out/a.jpg") +
                                       ": would be written"));
}

TEST_F(CliFleet, JsonLinesParseAndCountTheFilesBytes) {
  for (const char* jobs : {"1", "2"}) {
    SCOPED_TRACE(jobs);
    const QString out = Path(QString("out%1").arg(jobs));
    const Outcome o =
        RunCli({"--json", "--jobs", jobs, "--scale", "50", "--recursive", "--keep-structure",
                "--output-dir", out, Path("in"), Path("top.tif")});
    EXPECT_EQ(o.exitCode, 1);
    ASSERT_EQ(o.lines.size(), 18) << o.lines.join('\n').toStdString();
    qint64 before = 0, after = 0;
    int written = 0, failed = 0;
    for (int i = 0; i < 17; ++i) {
      const QJsonObject j = Json(o.lines[i]);
      const QString source = j["source"].toString(), dest = j["destination"].toString();
      SCOPED_TRACE(source.toStdString());
      EXPECT_EQ(j["bytesBefore"].toInteger(), QFileInfo(source).size());
      if (j["status"].toString() == "failed") {
        ++failed;
        EXPECT_TRUE(source.endsWith("/c.png"));
        EXPECT_FALSE(j["reason"].toString().isEmpty());
        EXPECT_FALSE(QFileInfo::exists(dest));
        continue;
      }
      ASSERT_EQ(j["status"].toString(), "written");
      ++written;
      EXPECT_EQ(j["bytesAfter"].toInteger(), QFileInfo(dest).size());
      EXPECT_EQ(j["quality"].toInt(), 70);
      clsImage picture;
      ASSERT_TRUE(picture.CreateFromFile(dest));
      EXPECT_EQ(j["width"].toInt(), picture.Width());
      EXPECT_EQ(j["height"].toInt(), picture.Height());
      EXPECT_EQ(picture.Width(), 12);  // 24 px at 50 %
      before += j["bytesBefore"].toInteger();
      after += j["bytesAfter"].toInteger();
    }
    const QJsonObject summary = Json(o.lines.last());
    EXPECT_TRUE(summary["summary"].toBool());
    EXPECT_EQ(summary["written"].toInt(), written);
    EXPECT_EQ(summary["failed"].toInt(), failed);
    EXPECT_EQ(failed, 1);
    EXPECT_EQ(summary["bytesBefore"].toInteger(), before);
    EXPECT_EQ(summary["bytesAfter"].toInteger(), after);
    // The reason of the failure goes to standard error as well; nothing else does.
    EXPECT_EQ(o.err.count('\n'), 1) << o.err.toStdString();
  }
}

TEST_F(CliFleet, NamesFromStandardInputKeepBlanksAndLineFeeds) {
  const QStringList names = {"with blank.jpg", "line\nfeed.png", " lead and tab\t.gif"};
  const char* fixtures[] = {"photo.jpg", "photo.png", "photo.gif"};
  QByteArray list;
  for (int i = 0; i < names.size(); ++i) {
    Copy(fixtures[i], "odd/" + names[i]);
    list += QFile::encodeName(Path("odd/" + names[i])) + '\0';
  }
  list += QFile::encodeName(Path("in/many")) + '\0';  // a folder in the list, too
  const Outcome o =
      RunCli({"--files-from", "-", "-0", "--json", "--output-dir", Path("out")}, list);
  EXPECT_EQ(o.exitCode, 0) << o.err.toStdString();
  EXPECT_EQ(o.lines.size(), 3 + 12 + 1);
  for (const QString& name : names) {
    const QString dest = Path("out/" + QFileInfo(name).completeBaseName() + ".jpg");
    clsImage picture;
    EXPECT_TRUE(picture.CreateFromFile(dest)) << dest.toStdString();
  }
  // Line by line, the same list is read wrongly only where a name holds a line feed.
  const Outcome lines = RunCli({"--files-from", "-", "--dry-run", "--output-dir", Path("out2")},
                               QByteArray(list).replace('\0', '\n'));
  EXPECT_EQ(lines.exitCode, 1);
  EXPECT_TRUE(lines.err.contains("line: no such file or folder")) << lines.err.toStdString();
  EXPECT_EQ(lines.lines.size(), 2 + 12 + 2);  // the two broken names fail on lines of their own
}

TEST_F(CliFleet, ExistingOutputIsNumberedReplacedOrSkipped) {
  struct Case {
    const char* rule;  // empty: the default
    const char* status;
    bool oldKept;
    const char* newName;
  };
  const Case cases[] = {{"", "written", true, "a (2).jpg"},
                        {"number", "written", true, "a (2).jpg"},
                        {"replace", "written", false, "a.jpg"},
                        {"skip", "skipped", true, nullptr}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rule);
    const QString out = Path(QString("out-%1").arg(c.rule));
    ASSERT_TRUE(QDir().mkpath(out));
    // The old file is not a picture: a skip that decoded it would fail.
    ASSERT_TRUE(QFile::copy(Fixture("garbage.bin"), out + "/a.jpg"));
    const QByteArray old = Bytes(out + "/a.jpg");
    QStringList args = {"--json", "--allow-larger", "--output-dir", out, Path("in/2019/a.jpg")};
    if (*c.rule) args << "--if-exists" << c.rule;
    const Outcome o = RunCli(args);
    EXPECT_EQ(o.exitCode, 0) << o.err.toStdString();
    ASSERT_EQ(o.lines.size(), 2);
    const QJsonObject j = Json(o.lines[0]);
    EXPECT_EQ(j["status"].toString(), c.status);
    EXPECT_EQ(Bytes(out + "/a.jpg") == old, c.oldKept);
    if (c.newName) {
      EXPECT_EQ(j["destination"].toString(), out + "/" + c.newName);
      clsImage picture;
      EXPECT_TRUE(picture.CreateFromFile(out + "/" + c.newName));
    }
    EXPECT_EQ(QDir(out).entryList(QDir::Files).size(), c.newName && c.oldKept ? 2 : 1);
  }
  // skip does not read the picture at all: a corrupt source with an output is not a failure.
  Copy("photo.jpg", "o2/c.jpg");
  EXPECT_EQ(
      RunCli({"--if-exists", "skip", "--output-dir", Path("o2"), Path("in/2020/c.png")}).exitCode,
      0);
  EXPECT_EQ(RunCli({"--if-exists", "keep", "--output-dir", Path("o2"), Path("in")}).exitCode, 2);
}

TEST_F(CliFleet, NoPictureFoundIsAnError) {
  const Outcome o = RunCli({"--output-dir", Path("out"), Path("in")});
  EXPECT_EQ(o.exitCode, 1);
  EXPECT_TRUE(o.lines.isEmpty());
  EXPECT_TRUE(o.err.contains("no picture found")) << o.err.toStdString();
  EXPECT_FALSE(QFileInfo::exists(Path("out")));
}

TEST_F(CliFleet, GnuParallelSharesOneListBetweenTwoHosts) {
  const QString parallel = QStandardPaths::findExecutable("parallel");
  if (parallel.isEmpty())
    GTEST_SKIP() << "GNU parallel is not installed (scripts/setup.sh adds it)";
  QFile list(Path("list.txt"));
  ASSERT_TRUE(list.open(QIODevice::WriteOnly));
  // Names relative to the folder the hosts run in, as find . writes them: their folders are kept.
  QStringList all;
  QDirIterator it(Path("in"), {"*.jpg", "*.png", "*.gif"}, QDir::Files,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) all << QDir(dir_.path()).relativeFilePath(it.next());
  all.removeAll("in/2020/c.png");
  for (const QString& name : all) list.write(QFile::encodeName(name) + '\n');
  list.close();
  // Two "hosts" that are both this machine, each given one shard of the same list.
  QProcess p;
  p.setWorkingDirectory(dir_.path());
  p.start(parallel,
          {"--will-cite", "-S", "2/:", "--halt", "never", TestEnv::BinDir() + "/trimjet-cli",
           "--quiet", "--keep-structure", "--output-dir", Path("out"), "--files-from",
           Path("list.txt"), "--shard", "{}/2", ":::", "0", "1"});
  ASSERT_TRUE(p.waitForFinished(120000));
  EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
  QStringList expected;
  for (const QString& name : all)
    expected << QFileInfo(name).path() + "/" + QFileInfo(name).completeBaseName() + ".jpg";
  QStringList written = Tree(Path("out")).keys();
  expected.sort();
  written.sort();
  EXPECT_EQ(written, expected);
}

// Parts run one after another, in either order, or alone: each picture is written once
// under a name of its own and none is reported skipped for another's file.
TEST_F(CliFleet, PartsInAnyOrderGiveEveryPictureItsOwnName) {
  for (const char* name : {"2019/IMG_0001.jpg", "2020/IMG_0001.jpg", "beach.jpg"})
    Copy("photo.jpg", QString("cams/") + name);
  Copy("photo.png", "cams/beach.png");
  const QStringList names = {Path("cams/2019/IMG_0001.jpg"), Path("cams/2020/IMG_0001.jpg"),
                             Path("cams/beach.png"), Path("cams/beach.jpg")};
  const QString below = Path("cams").mid(1) + "/";  // absolute names keep their folders
  QStringList expected = {"2019/IMG_0001.jpg", "2020/IMG_0001.jpg", "beach (png).jpg", "beach.jpg"};
  for (QString& e : expected) e = below + e;
  expected.sort();
  struct Run {
    int parts;
    bool reversed;
  };
  for (const Run run : {Run{1, false}, Run{2, false}, Run{2, true}, Run{3, true}, Run{4, false}}) {
    SCOPED_TRACE(
        QString("%1 parts%2").arg(run.parts).arg(run.reversed ? ", reversed" : "").toStdString());
    const QString out = Path(QString("out-%1-%2").arg(run.parts).arg(run.reversed));
    for (int n = 0; n < run.parts; ++n) {
      const int k = run.reversed ? run.parts - 1 - n : n;
      const Outcome o =
          RunCli(QStringList{"--keep-structure", "--if-exists", "skip", "--json", "--shard",
                             QString("%1/%2").arg(k).arg(run.parts), "--output-dir", out} +
                 names);
      EXPECT_EQ(o.exitCode, 0) << o.err.toStdString();
      for (const QString& line : o.lines)
        EXPECT_NE(Json(line)["status"].toString(), "skipped") << line.toStdString();
    }
    QStringList written = Tree(out).keys();
    written.sort();
    EXPECT_EQ(written, expected);
  }
}

// A folder reached twice (named again, or through a link) gives its files once; an output
// folder inside a folder read recursively is never read back, however often the run is repeated.
TEST_F(CliFleet, ARunTakesEachFileOnceAndNeverItsOwnOutputs) {
  ASSERT_TRUE(QFile::link(Path("in/many"), Path("link")));
  const Outcome twice =
      RunCli({"--json", "--dry-run", "--recursive", "--output-dir", Path("out"), Path("in/many"),
              Path("link"), Path("in/many/"), Path("link/p3.jpg"), Path("in/../in/many")});
  EXPECT_EQ(twice.exitCode, 0) << twice.err.toStdString();
  EXPECT_EQ(twice.lines.size(), 12 + 1) << twice.lines.join('\n').toStdString();
  for (const char* rule : {"skip", "number"}) {
    SCOPED_TRACE(rule);
    const QString in = QString("runs-%1/").arg(rule), out = Path(in + "out");
    for (const char* name : {"a.png", "sub/b.png", "sub/c.png"}) Copy("photo.png", in + name);
    for (int round = 1; round <= 3; ++round) {
      const Outcome o = RunCli({"--recursive", "--keep-structure", "--quiet", "--if-exists", rule,
                                "--output-dir", out, Path(in)});
      EXPECT_EQ(o.exitCode, 0) << o.err.toStdString();
      // number writes each picture again in every run, but never an earlier output.
      EXPECT_EQ(Tree(out).size(), rule == QString("skip") ? 3 : 3 * round);
      for (const QString& name : Tree(out).keys()) EXPECT_FALSE(name.startsWith("out/"));
    }
  }
}

// A memory card's FAT takes "A.jpg" and "a.jpg" for one file: the run finds that out and
// writes two.
TEST_F(CliFleet, ACaseFoldingOutputFolderKeepsEveryPicture) {
  const QString card = Path("card");
  ASSERT_TRUE(QDir().mkpath(card));
  FatCard mounted;
  if (const QString why = mounted.Mount(Path("card.img"), card); !why.isEmpty()) GTEST_SKIP() << why.toStdString();
  Copy("photo.png", "cards/A.png");
  Copy("photo.png", "cards/a.png");
  Copy("photo.tif", "cards/x/a.tif");
  EXPECT_TRUE(ExistingOutput::FoldsCase(card + "/new/folder"));
  EXPECT_FALSE(ExistingOutput::FoldsCase(Path("cards")));
  const Outcome o = RunCli({"--json", "--recursive", "--output-dir", card, Path("cards")});
  EXPECT_EQ(o.exitCode, 0) << o.err.toStdString();
  ASSERT_EQ(o.lines.size(), 4);
  EXPECT_EQ(Json(o.lines.last())["written"].toInt(), 3);
  QStringList dests;
  for (int i = 0; i < 3; ++i) {
    dests << Json(o.lines[i])["destination"].toString();
    clsImage picture;
    EXPECT_TRUE(picture.CreateFromFile(dests.last())) << dests.last().toStdString();
  }
  EXPECT_EQ(QDir(card).entryList(QDir::Files).size(), 3)
      << QDir(card).entryList(QDir::Files).join(", ").toStdString();
}
