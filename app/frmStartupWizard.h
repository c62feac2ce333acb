#pragma once
// "Welcome!": asks whether to browse pictures in the main window or to run the batch
// wizard, and remembers whether it should be offered on start ("ShowStartUp").
#include <QDialog>

class QCheckBox;
class QPushButton;
class QRadioButton;

class frmStartupWizard : public QDialog {
  Q_OBJECT
 public:
  static constexpr const char* kShowStartUp = "ShowStartUp";

  explicit frmStartupWizard(QWidget* parent = nullptr);
  // Whether the program, started from the launcher, offers this dialog: the stored choice,
  // on when nothing is stored yet (the box is ticked by design).
  static bool WantedOnStart();

  void cmdNext_Click();
  void cmdCancel_Click();

 signals:
  // Go with "Browse": the main window, opened when it is not.
  void BrowseRequested();
  // Go with the wizard: the batch wizard on its first page.
  void BatchWizardRequested();

 private:
  QRadioButton* optWizard;
  QRadioButton* optBrowse;
  QCheckBox* chkShowOnStart;
  QPushButton* cmdNext;
  QPushButton* cmdCancel;
};
