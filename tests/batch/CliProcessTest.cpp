#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>

#include "CliRun.h"
#include "TestEnv.h"
#include "core/BatchTotals.h"
#include "engine/clsImage.h"

namespace {

// in/ with every format, a corrupt file, a text file and a subfolder whose d.png collides.
class CliFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(QDir().mkpath(In() + "/sub"));
    const std::pair<const char*, const char*> files[] = {
        {"photo.jpg", "a.jpg"},      {"photo.gif", "b.gif"},     {"photo.pcx", "c.pcx"},
        {"photo.png", "d.png"},      {"corrupt.png", "e.png"},   {"garbage.bin", "notes.txt"},
        {"photo.tif", "sub/f.tif"},  {"rgb24.bmp", "sub/g.bmp"}, {"topdown.tga", "sub/h.tga"},
        {"palette.png", "sub/d.png"}};
    for (const auto& [from, to] : files) ASSERT_TRUE(QFile::copy(Fixture(from), In() + "/" + to));
  }
  QString In() const { return dir_.path() + "/in"; }
  QString Out() const { return dir_.path() + "/out/new"; }

  QTemporaryDir dir_;
};

}  // namespace

TEST_F(CliFolder, ConvertsEveryFormatAndReportsTheCorruptFile) {
  // The small JPEG would come out bigger and be kept: written here to check the bytes.
  const Outcome o =
      RunCli({"--allow-larger", "--recursive", "--jobs", "1", "--output-dir", Out(), In()});
  EXPECT_EQ(o.exitCode, 1);
  const QString in = In() + "/", out = Out() + "/";
  const QStringList expected = {
      in + "a.jpg -> " + out + "a.jpg",     in + "b.gif -> " + out + "b.jpg",
      in + "c.pcx -> " + out + "c.jpg",     in + "d.png -> " + out + "d.jpg",
      in + "e.png -> " + out + "e.jpg",     in + "sub/d.png -> " + out + "d (2).jpg",
      in + "sub/f.tif -> " + out + "f.jpg", in + "sub/g.bmp -> " + out + "g.jpg",
      in + "sub/h.tga -> " + out + "h.jpg"};
  ASSERT_EQ(o.lines.size(), expected.size() + 2) << o.lines.join('\n').toStdString();
  BatchTotals totals;
  const QRegularExpression bytes(": (\\d+) -> (\\d+) bytes");
  for (int i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(o.lines[i].toStdString());
    EXPECT_TRUE(o.lines[i].startsWith(expected[i] + ": "));
    const QString dest = expected[i].section(" -> ", 1);
    if (i == 4) {
      EXPECT_TRUE(o.lines[i].endsWith(": failed"));
      EXPECT_FALSE(QFile::exists(dest));
      continue;
    }
    const auto m = bytes.match(o.lines[i]);
    ASSERT_TRUE(m.hasMatch());
    EXPECT_EQ(m.captured(1).toLongLong(), QFile(expected[i].section(" -> ", 0, 0)).size());
    EXPECT_EQ(m.captured(2).toLongLong(), QFile(dest).size());
    totals.Add(m.captured(1).toLongLong(), m.captured(2).toLongLong());
    clsImage written;
    EXPECT_TRUE(written.CreateFromFile(dest));
  }
  EXPECT_TRUE(o.lines[5].endsWith("(numbered: " + out + "d.jpg is another picture's)"));
  EXPECT_EQ(o.lines[o.lines.size() - 2], "Compression ratio " + totals.CompressionText());
  EXPECT_TRUE(o.lines.last().startsWith("Written "));
  const QStringList reasons = o.err.split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(reasons.size(), 1) << o.err.toStdString();
  EXPECT_TRUE(reasons[0].startsWith("trimjet-cli: " + in + "e.png: cannot read"));
}

