#pragma once
// The one owner of the program's top-level windows: it creates each of them, keeps at most one
// optimiser and one batch wizard, makes the main window their owner while it is open, and
// connects the windows' ...Requested signals. Start-up opens its first window through it; no
// window looks another up or knows another's children.
#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>

#include "app/StartupTargets.h"

class QWidget;
class frmBatch;
class frmImgOpt;
class frmMainForm;
class frmStartupWizard;

class Shell : public QObject, public StartupTargets {
  Q_OBJECT
 public:
  // Start-up's windows.
  void ShowMainWindow(const QString& folder) override;
  void ShowOptimizer(const QString& path) override { Optimize(path); }
  void ShowAbout() override;
  void OfferStartupWizard() override;
  bool OpenBatch(const QStringList& paths, BatchPage page) override;
  void Message(const QString& text, int style) override;
  void SetWaitCursor(bool wait) override;

  // Shows the one optimiser (opened when there is none) and loads path into it.
  frmImgOpt* Optimize(const QString& path);
  // The main window's hand-off to the one batch wizard (see frmMainForm::BatchRequested);
  // null when needsPicture and no picture loads.
  frmBatch* HandOffToBatch(const QStringList& paths, bool needsPicture);
  // A preview window, owned by the main window, for each picture that loads.
  void View(const QStringList& paths);
  // Modal, owned by the main window when it is open.
  void ShowStartupWizard();
  void ConnectStartupWizard(frmStartupWizard* wizard);

  frmMainForm* MainWindow() const;
  frmImgOpt* Optimizer() const;
  frmBatch* Batch() const;
  // Whether a window made here is shown: start-up waits for events only then.
  bool AnyWindowShown() const;
  // Ends the program when the last window made here goes. Qt never counts an owned window (one
  // with a transient parent) as the last one, so without this closing the main window would
  // end the program under an open optimiser.
  void SetQuitWithLastWindow(bool quit) { quitWithLastWindow_ = quit; }

 private:
  static constexpr int kCascadeStep = 32;
  void Track(QWidget* window);
  void QuitWhenNoneLeft();
  frmBatch* NewBatch();
  void ShowBrowser();
  void UpdateMainControls();
  // Raises the optimiser and the batch wizard when they are open, then keepOnTop, so the
  // window the user works in is not buried under them.
  void BringWorkWindowsToFront(QWidget* keepOnTop);
  // A View window asks the open optimiser to close first (it may ask to save and be cancelled).
  bool MayClosePreview();

  QPointer<frmMainForm> main_;
  QPointer<frmImgOpt> optimizer_;
  QPointer<frmBatch> batch_;
  // The list of a wizard closed before its run, for the next empty one while the program runs.
  QStringList leftFiles_, leftRoots_;
  QList<QPointer<QWidget>> windows_;
  QList<QPointer<QWidget>> views_;  // the View previews, for cascading new ones
  bool waiting_ = false;
  bool wizardOffered_ = false;
  bool quitWithLastWindow_ = false;
};
