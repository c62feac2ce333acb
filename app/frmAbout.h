#pragma once
// The About box: product title, version and a link to the maker's web page. Started
// without a keyword, it is the program's only window.
#include <QDialog>

class QLabel;
class QPushButton;

class frmAbout : public QDialog {
  Q_OBJECT
 public:
  static constexpr const char* kWebAddress = "https://trimjet.norvale.example/";

  explicit frmAbout(QWidget* parent = nullptr);

  // "Version " + major + "." + minor of the program's own version.
  static QString VersionText();

 private:
  void cmdLink_Click();

  QLabel* lblTitle;
  QLabel* lblVersion;
  QLabel* lblDescription;
  QLabel* lblDisclaimer;
  QPushButton* cmdOK;
  QPushButton* cmdLink;
};
