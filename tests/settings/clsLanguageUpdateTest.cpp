// UpdateObject on real widgets: window caption, nested controls, group box titles, menus,
// control arrays, and controls without a text property.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include "LanguageFileWriter.h"
#include "settings/clsLanguage.h"

namespace {
template <class T>
T* Make(QWidget* parent, const char* name, const QString& text = "designed") {
  auto* w = new T(parent);
  w->setObjectName(name);
  if constexpr (requires { w->setText(text); }) w->setText(text);
  return w;
}

struct Window {
  QDialog dialog;
  QLabel* lblTitle = Make<QLabel>(&dialog, "lblTitle");
  QPushButton* cmdOK = Make<QPushButton>(&dialog, "cmdOK");
  QGroupBox* fraInfo = new QGroupBox("designed", &dialog);
  QCheckBox* chkShow = Make<QCheckBox>(fraInfo, "chkShow");
  QLineEdit* txtName = Make<QLineEdit>(fraInfo, "txtName");
  QRadioButton* optMode0 = Make<QRadioButton>(fraInfo, "optMode");
  QRadioButton* optMode1 = Make<QRadioButton>(fraInfo, "optMode");
  QComboBox* cboList = Make<QComboBox>(&dialog, "cboList");
  QMenu* mnuFile = new QMenu("designed", &dialog);
  QAction* mnuFOpen = mnuFile->addAction("designed");

  Window() {
    dialog.setObjectName("frmAbout");
    dialog.setWindowTitle("designed");
    fraInfo->setObjectName("fraInfo");
    mnuFile->setObjectName("mnuFile");
    mnuFOpen->setObjectName("mnuFOpen");
  }
};

const std::vector<std::pair<QString, QString>> kEntries = {
    {"frmAbout_frmAbout_cap", "Über"},
    {"frmAbout_lblTitle_cap", "Titel"},
    {"frmAbout_cmdOK_cap", "Gut"},
    {"frmAbout_cmdOK_cap", "second entry is ignored"},
    {"FRMABOUT_CMDOK_TIP", "Schließen"},
    {"frmAbout_fraInfo_cap", "Info"},
    {"frmAbout_chkShow_cap", "Zeigen"},
    {"frmAbout_txtName_txt", "Name"},
    {"frmAbout_optMode_cap", "Modus"},
    {"frmAbout_cboList_txt", "Liste"},
    {"frmAbout_cboList_tip", "Auswahl"},
    {"frmAbout_mnuFile_cap", "&Datei"},
    {"frmAbout_mnuFOpen_cap", "Ö&ffnen"},
    {"frmOther_lblTitle_cap", "other window"},
    {"MSG_lblTitle_cap", "a message, not a control text"},
    {"ImageOptimize_lblTitle_cap", "panel title"},
};

class UpdateObject : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString Write(const QByteArray& bytes) {
    const QString path = dir.filePath("Trimjet.lng");
    EXPECT_TRUE(WriteBytes(path, bytes));
    return path;
  }
};

void ExpectDesigned(const Window& w) {
  EXPECT_EQ(w.dialog.windowTitle(), "designed");
  EXPECT_EQ(w.lblTitle->text(), "designed");
  EXPECT_EQ(w.cmdOK->text(), "designed");
  EXPECT_EQ(w.cmdOK->toolTip(), "");
  EXPECT_EQ(w.fraInfo->title(), "designed");
}
}  // namespace

TEST_F(UpdateObject, AppliesCaptionsTextsAndTips) {
  clsLanguage language(Write(LanguageFileBytes(kEntries)));
  Window w;
  language.UpdateObject(&w.dialog);

  EXPECT_EQ(w.dialog.windowTitle(), "Über");
  EXPECT_EQ(w.lblTitle->text(), "Titel");
  EXPECT_EQ(w.cmdOK->text(), "Gut");
  EXPECT_EQ(w.cmdOK->toolTip(), "Schließen");
  EXPECT_EQ(w.fraInfo->title(), "Info");
  EXPECT_EQ(w.chkShow->text(), "Zeigen");
  EXPECT_EQ(w.txtName->text(), "Name");
  EXPECT_EQ(w.optMode0->text(), "Modus");
  EXPECT_EQ(w.optMode1->text(), "Modus");
  EXPECT_EQ(w.mnuFile->title(), "&Datei");
  EXPECT_EQ(w.mnuFOpen->text(), "Ö&ffnen");
  // A combo box has no text to set: its tip changes, nothing else, and no property appears.
  EXPECT_EQ(w.cboList->toolTip(), "Auswahl");
  EXPECT_EQ(w.cboList->currentText(), "");
  EXPECT_TRUE(w.cboList->dynamicPropertyNames().isEmpty());
}

TEST_F(UpdateObject, PanelUsesItsTypeNameAsWindowName) {
  clsLanguage language(Write(LanguageFileBytes(kEntries)));
  Window w;
  language.UpdateObject(&w.dialog, "ImageOptimize");
  EXPECT_EQ(w.lblTitle->text(), "panel title");
  EXPECT_EQ(w.cmdOK->text(), "designed");
}

TEST_F(UpdateObject, WindowLeavesTheInsideOfAnEmbeddedPanelAlone) {
  clsLanguage language(Write(LanguageFileBytes(kEntries)));
  Window w;
  auto* panel = Make<QWidget>(&w.dialog, "ImageOptimize");
  auto* panelTitle = Make<QLabel>(panel, "lblTitle");
  language.UpdateObject(panel);  // the panel loads first, as an embedded control does
  language.UpdateObject(&w.dialog);
  EXPECT_EQ(w.lblTitle->text(), "Titel");
  EXPECT_EQ(panelTitle->text(), "panel title") << "the window's own lblTitle text leaked in";
}

TEST_F(UpdateObject, LeavesDesignedTextsWithoutControlTexts) {
  const struct {
    const char* name;
    QByteArray bytes;
    bool write;
  } cases[] = {
      {"no file", {}, false},
      {"zero entries", QByteArray(3, '\0'), true},
      {"only messages", LanguageFileBytes({{"MSG_frmAbout_frmAbout_cap", "x"}}), true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    clsLanguage language(c.write ? Write(c.bytes) : dir.filePath("missing.lng"));
    Window w;
    language.UpdateObject(&w.dialog);
    language.UpdateObject(nullptr);
    ExpectDesigned(w);
  }
}
