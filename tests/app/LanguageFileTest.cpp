// Runs in a program folder of its own: it places a Trimjet.lng beside itself before the
// shared language table is first used, as a translator would install one.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>

#include "app/frmAbout.h"
#include "app/modMAIN.h"
#include "settings/clsLanguage.h"

namespace {

QByteArray Field(const QByteArray& bytes) {
  QByteArray out;
  out.append(char(bytes.size() & 0xff)).append(char(bytes.size() >> 8));
  return out + bytes;
}

class LanguageFile : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = QCoreApplication::applicationDirPath() + "/Trimjet.lng";
    const std::pair<const char*, const char*> entries[] = {
        {"MSG_NoSupFilesInFolder", "Keine unterst\xfctzten Dateien"},
        {"frmAbout_frmAbout_cap",
         "\xdc"
         "ber Trimjet"},
        {"frmAbout_cmdOK_cap",
         "Schlie\xdf"
         "en"},
        {"frmAbout_lblTitle_cap", "not shown: the title is fixed"},
    };
    QByteArray data;
    const int n = static_cast<int>(std::size(entries));
    data.append(char(n)).append(char(0)).append(char(0));
    for (const auto& [name, text] : entries) data += Field(name) + Field(text);
    QFile f(path_);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
  }
  void TearDown() override { QFile::remove(path_); }
  QString path_;
};

}  // namespace

TEST_F(LanguageFile, OverridesMessagesAndTheAboutBox) {
  modMAIN::Prepare();  // reads the file, then adds the English defaults
  ASSERT_TRUE(Language().IsLoaded());
  EXPECT_EQ(Language().GetString("NoSupFilesInFolder"),
            QString::fromUtf8("Keine unterstützten Dateien"));
  EXPECT_EQ(Language().GetString("SavImg"), "Save image?");  // a default the file leaves alone

  frmAbout about;
  EXPECT_EQ(about.windowTitle(), QString::fromUtf8("Über Trimjet"));
  EXPECT_EQ(about.findChild<QPushButton*>("cmdOK")->text(), QString::fromUtf8("Schließen"));
  EXPECT_EQ(about.findChild<QLabel*>("lblTitle")->text(), "Trimjet");
  EXPECT_EQ(about.findChild<QLabel*>("lblVersion")->text(), "Version 1.8");
}
