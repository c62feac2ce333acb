#pragma once
// The windows that start-up can open. Start-up decides; an implementation of this
// interface opens the real windows (Shell) or records the calls (tests).
#include <QString>

class StartupTargets {
 public:
  virtual ~StartupTargets() = default;

  // folder: the folder to open instead of the remembered one; empty for the remembered one.
  virtual void ShowMainWindow(const QString& folder) = 0;
  // Shows the optimiser, then loads the picture into it (LoadPicture with true).
  virtual void ShowOptimizer(const QString& path) = 0;
  virtual void ShowAbout() = 0;
  // The start-up wizard over the main window, once the program is running.
  virtual void OfferStartupWizard() = 0;

  // The batch wizard, loaded without showing it. False when it cannot be loaded.
  virtual bool LoadBatch() = 0;
  virtual void BatchAddFile(const QString& path) = 0;
  virtual void BatchAddFilesFromPath(const QString& path, bool bSubFolders) = 0;
  virtual int BatchFileCount() = 0;
  // Enables Next, puts Cancel where Back was and hides Back, moves to page 1, SetVisible.
  virtual void BatchStartOnOptionsPage() = 0;
  virtual bool BatchFillCombo() = 0;
  virtual void ShowBatch() = 0;
  virtual void UnloadBatch() = 0;

  // The message box for start-up's own messages.
  virtual void Message(const QString& text, int style) = 0;
  virtual void SetWaitCursor(bool wait) = 0;
};