TEST_F(CliFolder, TwoJobsPrintAndWriteTheSameAsOne) {
  const QStringList options = {"--recursive", "--scale",      "150", "--effect",
                               "Sharpen",     "--output-dir", Out(), In()};
  const Outcome one = RunCli(QStringList{"--jobs", "1"} + options);
  QMap<QString, QByteArray> first;
  for (const QString& name : QDir(Out()).entryList(QDir::Files))
    first[name] = Bytes(Out() + "/" + name);
  ASSERT_TRUE(QDir(Out()).removeRecursively());
  const Outcome two = RunCli(QStringList{"--jobs", "2"} + options);
  EXPECT_EQ(one.exitCode, 1);
  EXPECT_EQ(two.exitCode, one.exitCode);
  EXPECT_EQ(two.lines, one.lines);
  EXPECT_EQ(two.err, one.err);
  EXPECT_EQ(first.size(), 8);
  for (auto it = first.begin(); it != first.end(); ++it)
    EXPECT_EQ(Bytes(Out() + "/" + it.key()), it.value()) << it.key().toStdString();
}

TEST_F(CliFolder, WithoutRecursiveOnlyTheFolderItself) {
  const Outcome o = RunCli({"--output-dir", Out(), In()});
  EXPECT_EQ(o.exitCode, 1);
  EXPECT_EQ(o.lines.size(), 7);
  EXPECT_FALSE(o.lines.join('\n').contains("/sub/"));
}

TEST_F(CliFolder, OverwriteKeepsOtherFormatsAndRefusesWriteProtectedJpegs) {
  const QString locked = In() + "/sub/locked.jpg";
  ASSERT_TRUE(QFile::copy(Fixture("photo.jpg"), locked));
  ASSERT_TRUE(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ReadGroup));
  const QByteArray gif = Bytes(In() + "/b.gif"), lockedBytes = Bytes(locked);
  const Outcome o =
      RunCli({"--overwrite", "--jobs", "2", In() + "/b.gif", locked, In() + "/a.jpg"});
  EXPECT_EQ(o.exitCode, 1);
  ASSERT_EQ(o.lines.size(), 5);
  EXPECT_TRUE(o.lines[0].startsWith(In() + "/b.gif -> " + In() + "/b.jpg: "));
  EXPECT_TRUE(o.lines[1].endsWith(locked + " -> " + locked + ": failed"));
  EXPECT_TRUE(o.lines[2].startsWith(In() + "/a.jpg -> " + In() + "/a.jpg: "));
  EXPECT_EQ(Bytes(In() + "/b.gif"), gif);
  EXPECT_TRUE(QFile::exists(In() + "/b.jpg"));
  EXPECT_EQ(Bytes(locked), lockedBytes);
  EXPECT_TRUE(o.err.contains("write-protected")) << o.err.toStdString();
}

