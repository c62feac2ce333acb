#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "LanguageFileWriter.h"
#include "core/AppInfo.h"
#include "settings/clsLanguage.h"

namespace {
using Entries = std::vector<std::pair<QString, QString>>;

class LanguageFile : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString Write(const QByteArray& bytes) {
    const QString path = dir.filePath("Trimjet.lng");
    EXPECT_TRUE(WriteBytes(path, bytes));
    return path;
  }
  QString Write(const Entries& entries) { return Write(LanguageFileBytes(entries)); }
};

struct LookupCase {
  const char* name;
  Entries entries;
  std::vector<std::pair<QString, QString>> expected;  // GetString key -> text
};

class MessageLookup : public LanguageFile, public ::testing::WithParamInterface<LookupCase> {};
}  // namespace

TEST_P(MessageLookup, AfterLoadingAndDefaults) {
  clsLanguage language(Write(GetParam().entries));
  language.AddDefaultStrings();
  EXPECT_TRUE(language.IsLoaded());
  for (const auto& [key, text] : GetParam().expected)
    EXPECT_EQ(language.GetString(key), text) << qPrintable(key);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MessageLookup,
    ::testing::Values(
        LookupCase{"LaterEntryWinsOverEarlierAndDefault",
                   {{"MSG_SavImg", "A"}, {"MSG_SavImg", "B"}},
                   {{"SavImg", "B"}, {"Warning", "WARNING"}}},
        LookupCase{"KeysIgnoreCase",
                   {{"MSG_SavImg", "X"}, {"MSG_WARNING", "Achtung"}},
                   {{"savimg", "X"}, {"SAVIMG", "X"}, {"Warning", "Achtung"}}},
        LookupCase{"LowerCasePrefixIsAControlKey",
                   {{"msg_Original", "Vorher"}, {"Msg_File", "Datei"}},
                   {{"Original", "Original"}, {"File", "File"}, {"msg_Original", "msg_Original"}}},
        LookupCase{"TextsAsStored",
                   {{"MSG_Note", QString::fromUtf8("Café €\r\nzwei  ")}, {"MSG_", "empty key"}},
                   {{"Note", QString::fromUtf8("Café €\r\nzwei  ")}, {"", "empty key"}}},
        LookupCase{"MissingKeyIsItsOwnText", {}, {{"NoSuchKey", "NoSuchKey"}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LanguageFile, MissingFileLeavesOnlyDefaults) {
  clsLanguage language(dir.filePath("none.lng"));
  EXPECT_FALSE(language.IsLoaded());
  EXPECT_EQ(language.GetString("SavImg"), "SavImg");
  language.AddDefaultStrings();
  EXPECT_EQ(language.GetString("SavImg"), "Save image?");
}

TEST_F(LanguageFile, CountOfZeroOrAnEmptyFileStillCountsAsLoaded) {
  for (const QByteArray& bytes : {QByteArray(3, '\0'), QByteArray()}) {
    clsLanguage language(Write(bytes));
    EXPECT_TRUE(language.IsLoaded());
    EXPECT_EQ(language.GetString("SavImg"), "SavImg");
  }
}

TEST_F(LanguageFile, TruncatedFileKeepsTheEntriesReadBeforeTheCut) {
  const Entries entries = {{"MSG_One", "1"}, {"MSG_Two", "22"}, {"MSG_Three", "333"}};
  const QByteArray whole = LanguageFileBytes(entries);
  // Each entry ends after 4 length bytes plus its name and text.
  std::vector<int> ends;
  int end = 3;
  for (const auto& [name, text] : entries) ends.push_back(end += 4 + name.size() + text.size());
  ASSERT_EQ(ends.back(), whole.size());

  for (int cut = 0; cut <= whole.size(); ++cut) {
    clsLanguage language(Write(whole.left(cut)));
    EXPECT_TRUE(language.IsLoaded());
    for (size_t i = 0; i < entries.size(); ++i) {
      const QString key = entries[i].first.mid(4);
      const QString expected = cut >= ends[i] ? entries[i].second : key;
      EXPECT_EQ(language.GetString(key), expected) << "cut at " << cut;
    }
  }
}

TEST_F(LanguageFile, CountLargerThanTheEntriesReadsWhatIsThere) {
  QByteArray bytes = LanguageFileBytes({{"MSG_A", "a"}, {"MSG_B", "b"}});
  bytes.replace(0, 3, LittleEndian(0xFFFFFF, 3));
  clsLanguage language(Write(bytes));
  EXPECT_EQ(language.GetString("A"), "a");
  EXPECT_EQ(language.GetString("B"), "b");
}

TEST(LanguageDefaults, TextsAndPrecedence) {
  clsLanguage language(QString{});
  language.AddLanguageString("Warning", "Vorsicht");
  language.AddDefaultStrings();
  EXPECT_EQ(language.GetString("Warning"), "Vorsicht");
  EXPECT_EQ(language.GetString("OverwriteImg"),
            "You are about to overwrite ALL selected pictures\nContinue?");
  const QString chars = "/ \\ : * \" ? < > |";
  EXPECT_EQ(chars.size(), 17);
  EXPECT_EQ(language.GetString("InvalChars"),
            "The following characters may not be used in file names:\n\n" + chars +
                "\n\nPlease specify another file name.");
  EXPECT_EQ(language.GetString("NoSupFilesInFolder"),
            "No supported files found in the specified folder");
  EXPECT_EQ(language.GetString("SuppSave"), "Supported save files");
  language.AddLanguageString("SuppSave", "changed");
  EXPECT_EQ(language.GetString("suppsave"), "Supported save files");
}

TEST(LanguageDefaults, DefaultFileIsNamedAfterTheHelpFile) {
  const QString folder = AppInfo::ProgramFolder();
  const std::pair<QString, QString> cases[] = {
      {"", folder + "/Trimjet.lng"},
      {"/opt/x.y/Trimjet.html", folder + "/Trimjet.lng"},
      {"/opt/help/Manual.v2.hlp", folder + "/Manual.lng"},
      {"Plain", folder + "/Plain.lng"},
  };
  for (const auto& [help, expected] : cases) {
    AppInfo::SetHelpFile(help);
    EXPECT_EQ(clsLanguage::DefaultFilePath(), expected) << qPrintable(help);
  }
  AppInfo::SetHelpFile(QString());
  EXPECT_EQ(&Language(), &Language());
}
