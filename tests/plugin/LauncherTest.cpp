// Runs the built trimjet-handoff beside a copy of the plug-in and checks what starts, and
// that the desktop entry of the build runs that launcher.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

#include "PlugInFolder.h"
#include "TestEnv.h"

namespace {

struct LaunchResult {
  int exitCode = -1;
  QByteArray errors;
};

LaunchResult RunLauncher(const PlugInFolder& f, const QStringList& args, const QString& workDir) {
  QProcess p;
  p.setWorkingDirectory(workDir);
  p.start(f.Path() + "/trimjet-handoff", args);
  LaunchResult r;
  if (!p.waitForFinished(10000)) return r;
  r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  r.errors = p.readAllStandardError();
  return r;
}

struct LaunchCase {
  const char* name;
  QStringList args;  // "@" stands for the folder
  const char* workDir;
  const char* rest;  // nullptr: started with the program path alone
};

void PrintTo(const LaunchCase& c, std::ostream* os) { *os << c.name; }

class LauncherStarts : public ::testing::TestWithParam<LaunchCase> {};

}  // namespace

TEST_P(LauncherStarts, ProgramReceivesTheCommandLine) {
  const LaunchCase& c = GetParam();
  PlugInFolder f(true);
  ASSERT_TRUE(QDir(f.Path()).mkpath("pics/sub"));
  for (const char* name : {"a.jpg", "b c.png", "d.tif"}) {
    QFile file(f.Path() + "/pics/" + name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  QStringList args;
  for (const QString& a : c.args) args << QString(a).replace("@", f.Path());
  const LaunchResult r = RunLauncher(f, args, QString(c.workDir).replace("@", f.Path()));
  EXPECT_EQ(r.exitCode, 0) << r.errors.toStdString();

  const QList<PlugInFolder::Start> starts = f.WaitForStarts(1);
  ASSERT_EQ(starts.size(), 1);
  QList<QByteArray> expected{f.Program()};
  if (c.rest != nullptr) expected << QString(c.rest).replace("@", f.Path()).toUtf8();
  EXPECT_EQ(starts[0].argv, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, LauncherStarts,
    ::testing::Values(
        LaunchCase{"ThreeFilesOfOneFolder",
                   {"@/pics/a.jpg", "@/pics/b c.png", "@/pics/d.tif"},
                   "@",
                   "BatchProcess @/pics/?a.jpg?b c.png?d.tif"},
        LaunchCase{"OneFile", {"@/pics/b c.png"}, "@", "OptimizeImage @/pics/b c.png"},
        LaunchCase{"OneFolder", {"@/pics/sub"}, "@", "BatchProcess @/pics/?sub"},
        LaunchCase{
            "FileAndFolder", {"@/pics/a.jpg", "@/pics/sub"}, "@", "BatchProcess @/pics/?a.jpg?sub"},
        LaunchCase{"RelativePaths", {"a.jpg", "sub"}, "@/pics", "BatchProcess @/pics/?a.jpg?sub"},
        LaunchCase{"NoArgument", {}, "@", nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Launcher, WithoutThePlugInItSaysSo) {
  PlugInFolder f(true);
  ASSERT_TRUE(QFile::remove(f.Path() + "/Trimjet.hpx"));
  const LaunchResult r = RunLauncher(f, {"/x/a.jpg"}, f.Path());
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(r.errors.contains("Trimjet.hpx")) << r.errors.toStdString();
  EXPECT_TRUE(QDir(f.Path()).entryList({"argv-*"}, QDir::Files).isEmpty());
}

TEST(Launcher, WarnsAboutPathsThatCannotBeListed) {
  PlugInFolder f(true);
  const LaunchResult r = RunLauncher(f, {"/x/a.jpg", "/x/b?.jpg"}, f.Path());
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_TRUE(r.errors.contains("/x/b?.jpg")) << r.errors.toStdString();
  const QList<PlugInFolder::Start> starts = f.WaitForStarts(1);
  ASSERT_EQ(starts.size(), 1);
  EXPECT_EQ(starts[0].argv.value(1), "BatchProcess /x/?a.jpg");
}

TEST(DesktopEntry, OptimizeActionRunsThisBuildsLauncher) {
  QFile file(TestEnv::BinDir() + "/trimjet-optimize.desktop");
  ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
  const QString text = QString::fromUtf8(file.readAll());
  const qsizetype action = text.indexOf("[Desktop Action Optimize]");
  ASSERT_GE(action, 0);
  const QRegularExpression exec("^Exec=\"([^\"]+)\" %F$", QRegularExpression::MultilineOption);
  const QRegularExpressionMatch m = exec.match(text, action);
  ASSERT_TRUE(m.hasMatch()) << text.toStdString();
  const QFileInfo launcher(m.captured(1));
  EXPECT_EQ(launcher.absoluteFilePath(),
            QFileInfo(TestEnv::BinDir() + "/trimjet-handoff").absoluteFilePath());
  EXPECT_TRUE(launcher.isExecutable());

  const QRegularExpression mime("^MimeType=(.*)$", QRegularExpression::MultilineOption);
  const QStringList types = mime.match(text).captured(1).split(';', Qt::SkipEmptyParts);
  for (const char* t : {"image/jpeg", "image/gif", "image/bmp", "image/x-pcx", "image/png",
                        "image/x-tga", "image/tiff", "image/webp", "image/heic", "image/avif"}) {
    EXPECT_TRUE(types.contains(t)) << t;
  }
}
