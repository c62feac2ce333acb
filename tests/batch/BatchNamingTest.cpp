#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "core/BatchNaming.h"

using Mode = BatchNaming::Mode;

namespace {

struct NameCase {
  const char* source;
  Mode mode;
  const char* expected;
};

class OutputName : public ::testing::TestWithParam<NameCase> {};

}  // namespace

TEST_P(OutputName, FollowsTheTable) {
  const NameCase& c = GetParam();
  EXPECT_EQ(BatchNaming::OutputName(c.source, c.mode, "/out/"), QString(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Table, OutputName,
    ::testing::Values(NameCase{"/pics/a.jpg", Mode::kOverwrite, "/pics/a.jpg"},
                      NameCase{"/pics/a.JPEG", Mode::kOverwrite, "/pics/a.JPEG"},
                      NameCase{"/pics/a.gif", Mode::kOverwrite, "/pics/a.jpg"},
                      NameCase{"/pics/a.b.png", Mode::kOverwrite, "/pics/a.b.jpg"},
                      NameCase{"/pics/photo.jpeg", Mode::kOtherDir, "/out/photo.jpeg"},
                      NameCase{"/pics/x.Jpg", Mode::kOtherDir, "/out/x.Jpg"},
                      NameCase{"/pics/a.b.tga", Mode::kOtherDir, "/out/a.b.jpg"},
                      // The extension comes off the file name, never off a folder.
                      NameCase{"/my.dir/scan", Mode::kOverwrite, "/my.dir/scan.jpg"},
                      NameCase{"/my.dir/scan", Mode::kOtherDir, "/out/scan.jpg"}));

TEST(BatchNaming, NumberGoesBeforeTheExtension) {
  EXPECT_EQ(BatchNaming::Numbered("/out/a.jpg", 2), QString("/out/a (2).jpg"));
  EXPECT_EQ(BatchNaming::Numbered("/out/a.b.JPEG", 3), QString("/out/a.b (3).JPEG"));
  EXPECT_EQ(BatchNaming::Numbered("/o.d/name", 2), QString("/o.d/name (2)"));
}

TEST(BatchNaming, PlanNumbersCollisionsInInputOrder) {
  struct Case {
    QStringList sources;
    Mode mode;
    QStringList expected;
    bool foldCase = false;  // the output folder takes names differing in case for one
  };
  const Case cases[] = {
      {{"/in/a.png", "/in/a.gif", "/in/b.bmp"},
       Mode::kOtherDir,
       {"/out/a.jpg", "/out/a (2).jpg", "/out/b.jpg"}},
      {{"/in/x/p.jpg", "/in/y/p.jpg", "/in/z/p.tif"},
       Mode::kOtherDir,
       {"/out/p.jpg", "/out/p (2).jpg", "/out/p (3).jpg"}},
      // A numbered name that a later picture wants as its own.
      {{"/in/x/a.png", "/in/y/a.png", "/in/a (2).gif"},
       Mode::kOtherDir,
       {"/out/a.jpg", "/out/a (2).jpg", "/out/a (2) (2).jpg"}},
      // a.jpg is replaced by itself; a.png, listed first, must not write over it.
      {{"/in/a.png", "/in/a.jpg"}, Mode::kOverwrite, {"/in/a (2).jpg", "/in/a.jpg"}},
      // An input that already lives in the output folder is replaced by itself only.
      {{"/in/c.jpg", "/out/c.jpg"}, Mode::kOtherDir, {"/out/c (2).jpg", "/out/c.jpg"}},
      {{"/in/a.gif", "/in/b.gif"}, Mode::kOverwrite, {"/in/a.jpg", "/in/b.jpg"}},
      {{"/in/A.png", "/in/x/a.png"}, Mode::kOtherDir, {"/out/A.jpg", "/out/a.jpg"}},
      {{"/in/A.png", "/in/x/a.png"}, Mode::kOtherDir, {"/out/A.jpg", "/out/a (2).jpg"}, true},
      {{"/in/X.JPG", "/out/x.jpg"}, Mode::kOtherDir, {"/out/X (2).JPG", "/out/x.jpg"}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sources.join(", ").toStdString());
    BatchNaming::Request request;
    request.mode = c.mode;
    request.outputDir = "/out/";
    request.foldCase = c.foldCase;
    const auto plan = BatchNaming::Plan(c.sources, request);
    ASSERT_EQ(plan.size(), std::size_t(c.expected.size()));
    for (std::size_t i = 0; i < plan.size(); ++i) {
      EXPECT_EQ(plan[i].dest, c.expected[int(i)]);
      EXPECT_EQ(plan[i].wanted, BatchNaming::OutputName(c.sources[int(i)], c.mode, "/out/"));
      EXPECT_EQ(plan[i].Numbered(), plan[i].dest != plan[i].wanted);
    }
  }
}

// Parts of one list that never talk must agree on every name: a picture's name comes from its
// path and its folder's files, whatever else the part holds and in whatever order.
TEST(BatchNaming, OwnNameDependsOnTheFolderNotOnTheRun) {
  struct Case {
    QStringList files;  // the source folder, every file of the run
    Mode mode;
    bool foldCase;
    QStringList expected;  // below the output folder, or the source folder when overwriting
  };
  const Case cases[] = {
      {{"beach.jpg", "beach.png", "beach.gif", "sun.png"},
       Mode::kOtherDir,
       false,
       {"beach.jpg", "beach (png).jpg", "beach (gif).jpg", "sun.jpg"}},
      {{"beach.png", "beach.jpg"}, Mode::kOverwrite, false, {"beach (png).jpg", "beach.jpg"}},
      // A .jpeg keeps its own name, so it leaves scan.jpg to the PNG.
      {{"scan.jpeg", "scan.png"}, Mode::kOtherDir, false, {"scan.jpeg", "scan.jpg"}},
      {{"Moon.JPG", "moon.png"}, Mode::kOtherDir, false, {"Moon.JPG", "moon.jpg"}},
      {{"Moon.JPG", "moon.png"}, Mode::kOtherDir, true, {"Moon.JPG", "moon (png).jpg"}},
      // Equal but for case: told apart in byte order, never by the order of the run.
      {{"a.png", "A.png"}, Mode::kOtherDir, true, {"a (2).jpg", "A.jpg"}},
      {{"img.jpg", "IMG.JPG"}, Mode::kOtherDir, true, {"img (2).jpg", "IMG.JPG"}},
      {{"a.jpg", "a.png", "A.png"},
       Mode::kOtherDir,
       true,
       {"a.jpg", "a (png) (2).jpg", "A (png).jpg"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.files.join(", ").toStdString());
    QTemporaryDir dir;
    const QString in = dir.path() + "/in/", out = dir.path() + "/out/";
    ASSERT_TRUE(QDir().mkpath(in));
    QStringList sources;
    for (const QString& name : c.files) {
      QFile f(in + name);
      ASSERT_TRUE(f.open(QIODevice::WriteOnly));
      sources << in + name;
    }
    const QString base = c.mode == Mode::kOverwrite ? in : out;
    BatchNaming::Request request;
    request.mode = c.mode;
    request.outputDir = out;
    request.foldCase = c.foldCase;
    QStringList reversed(sources.rbegin(), sources.rend());
    for (const QStringList& run : {sources, reversed}) {
      const auto plan = BatchNaming::Plan(run, request);
      for (int i = 0; i < run.size(); ++i) {
        const int file = int(sources.indexOf(run[i]));
        EXPECT_EQ(plan[std::size_t(i)].dest, base + c.expected[file]);
        // Alone in a part of its own, it gets the same name.
        EXPECT_EQ(BatchNaming::Plan({run[i]}, request)[0].dest, base + c.expected[file]);
      }
    }
  }
}
