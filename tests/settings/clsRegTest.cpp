#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

#include "settings/clsReg.h"

namespace {
class clsRegTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
  }
  QString IniFile() const { return dir.filePath("Norvale/Trimjet 1.8.ini"); }

  // Runs the store in another process on the same folder; returns what it printed.
  QString Tool(const QStringList& args, QProcess* running = nullptr) {
    const QString tool = QCoreApplication::applicationDirPath() + "/settings_reg_tool";
    QProcess local;
    QProcess& p = running ? *running : local;
    p.start(tool, QStringList{dir.path()} + args);
    if (running) return {};
    EXPECT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0) << qPrintable(args.join(' '));
    return QString::fromUtf8(p.readAllStandardOutput());
  }
};
}  // namespace

TEST_F(clsRegTest, BasePathIsExtendedAndWrittenBack) {
  const QString root = "SOFTWARE\\Norvale\\Trimjet 1.8";
  EXPECT_EQ(clsReg::RootPath(), root);
  const struct {
    QString dir, base, writtenBack, keyPath;
  } cases[] = {
      {"", "SOFTWARE\\Norvale\\", root, root},
      {"Batch", "SOFTWARE\\Norvale\\", root, root + "\\Batch"},
      {"Deep", root + "\\Batch", root + "\\Batch", root + "\\Batch\\Deep"},
      {"paths", "software\\norvale\\trimjet 1.8", "software\\norvale\\trimjet 1.8",
       "software\\norvale\\trimjet 1.8\\paths"},
  };
  clsReg reg;
  for (const auto& c : cases) {
    QString base = c.base;
    EXPECT_TRUE(reg.OpenReg(c.dir, base)) << qPrintable(c.dir);
    EXPECT_EQ(base, c.writtenBack);
    EXPECT_EQ(reg.KeyPath(), c.keyPath);
  }
}

TEST_F(clsRegTest, NamesIgnoreLetterCaseLikeTheRegistry) {
  clsReg reg;
  ASSERT_TRUE(reg.OpenReg("Paths"));
  reg.SetValue("SaveAs", "/x");
  ASSERT_TRUE(reg.OpenReg("PATHS"));
  EXPECT_EQ(reg.GetValue("saveas"), "/x");
  reg.SetValue("SAVEAS", "/y");
  reg.OpenReg("");
  EXPECT_EQ(reg.GetAllSubKeys(), QStringList{"Paths"});
  ASSERT_TRUE(reg.OpenReg("Paths"));
  EXPECT_EQ(reg.GetValue("SaveAs"), "/y");
}

TEST_F(clsRegTest, KeysOutsideTheRootCannotBeOpened) {
  clsReg reg;
  for (QString base : {QString("SOFTWARE\\Other"), QString("SOFTWARE\\Norvale\\Trimjet 1.80"),
                       QString("SOFTWARE\\Norvale")}) {
    EXPECT_FALSE(reg.OpenReg("Batch", base)) << qPrintable(base);
    EXPECT_FALSE(reg.IsOpen());
    reg.SetValue("OutputDir", "lost");
    EXPECT_EQ(reg.GetValue("OutputDir"), "");
    EXPECT_TRUE(reg.GetAllSubKeys().isEmpty());
  }
  EXPECT_FALSE(QFile::exists(IniFile()));
}

TEST_F(clsRegTest, FreshUserReadsDefaults) {
  const QString program = QCoreApplication::applicationDirPath();
  clsReg reg;
  EXPECT_EQ(reg.GetValue("ShowStartUp"), "");
  for (const char* name : {"SaveAs", "BatchOpen", "BrowseDir", "AddDir"})
    EXPECT_EQ(reg.ReadRegDir(name, program), program) << name;
  EXPECT_EQ(reg.KeyPath(), clsReg::RootPath() + "\\Paths");
  EXPECT_EQ(reg.GetValue("SubFolders"), "");
  ASSERT_TRUE(reg.OpenReg("Batch"));
  EXPECT_EQ(reg.GetValue("OutputDir"), "");
  EXPECT_EQ(reg.GetValue("OutputMode"), "");
}

TEST_F(clsRegTest, ReadRegDirFallsBackWhenTheFolderIsGone) {
  const QString photos = dir.filePath("Photos ä");
  ASSERT_TRUE(QDir().mkpath(photos));
  clsReg reg;
  reg.WriteRegDir("AddDir", photos);
  EXPECT_EQ(reg.ReadRegDir("AddDir", "/default"), photos);
  // The object stays on Paths, where the add-folder dialog then keeps its flag.
  reg.SetValue("SubFolders", "0");
  ASSERT_TRUE(QDir(photos).removeRecursively());
  EXPECT_EQ(reg.ReadRegDir("AddDir", "/default"), "/default");
  EXPECT_EQ(reg.GetValue("SubFolders"), "0");
  reg.WriteRegDir("AddDir", QString(300, 'x'));  // a malformed path
  EXPECT_EQ(reg.ReadRegDir("AddDir", "/default"), "/default");
  EXPECT_EQ(reg.GetValue("AddDir"), QString(300, 'x'));  // long values are kept whole
}

