#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/StartupTargets.h"
#include "app/frmStartupWizard.h"
#include "app/modMAIN.h"
#include "controls/Dialogs.h"
#include "settings/clsLanguage.h"
#include "settings/clsReg.h"

namespace {

// Records what start-up asks of the windows, in order.
class RecordingTargets : public StartupTargets {
 public:
  QStringList calls;
  bool batchLoads = true;
  int waitDepth = 0;

  void ShowMainWindow(const QString& folder) override {
    calls << (folder.isEmpty() ? QString("main") : "main:" + folder);
  }
  void ShowOptimizer(const QString& path) override { calls << "optimize:" + path; }
  void ShowAbout() override { calls << "about"; }
  void OfferStartupWizard() override { calls << "startupWizard"; }
  bool OpenBatch(const QStringList& paths, BatchPage page) override {
    calls << (page == BatchPage::kOptions ? "batchOptions:" : "batchList:") + paths.join('|');
    return batchLoads;
  }
  void Message(const QString& text, int style) override {
    calls << QString("message:%1:%2").arg(style).arg(text);
  }
  void SetWaitCursor(bool wait) override { waitDepth += wait ? 1 : -1; }
};

QStringList Start(const QString& args, RecordingTargets& t) {
  modMAIN::Main(args, t);
  EXPECT_EQ(t.waitDepth, 0) << "the wait cursor must be restored";
  return t.calls;
}

QStringList Start(const QString& args) {
  RecordingTargets t;
  return Start(args, t);
}

void Touch(const QString& path) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

const QString kNoFiles = "message:48:No supported files found in the specified folder";

}  // namespace

class StartupTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { Language().AddDefaultStrings(); }
  // The keyword tests look at the one window chosen; the start-up wizard has its own test.
  void SetUp() override { clsReg().SetValue(frmStartupWizard::kShowStartUp, "0"); }
};

TEST_F(StartupTest, TheLauncherOffersTheStartupWizardWhileShowStartUpIsOn) {
  struct Row {
    const char* args;
    const char* stored;  // ShowStartUp; "" when never stored
    QStringList calls;
  };
  for (const Row& row : {Row{"Debug:StartMain", "", {"main", "startupWizard"}},
                         Row{"Debug:StartMain", "1", {"main", "startupWizard"}},
                         Row{"Debug:StartMain", "0", {"main"}},
                         // A folder named after the keyword comes from a script, not the user.
                         Row{"Debug:StartMain /pics", "1", {"main:/pics"}}, Row{"", "1", {"about"}},
                         Row{"OptimizeImage /x/a.jpg", "1", {"optimize:/x/a.jpg"}}}) {
    SCOPED_TRACE(std::string(row.args) + " / " + row.stored);
    clsReg().SetValue(frmStartupWizard::kShowStartUp, row.stored);
    EXPECT_EQ(Start(row.args), row.calls);
  }
}

TEST_F(StartupTest, KeywordDecidesTheWindow) {
  const std::pair<const char*, const char*> rows[] = {
      {"", "about"},
      {"Debug:StartMain", "main"},
      {"Debug:StartMain /home/me/My Pictures", "main:/home/me/My Pictures"},
      {"x Debug:StartMain /home/me", "main"},  // a folder only right after the keyword
      {"optimizeimage /x/a.jpg", "about"},     // keywords are case-sensitive
      {"OptimizeImage BatchProcess x", "optimize:BatchProcess x"},
      {"x Debug:StartMain OptimizeImage", "main"},  // no keyword at the start: fixed order
      {"OptimizeImage /home/me/My Pictures/a b.jpg", "optimize:/home/me/My Pictures/a b.jpg"},
      {"OptimizeImage /pics/Debug:StartMain/BatchProcess.jpg",
       "optimize:/pics/Debug:StartMain/BatchProcess.jpg"},
  };
  for (const auto& [args, first] : rows) {
    const QStringList calls = Start(args);
    ASSERT_FALSE(calls.isEmpty()) << args;
    EXPECT_EQ(calls.first(), first) << args;
    EXPECT_EQ(calls.size(), 1) << args;
  }
}

TEST_F(StartupTest, KeywordAtTheStartBeatsOneInsideAPath) {
  QTemporaryDir dir;
  const QString folder = dir.path() + "/Debug:StartMain OptimizeImage/";
  ASSERT_TRUE(QDir().mkpath(folder));
  Touch(folder + "a.jpg");
  const QStringList calls = Start("BatchProcess " + folder + "?a.jpg");
  EXPECT_EQ(calls, QStringList({"batchOptions:" + folder + "a.jpg"}));
}

TEST_F(StartupTest, BatchAddsExistingFilesOfTheList) {
  QTemporaryDir dir;
  Touch(dir.path() + "/one.jpg");
  Touch(dir.path() + "/two words.png");
  const QString folder = dir.path() + "/";
  const QStringList calls = Start("BatchProcess " + folder + "?one.jpg?missing.gif?two words.png");
  EXPECT_EQ(calls, QStringList({"batchOptions:" + folder + "one.jpg|" + folder + "two words.png"}));
}

TEST_F(StartupTest, BatchFolderWithoutNamesAddsItWithSubfolders) {
  QTemporaryDir dir;
  const QStringList calls = Start("BatchProcess " + dir.path());
  EXPECT_EQ(calls, QStringList({"batchOptions:" + dir.path()}));
}

TEST_F(StartupTest, BatchWithNothingUsableShowsTheMessage) {
  const QStringList calls = Start("BatchProcess /no/such/folder/?gone.jpg");
  EXPECT_EQ(calls, QStringList({kNoFiles}));
}

TEST_F(StartupTest, BatchWhoseFilesAreAllRejectedShowsTheMessage) {
  QTemporaryDir dir;
  Touch(dir.path() + "/notes.txt");
  RecordingTargets t;
  t.batchLoads = false;
  const QStringList calls = Start("BatchProcess " + dir.path() + "/?notes.txt", t);
  EXPECT_EQ(calls, QStringList({"batchOptions:" + dir.path() + "/notes.txt", kNoFiles}));
}

TEST(StartupArgs, JoinedWithSingleBlanks) {
  EXPECT_EQ(modMAIN::ArgsFromCommandLine({"/opt/Trimjet.dat"}), "");
  EXPECT_EQ(modMAIN::ArgsFromCommandLine({"prog", "OptimizeImage /a b/c.jpg"}),
            "OptimizeImage /a b/c.jpg");
  EXPECT_EQ(modMAIN::ArgsFromCommandLine({"prog", "OptimizeImage", "/a", "b.jpg"}),
            "OptimizeImage /a b.jpg");
}
