// Damaged language files of the corpus: the reader keeps the entries read before the fault,
// drops an entry cut short, marks the table loaded and never runs past the end of the file.
#include <gtest/gtest.h>

#include <QWidget>

#include "settings/clsLanguage.h"

namespace {

struct LanguageCase {
  const char* file;
  bool firstEntriesKept;  // MSG_SavImg and the window caption before the fault
};

class DamagedLanguageFile : public ::testing::TestWithParam<LanguageCase> {};

TEST_P(DamagedLanguageFile, KeepsWhatWasReadBeforeTheFault) {
  const LanguageCase& c = GetParam();
  clsLanguage language(QStringLiteral(HOSTILE_CORPUS "/") + c.file);
  EXPECT_TRUE(language.IsLoaded());
  EXPECT_EQ(language.GetString("SavImg"), c.firstEntriesKept ? "Bild speichern?" : "SavImg");
  // Where the file has MSG_NotSupported it is cut short, so no case may have it.
  EXPECT_EQ(language.GetString("NotSupported"), "NotSupported");

  QWidget about;
  about.setObjectName("frmAbout");
  about.setWindowTitle("About");
  language.UpdateObject(&about);
  EXPECT_EQ(about.windowTitle(), c.firstEntriesKept ? "Info" : "About");

  // Defaults still fill in behind whatever the file gave.
  language.AddDefaultStrings();
  EXPECT_EQ(language.GetString("NotSupported"),
            "Sorry, this format is not (yet) supported by Trimjet");
}

INSTANTIATE_TEST_SUITE_P(Corpus, DamagedLanguageFile,
                         ::testing::Values(LanguageCase{"lng-zero.lng", false},
                                           LanguageCase{"lng-cut-in-count.lng", false},
                                           LanguageCase{"lng-count-only.lng", false},
                                           LanguageCase{"lng-count-past-end.lng", true},
                                           LanguageCase{"lng-giant-count.lng", true},
                                           LanguageCase{"lng-length-past-end.lng", true}));

TEST(DamagedLanguageFile, EntryWhoseTextRunsPastTheEndIsDropped) {
  // The caption entry's text claims 900 bytes with none left: the message before it stays.
  clsLanguage language(QStringLiteral(HOSTILE_CORPUS "/lng-name-past-end.lng"));
  EXPECT_TRUE(language.IsLoaded());
  EXPECT_EQ(language.GetString("SavImg"), "Bild speichern?");
  QWidget about;
  about.setObjectName("frmAbout");
  about.setWindowTitle("About");
  language.UpdateObject(&about);
  EXPECT_EQ(about.windowTitle(), "About");
}

}  // namespace
