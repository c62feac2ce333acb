#pragma once
// frmAddDir: "Browse for folder": a folder tree and an include-subfolders box; remembers the
// last folder and the box between runs.
#include <QDialog>

class QCheckBox;
class TreeControl;

class frmAddDir : public QDialog {
  Q_OBJECT
 public:
  explicit frmAddDir(QWidget* parent = nullptr);

  void SetInitialFolder(const QString& fullPath) { initialFolder_ = fullPath; }
  // Shows the dialog modally; the chosen folder, "" when cancelled.
  QString DoModal(QWidget* parent);
  bool IncludeSubFolders() const { return includeSubFolders_; }
  QString ChosenFolder() const { return chosenFolder_; }
  TreeControl* Tree() const { return tree_; }

  void cmdOK_Click();
  void cmdCancel_Click();

 protected:
  void reject() override;
  void showEvent(QShowEvent* event) override;

 private:
  TreeControl* tree_;
  QCheckBox* chkSubFolders_;
  QString chosenFolder_;
  QString initialFolder_;
  bool includeSubFolders_ = false;
  bool activated_ = false;
};
