#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "RecordingDialogs.h"
#include "app/Shell.h"
#include "app/frmStartupWizard.h"
#include "controls/modModal.h"
#include "settings/clsReg.h"

namespace {

QString StoredShowStartUp() { return clsReg().GetValue(frmStartupWizard::kShowStartUp); }
void StoreShowStartUp(const QString& value) {
  clsReg().SetValue(frmStartupWizard::kShowStartUp, value);
}

// Closes every window a test opened, so the next test starts with none.
void CloseAllWindows() {
  for (QWidget* w : QApplication::topLevelWidgets()) w->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class StartupWizard : public ::testing::Test {
 protected:
  void TearDown() override { CloseAllWindows(); }
  RecordingDialogs dialogs;
};

}  // namespace

TEST_F(StartupWizard, CheckBoxFollowsTheStoredValue) {
  for (const auto& [stored, checked] :
       {std::pair{"0", false}, {"1", true}, {"7", true}, {"", true}, {"yes", true}}) {
    StoreShowStartUp(stored);
    frmStartupWizard wizard;
    EXPECT_EQ(wizard.findChild<QCheckBox*>("chkShowOnStart")->isChecked(), checked)
        << "stored " << stored;
  }
}

TEST_F(StartupWizard, GoStoresTheCheckBoxAndCancelStoresNothing) {
  StoreShowStartUp("0");
  {
    frmStartupWizard wizard;
    wizard.findChild<QCheckBox*>("chkShowOnStart")->setChecked(true);
    wizard.findChild<QPushButton*>("cmdCancel")->click();
    EXPECT_EQ(wizard.result(), QDialog::Rejected);
  }
  EXPECT_EQ(StoredShowStartUp(), "0");
  {
    frmStartupWizard wizard;
    wizard.findChild<QCheckBox*>("chkShowOnStart")->setChecked(true);
    wizard.findChild<QPushButton*>("cmdNext")->click();
  }
  EXPECT_EQ(StoredShowStartUp(), "1");
  {
    frmStartupWizard wizard;
    EXPECT_TRUE(wizard.findChild<QCheckBox*>("chkShowOnStart")->isChecked());
    wizard.findChild<QCheckBox*>("chkShowOnStart")->setChecked(false);
    wizard.findChild<QPushButton*>("cmdNext")->click();
  }
  EXPECT_EQ(StoredShowStartUp(), "0");
}

TEST_F(StartupWizard, GoOpensTheChosenWindow) {
  Shell shell;
  {
    frmStartupWizard wizard;
    shell.ConnectStartupWizard(&wizard);
    wizard.show();
    wizard.findChild<QRadioButton*>("optWizard")->setChecked(true);
    wizard.findChild<QPushButton*>("cmdNext")->click();
    EXPECT_FALSE(wizard.isVisible());
  }
  EXPECT_TRUE(modModal::IsFormLoaded("frmBatch"));
  EXPECT_FALSE(modModal::IsFormLoaded(modModal::kMainWindowName));
  CloseAllWindows();
  EXPECT_FALSE(modModal::IsFormLoaded("frmBatch"));

  {
    frmStartupWizard wizard;
    shell.ConnectStartupWizard(&wizard);
    wizard.findChild<QRadioButton*>("optBrowse")->setChecked(true);
    wizard.findChild<QPushButton*>("cmdNext")->click();
  }
  EXPECT_TRUE(modModal::IsFormLoaded(modModal::kMainWindowName));
  EXPECT_FALSE(modModal::IsFormLoaded("frmBatch"));
}