// A usage error is its reason and a pointer to --help, never the whole usage; a run that
// cannot go on is told from pictures that failed.
TEST(Cli, WrongInvocationsSayWhyInOneLine) {
  QTemporaryDir dir;
  const QString png = Fixture("photo.png"), file = dir.path() + "/file";
  ASSERT_TRUE(QFile::copy(png, file));
  const struct {
    QStringList args;
    int status;
    QString reason;
  } cases[] = {
      {{}, 2, "give exactly one of --output-dir DIR and --overwrite"},
      {{"--overwrite"}, 2, "no INPUT given"},
      {{"--qualty", "50", "-o", "o", png}, 2, "unknown option --qualty; did you mean --quality?"},
      {{"-rz", "-o", "o", png}, 2, "unknown option -z"},
      {{"-j0", "-o", "o", png}, 2, "--jobs takes a whole number from 1 to 256, not '0'"},
      {{"--effect", "Kodalith=300", "--overwrite", png}, 2, "from 0 to 255, not '300'"},
      {{png, "-o"}, 2, "-o needs a value"},
      {{"-o", file, png}, 2, "--output-dir " + file + " is a file, not a folder"},
      {{"-", png, "-o", "o"}, 2, "'-' (standard input) must be the only INPUT"},
      {{"--overwrite", "-"}, 2, "has no file to overwrite"},
      {{"-o", "-", png, png}, 2, "--output-dir - writes one picture"},
      {{"-o", file + "/sub", png}, 3, "cannot write into the folder " + file + "/sub/: Not a dir"},
      {{"-", "-o", "-"}, 1, "standard input holds no picture"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.join(' ').toStdString());
    const Outcome o = RunCli(c.args);
    EXPECT_EQ(o.exitCode, c.status);
    EXPECT_TRUE(o.lines.isEmpty());
    const QStringList err = o.err.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(err.size(), c.status == 2 ? 2 : 1) << o.err.toStdString();
    EXPECT_TRUE(err[0].startsWith("trimjet-cli: ") && err[0].contains(c.reason)) << o.err.toStdString();
    if (c.status == 2) {
      EXPECT_EQ(err[1], "Try 'trimjet-cli --help' for more information.");
    }
  }
  const Outcome help = RunCli({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_TRUE(help.lines.value(0).startsWith("Usage: trimjet-cli"));
}

// The picture comes in on standard input and its JPEG goes out on standard output; the
// line about it goes to standard error.
TEST(Cli, PipeInAndOut) {
  for (const char* fixture : {"photo.png", "photo.gif", "photo.jpg"}) {
    SCOPED_TRACE(fixture);
    const Outcome o = RunCli({"--allow-larger", "-", "-o", "-"}, Bytes(Fixture(fixture)));
    ASSERT_EQ(o.exitCode, 0) << o.err.toStdString();
    QTemporaryDir dir;
    QFile jpeg(dir.path() + "/out.jpg");
    ASSERT_TRUE(jpeg.open(QIODevice::WriteOnly) && jpeg.write(o.out) == o.out.size());
    jpeg.close();
    clsImage written;
    ASSERT_TRUE(written.CreateFromFile(jpeg.fileName()));
    EXPECT_TRUE(o.out.startsWith("\xff\xd8\xff"));
    EXPECT_EQ(written.Width(), 24);
    EXPECT_TRUE(o.err.startsWith("- -> -: ")) << o.err.toStdString();
  }
}

TEST(Cli, MissingInputFailsButTheOthersAreWritten) {
  QTemporaryDir dir;
  const Outcome o =
      RunCli({"--output-dir", dir.path(), dir.path() + "/nothing.png", Fixture("photo.png")});
  EXPECT_EQ(o.exitCode, 1);
  EXPECT_TRUE(o.err.contains(dir.path() + "/nothing.png: no such file or folder"));
  ASSERT_EQ(o.lines.size(), 4);  // its own failed line, the picture's, ratio and summary
  EXPECT_EQ(o.lines[0], dir.path() + "/nothing.png: failed");
  // The fixtures' folder holds photo.jpg too: the PNG's own name says its format.
  EXPECT_TRUE(QFile::exists(dir.path() + "/photo (png).jpg"));
  // Nothing written: the summary alone, no bare ratio heading.
  const Outcome none = RunCli({"--output-dir", dir.path(), Fixture("corrupt.png")});
  EXPECT_EQ(none.exitCode, 1);
  ASSERT_EQ(none.lines.size(), 2) << none.lines.join('\n').toStdString();
  EXPECT_TRUE(none.lines[1].startsWith("Written 0, kept 0, skipped 0, failed 1"));
}

// On a terminal the bar is cleared before every result line; with the results going to a
// file it is not drawn at all. `script` gives the tool a terminal.
TEST_F(CliFolder, ProgressBarNeverSharesALineWithAResult) {
  const QString script = QStandardPaths::findExecutable("script");
  if (script.isEmpty()) GTEST_SKIP() << "script (util-linux) is not installed";
  for (bool toFile : {false, true}) {
    SCOPED_TRACE(toFile);
    const QString log = dir_.path() + "/log.txt";
    QString command = QString("'%1/trimjet-cli' --jobs 2 --output-dir '%2' '%3'")
                          .arg(TestEnv::BinDir(), Out() + QString::number(toFile), In());
    if (toFile) command += " > '" + log + "'";
    QProcess p;
    p.start(script, {"-qec", command, "/dev/null"});
    p.closeWriteChannel();
    ASSERT_TRUE(p.waitForFinished(120000));
    const QString screen = QString::fromUtf8(p.readAllStandardOutput());
    const QRegularExpression bar("\\[[#.]{40}\\] \\d+/\\d+");
    if (toFile) {
      EXPECT_FALSE(screen.contains(bar)) << screen.toStdString();
      const QString written = QString::fromUtf8(Bytes(log));
      EXPECT_EQ(written.count(" -> " + Out()), 5);  // the lines of the five pictures
      EXPECT_FALSE(written.contains('\r') || written.contains('\033'));
      continue;
    }
    EXPECT_TRUE(screen.contains(bar)) << screen.toStdString();
    // Every bar is followed by a new bar or by the clearing of its line, never by text.
    for (auto it = bar.globalMatch(screen); it.hasNext();) {
      const auto m = it.next();
      const QString next = screen.mid(m.capturedEnd(), 4);
      EXPECT_TRUE(next.isEmpty() || next == "\r\033[K" || next.startsWith("\r["))
          << next.toStdString();
    }
    EXPECT_EQ(screen.count(" -> " + Out()), 5);
  }
}

// Killed without a word, trimjet-cli takes its workers with it: no picture is written after
// it and no temporary file is left behind.
TEST_F(CliFolder, WorkersEndWithAKilledRun) {
  QStringList args{"--jobs", "2", "--scale", "400", "--effect", "Sharpen", "--output-dir", Out()};
  for (int i = 0; i < 12; ++i) {
    const QString name = In() + QString("/big%1.jpg").arg(i);
    ASSERT_TRUE(QFile::copy(TestEnv::SourceDir() + "/samples/Evening field.jpg", name));
    args << name;
  }
  QProcess cli;
  cli.start(TestEnv::BinDir() + "/trimjet-cli", args);
  ASSERT_TRUE(cli.waitForStarted());
  const QString children = QString("/proc/%1/task/%1/children").arg(cli.processId());
  QStringList workers;
  for (int i = 0; i < 400 && workers.size() < 2; ++i) {
    QThread::msleep(25);
    workers = QString::fromLatin1(Bytes(children)).split(' ', Qt::SkipEmptyParts);
  }
  ASSERT_EQ(workers.size(), 2);
  QThread::msleep(500);  // each well into its picture
  ::kill(pid_t(cli.processId()), SIGKILL);
  cli.waitForFinished();
  const QStringList before = QDir(Out()).entryList(QDir::Files | QDir::Hidden);
  // A worker is gone (or a zombie nobody reaps) within a moment, not after its picture.
  auto running = [&workers] {
    for (const QString& pid : workers) {
      const QByteArray stat = Bytes("/proc/" + pid + "/stat");
      if (!stat.isEmpty() && stat.mid(stat.lastIndexOf(')') + 2, 1) != "Z") return true;
    }
    return false;
  };
  for (int i = 0; i < 40 && running(); ++i) QThread::msleep(25);
  EXPECT_FALSE(running());
  QThread::msleep(1500);
  const QStringList after = QDir(Out()).entryList(QDir::Files | QDir::Hidden);
  EXPECT_EQ(after, before);
  for (const QString& name : after) EXPECT_FALSE(name.startsWith('.')) << name.toStdString();
}

// Every name given, and every folder that cannot be read, gets its line, its JSON object and
// the true reason, counted as failed; results that cannot be written are an error too.
TEST(Cli, EveryInputIsAccountedForWithItsReason) {
  QTemporaryDir dir;
  const QString d = dir.path();
  ASSERT_TRUE(QDir().mkpath(d + "/out") && QDir().mkpath(d + "/shut") &&
              QDir().mkpath(d + "/tree/shut"));
  for (const QString& f : {d, d + "/out"}) ::chmod(QFile::encodeName(f).constData(), 0777);
  const std::pair<const char*, const char*> files[] = {{"photo.png", "fake.jpg"},
                                                       {"photo.jpg", "locked.jpg"},
                                                       {"photo.png", "shut/in.png"},
                                                       {"photo.png", "tree/ok.png"},
                                                       {"photo.png", "tree/shut/in.png"}};
  for (const auto& [from, to] : files) ASSERT_TRUE(QFile::copy(Fixture(from), d + "/" + to));
  ASSERT_EQ(::mkfifo(QFile::encodeName(d + "/pipe.png").constData(), 0644), 0);
  ASSERT_TRUE(QFile::link("/dev/zero", d + "/zero.jpg"));
  for (const char* locked : {"/locked.jpg", "/shut", "/tree/shut"})
    ::chmod(QFile::encodeName(d + locked).constData(), 0);
  const std::pair<QString, QString> rows[] = {
      {d + "/nothing.png", "no such file or folder"},
      {d + "/pipe.png", "not a regular file"},
      {d + "/zero.jpg", "not a regular file"},
      {d + "/fake.jpg", "a PNG picture named .jpg"},
      {d + "/locked.jpg", "permission denied"},
      {d + "/shut", "permission denied (folder not read)"},
      {d + "/tree/shut", "permission denied (folder not read)"}};
  QStringList args = {"--json", "--recursive", "--output-dir", d + "/out"};
  for (const auto& row : rows)
    if (!row.first.startsWith(d + "/tree")) args << row.first;
  args << d + "/tree";
  const Outcome o = RunCli(args, QByteArray(), true);
  EXPECT_EQ(o.exitCode, 1);
  QMap<QString, QJsonObject> bySource;
  for (const QString& line : o.lines) {
    const QJsonObject j = QJsonDocument::fromJson(line.toUtf8()).object();
    bySource[j["summary"].toBool() ? "summary" : j["source"].toString()] = j;
  }
  for (const auto& [input, reason] : rows) {
    SCOPED_TRACE(input.toStdString());
    EXPECT_EQ(bySource[input]["status"].toString(), "failed");
    EXPECT_EQ(bySource[input]["reason"].toString(), reason);
    EXPECT_TRUE(o.err.contains(input + ": " + reason)) << o.err.toStdString();
  }
  EXPECT_EQ(bySource["summary"]["failed"].toInt(), int(std::size(rows)));
  EXPECT_EQ(bySource["summary"]["written"].toInt(), 1);  // tree/ok.png
  EXPECT_EQ(bySource.size(), std::size(rows) + 2);

  // A full standard output loses the results: an error, said on standard error.
  const Outcome full =
      RunCli({"--output-dir", d + "/out2", d + "/tree/ok.png"}, QByteArray(), true, "/dev/full");
  EXPECT_NE(full.exitCode, 0);
  EXPECT_TRUE(full.err.contains("cannot write the results")) << full.err.toStdString();

  // A JPEG on a read-only file system is not "write-protected": the file system is.
  const QString ro = d + "/ro";
  ASSERT_TRUE(QDir().mkpath(ro));
  if (geteuid() != 0 || QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=1m", "tmpfs", ro}))
    GTEST_SKIP() << "mounting a read-only file system needs root";
  struct Unmount {
    QString folder;
    ~Unmount() { QProcess::execute("umount", {folder}); }
  } unmount{ro};
  ASSERT_TRUE(QFile::copy(Fixture("photo.jpg"), ro + "/r.jpg"));
  ASSERT_EQ(QProcess::execute("mount", {"-o", "remount,ro", ro}), 0);
  const Outcome locked = RunCli({"--overwrite", "--allow-larger", ro + "/r.jpg"});
  EXPECT_EQ(locked.exitCode, 1);
  EXPECT_TRUE(locked.err.contains(ro + "/r.jpg: read-only file system"))
      << locked.err.toStdString();
}
