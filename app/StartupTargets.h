#pragma once
// The windows that start-up can open. Start-up decides; an implementation of this
// interface opens the real windows (Shell) or records the calls (tests).
#include <QString>
#include <QStringList>

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

  enum class BatchPage { kList, kOptions };
  // The batch wizard with the pictures of paths (files, and folders with their subfolders),
  // shown on page. On the options page it needs a picture that loads: false when there is
  // none, and nothing is shown.
  virtual bool OpenBatch(const QStringList& paths, BatchPage page) = 0;

  // The message box for start-up's own messages.
  virtual void Message(const QString& text, int style) = 0;
  virtual void SetWaitCursor(bool wait) = 0;
};
