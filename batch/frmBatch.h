#pragma once
// frmBatch: "Batch Processor": the wizard that lists pictures (page 0), sets the options
// with a live preview (page 1), chooses the output (page 2) and runs the batch (page 100).
#include <QWidget>
#include <memory>

#include "core/BatchJob.h"
#include "core/BatchNaming.h"
#include "core/BatchTotals.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class BatchSession;
class ImageOptimize;
class SlideShow;
class UserProgress;
class CommandButton;

class frmBatch : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kRunPage = 100;
  // The settings key of the quality and size of the last run closed.
  static constexpr const char* kOptionsKey = "BatchOptions";
  // Item data of the process list: the folder an entry was added with (empty: added alone).
  static constexpr int kRootRole = Qt::UserRole + 1;
  // The file an entry reaches (BatchInputs::Identity): one file is listed once.
  static constexpr int kIdentityRole = Qt::UserRole + 2;

  explicit frmBatch(QWidget* parent = nullptr);
  ~frmBatch() override;

  // The process list (frmBatchList.cpp).
  // root: the folder the file was found under, ending with "/"; empty for a file added alone.
  void AddFile(const QString& fileName, const QString& root = QString());
  void AddFilesFromPath(QString fullPath, bool bSubFolders);
  bool FillCombo();
  void cmdAddFiles_Click();
  void cmdAddDir_Click();
  void cmdRemoveFiles_Click();
  int FileCount() const;

  // Pages and settings.
  int Page() const { return page_; }
  void SetPage(int page) { page_ = page; }
  void SetVisible();
  // Enables Next, puts Cancel where Back was and hides Back, then page 1 and SetVisible.
  void StartOnOptionsPage();
  // The main window's hand-off: a row for each path in order, Next enabled, page 1.
  void HandOff(const QStringList& paths);
  void cmdNext_Click();
  void cmdBack_Click();
  void cmdFinish_Click();
  void cmdCancel_Click();
  void cmdClose_Click();
  void cboImages_Click();
  void cmdBrowseOutputDir_Click();
  // The output page's choice: each picture replaced in place, or written into folder.
  void ChooseOutput(bool overwrite, const QString& folder);
  void LoadBatchSettings();
  void SaveBatchSettings();

  // The run (frmBatchRun.cpp). Workers: processes working at once; 0 works in-process.
  void SetWorkers(int workers) { workers_ = workers; }
  void SetWorkerProgram(const QString& program) { workerProgram_ = program; }
  void AddProgressLine(const QString& text);
  bool Running() const;
  bool CancelFlag() const { return cancel_; }
  const BatchTotals& Totals() const { return totals_; }

  bool Unloading() const { return unloading_; }
  // The window this one and its previews are kept above and placed against (the main window).
  void SetOwner(QWidget* owner);
  ImageOptimize* Options() const { return ImageOptimize_; }
  QTreeWidget* FileList() const { return lstFiles_; }
  SlideShow* Preview() const { return ImagePreview_; }

 signals:
  void RunFinished();
  // Activated: the main window should bring its commands in step.
  void UpdateControlsRequested();
  // Closed with the output in another folder: the main window may show that folder.
  void FolderRequested(const QString& folder);
  // Closed: the list (each file with the folder its folders are kept below) when it was not
  // run, for the next wizard to start from; empty after a run.
  void ListLeft(const QStringList& files, const QStringList& roots);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // Layout (frmBatchLayout.cpp).
  void BuildControls();
  QWidget* BuildListPage();
  QWidget* BuildOptionsPage();
  QWidget* BuildOutputPage();
  QWidget* BuildRunPage();
  void ConnectControls();
  void BindKeys();

  void ClearList();
  // The overwrite question: how many JPEG files are replaced, how many others get a JPEG beside.
  QString OverwriteWarning() const;
  void StartRun();
  void RunItemStarting(int index);
  void RunItemFinished(int index);
  void RunEnded();
  void Unload();

  int page_ = 0;
  bool cancel_ = false;
  bool runSearchesQuality_ = false;  // the run's options pick a quality per picture
  bool unloading_ = false;
  bool unloaded_ = false;
  int workers_ = 0;
  QString workerProgram_;  // empty: the one beside the program
  BatchTotals totals_;
  BatchSession* session_ = nullptr;  // the last run

  QWidget* Step1_ = nullptr;
  QWidget* Step2_ = nullptr;
  QWidget* Step3_ = nullptr;
  QWidget* StepFinish_ = nullptr;
  QTreeWidget* lstFiles_ = nullptr;
  QPushButton* cmdAddFiles_ = nullptr;
  QPushButton* cmdAddDir_ = nullptr;
  QPushButton* cmdRemoveFiles_ = nullptr;
  SlideShow* ImagePreview_ = nullptr;
  QRadioButton* optFiles_ = nullptr;
  QRadioButton* optDirectory_ = nullptr;
  ImageOptimize* ImageOptimize_ = nullptr;
  QComboBox* cboImages_ = nullptr;
  QRadioButton* optOverwrite_ = nullptr;
  QRadioButton* optOtherDir_ = nullptr;
  QLineEdit* txtOutputDir_ = nullptr;
  QPushButton* cmdBrowseOutputDir_ = nullptr;
  QCheckBox* chkKeepStructure_ = nullptr;
  QComboBox* cboIfExists_ = nullptr;  // number, replace, skip (ExistingOutput::Rule order)
  QCheckBox* chkKeepSmaller_ = nullptr;
  QCheckBox* chkKeepDates_ = nullptr;
  UserProgress* ProgressBar_ = nullptr;
  QPlainTextEdit* txtProgress_ = nullptr;
  QLabel* lblCompression_ = nullptr;
  QPushButton* cmdBack_ = nullptr;
  QPushButton* cmdNext_ = nullptr;
  QPushButton* cmdFinish_ = nullptr;
  QPushButton* cmdClose_ = nullptr;
  QPushButton* cmdCancel_ = nullptr;
  QPushButton* cmdHelp_ = nullptr;
  CommandButton* cmdLink_ = nullptr;
};