TEST_F(clsRegTest, DefaultNameWritesTheUnnamedValue) {
  clsReg reg;
  ASSERT_TRUE(reg.OpenReg("Batch"));
  reg.SetValue("Default", "unnamed");
  EXPECT_EQ(reg.GetValue(""), "unnamed");
  EXPECT_EQ(reg.GetValue("Default"), "");
  QSettings ini(IniFile(), QSettings::IniFormat);
  ini.beginGroup("Batch");
  EXPECT_FALSE(ini.childKeys().contains("Default"));
}

TEST_F(clsRegTest, TextsReadBackUnchanged) {
  const QString texts[] = {
      QString::fromUtf8("ÄÖÜäöüß é € „quoted“ — ÿ"),
      QString::fromUtf8("/home/用户/照片"),
      "a, b, c",
      "  spaced  ",
      "@ByteArray(not really)",
      "line\nbreak\ttab",
      "0",
  };
  clsReg writer;
  clsReg reader;
  ASSERT_TRUE(writer.OpenReg("Batch"));
  ASSERT_TRUE(reader.OpenReg("Batch"));
  for (const QString& text : texts) {
    writer.SetValue("OutputDir", text);
    EXPECT_EQ(writer.GetValue("OutputDir"), text);
    EXPECT_EQ(reader.GetValue("OutputDir"), text);
  }
}

TEST_F(clsRegTest, TwoObjectsSeeEachOthersWrites) {
  clsReg a;
  clsReg b;
  ASSERT_TRUE(a.OpenReg("Batch"));
  ASSERT_TRUE(b.OpenReg("Batch"));
  a.SetValue("OutputDir", "/one");
  EXPECT_EQ(b.GetValue("OutputDir"), "/one");
  b.SetValue("OutputDir", "/two");
  b.SetValue("OutputMode", "Dir");
  EXPECT_EQ(a.GetValue("OutputDir"), "/two");
  a.SetValue("OutputDir", "/three");  // must not undo b's OutputMode
  EXPECT_EQ(b.GetValue("OutputMode"), "Dir");
  EXPECT_EQ(b.GetValue("OutputDir"), "/three");
}

TEST_F(clsRegTest, AnotherProcessSeesWritesOnItsNextRead) {
  clsReg reg;
  ASSERT_TRUE(reg.OpenReg("Paths"));
  reg.SetValue("BrowseDir", QString::fromUtf8("/ünï"));
  EXPECT_EQ(Tool({"Paths", "get", "BrowseDir"}), QString::fromUtf8("/ünï"));
  // Values of equal length leave the file's size unchanged between the writes.
  for (const char* value : {"/child1", "/child2"}) {
    Tool({"Paths", "set", "BrowseDir", value});
    EXPECT_EQ(reg.GetValue("BrowseDir"), value);
  }
}

TEST_F(clsRegTest, ConcurrentWritersLoseNothing) {
  constexpr int kCount = 150;
  QProcess child;
  Tool({"Batch", "many", "c", QString::number(kCount)}, &child);
  ASSERT_TRUE(child.waitForStarted());
  clsReg reg;
  ASSERT_TRUE(reg.OpenReg("Batch"));
  for (int i = 0; i < kCount; ++i) reg.SetValue("p" + QString::number(i), "v" + QString::number(i));
  ASSERT_TRUE(child.waitForFinished(60000));
  EXPECT_EQ(child.exitCode(), 0);

  clsReg fresh;
  ASSERT_TRUE(fresh.OpenReg("Batch"));
  int found = 0;
  for (int i = 0; i < kCount; ++i)
    for (const char* prefix : {"c", "p"})
      found += fresh.GetValue(prefix + QString::number(i)) == "v" + QString::number(i);
  EXPECT_EQ(found, 2 * kCount);
}

TEST_F(clsRegTest, SubKeysAreCreatedListedAndDeleted) {
  clsReg reg;
  for (const char* key : {"Paths", "StartUp", "Batch", "Batch\\Deep"})
    ASSERT_TRUE(reg.OpenReg(key));
  ASSERT_TRUE(reg.OpenReg("Batch"));
  reg.SetValue("OutputMode", "Dir");
  reg.OpenReg("");
  EXPECT_EQ(reg.GetAllSubKeys(), QStringList({"Batch", "Paths", "StartUp"}));
  QStringList added;
  reg.GetAllSubKeys([&added](const QString& name) { added.append(name); });
  EXPECT_EQ(added, reg.GetAllSubKeys());

  reg.DeleteSubKey("");  // never the open key itself
  reg.DeleteSubKey("NoSuchKey");
  EXPECT_EQ(reg.GetAllSubKeys().size(), 3);
  reg.DeleteSubKey("Batch");
  EXPECT_EQ(reg.GetAllSubKeys(), QStringList({"Paths", "StartUp"}));
  ASSERT_TRUE(reg.OpenReg("Batch"));
  EXPECT_EQ(reg.GetValue("OutputMode"), "");
  EXPECT_TRUE(reg.GetAllSubKeys().isEmpty());
}

TEST_F(clsRegTest, SharedObjectStartsAtTheRoot) {
  EXPECT_EQ(&Registry(), &Registry());
  EXPECT_TRUE(clsReg().IsOpen());
  EXPECT_EQ(clsReg().KeyPath(), clsReg::RootPath());
}
