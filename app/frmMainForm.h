#pragma once
// "Trimjet": the browsing window. A folder tree, the thumbnails of the chosen folder and a
// preview of the first selected picture; asks for the selection to go to the optimiser or the
// batch wizard or into View windows (the shell opens them), deletes pictures, and keeps its
// commands in step with the open windows.
#include <QMainWindow>
#include <QStringList>

#include "browse/BrowserHost.h"

class CommandButton;
class ImagePreview;
class PictureBrowser;
class QAction;
class QLabel;
class QMenu;
class QPushButton;
class SizerBarX;
class SizerBarY;
class TreeControl;
class UserProgress;

class frmMainForm : public QMainWindow, public BrowserHost {
  Q_OBJECT
 public:
  explicit frmMainForm(QWidget* parent = nullptr);
  ~frmMainForm() override;

  // Before the first activation: an existing folder opens instead of the remembered one.
  void SetStartFolder(const QString& folder);
  // Enables the commands by the selection and the open optimiser and batch windows.
  void UpdateControls();
  // Makes folder current in the tree, which fills the browser.
  void SetDirectory(const QString& folder);

  // Commands (frmMainFormCommands.cpp).
  void cmdOpen_Click();
  void cmdOptimize_Click();
  void cmdSave_Click();
  void cmdSaveAs_Click();
  void cmdRefresh_Click();
  void mnuBView_Click();
  void mnuBDelete_Click();
  void mnuTBatch_Click();
  void mnuHHelp_Click();
  void mnuHWizard_Click();
  void mnuHAbout_Click();

  // The folder scan's window side (frmMainFormScan.cpp).
  void BeginScan() override;
  void SetScanRange(int count) override;
  void SetScanValue(int value) override;
  bool ScanCancelled() override { return cancel_; }
  void EndScan() override;
  void ShowPictureCount(int count) override;
  bool CancelFlag() const { return cancel_; }

  PictureBrowser* Browser() const { return PictureBrowser_; }
  TreeControl* Tree() const { return TreeControl_; }
  ImagePreview* Preview() const { return ImagePreview_; }
  QMenu* BrowserMenu() const { return mnuBrowser_; }

 signals:
  // One picture for the optimiser.
  void OptimizeRequested(const QString& path);
  // Pictures for the batch wizard, in order: shown on its options page, and not shown when
  // needsPicture and none of them loads. None: the wizard on its first page.
  void BatchRequested(const QStringList& paths, bool needsPicture);
  // A preview window for each of these pictures that loads.
  void ViewRequested(const QStringList& paths);
  // Save and Save As of the open optimiser.
  void SaveRequested();
  void SaveAsRequested();
  void StartupWizardRequested();
  void AboutRequested();

 protected:
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Layout (frmMainFormLayout.cpp).
  void BuildControls();
  void BuildMenus();
  void BuildToolbar();
  void ConnectControls();
  void Form_Resize();
  void LeftBar_Resize();
  void BottomBar_Resize();
  void SizerBar_Dragged(int pixels);
  void SizerBarY_Dragged(int pixels);

  void FirstActivation();
  void Browser_SelectionChanged();
  void ShowSelectedDimensions();
  void Browser_Menu(int x, int y);
  QStringList SelectedPaths() const;

  bool firstActivation_ = true;
  bool cancel_ = false;
  bool scanning_ = false;
  bool closePending_ = false;  // a close asked for during a scan, carried out after it
  QString startFolder_;
  QList<QWidget*> scanDisabled_;  // what BeginScan disabled, for EndScan

  QWidget* TopBar_ = nullptr;
  QWidget* LeftBar_ = nullptr;
  QWidget* BottomBar_ = nullptr;
  TreeControl* TreeControl_ = nullptr;
  SizerBarY* SizerBarY_ = nullptr;
  ImagePreview* ImagePreview_ = nullptr;
  SizerBarX* SizerBar_ = nullptr;
  PictureBrowser* PictureBrowser_ = nullptr;
  CommandButton* cmdOpen_ = nullptr;
  CommandButton* cmdSave_ = nullptr;
  CommandButton* cmdSaveAs_ = nullptr;
  CommandButton* cmdOptimize_ = nullptr;
  CommandButton* cmdRefresh_ = nullptr;
  QLabel* txtSize_ = nullptr;
  QLabel* txtDimensions_ = nullptr;
  QLabel* txtPics_ = nullptr;
  QPushButton* cmdCancel_ = nullptr;
  UserProgress* Progress_ = nullptr;
  QAction* mnuFOpen_ = nullptr;
  QAction* mnuFSave_ = nullptr;
  QAction* mnuFSaveAs_ = nullptr;
  QAction* mnuTBatch_ = nullptr;
  QAction* mnuHWizard_ = nullptr;
  QMenu* mnuBrowser_ = nullptr;
};
