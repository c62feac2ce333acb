#pragma once
// Opens the program's real windows for start-up. Windows that this build does not
// have yet say so plainly instead of pretending.
#include <QPointer>

#include "StartupTargets.h"

class frmBatch;

class AppWindows : public StartupTargets {
 public:
  void ShowMainWindow(const QString& folder) override;
  void ShowOptimizer(const QString& path) override;
  void ShowAbout() override;

  bool LoadBatch() override;
  void BatchAddFile(const QString& path) override;
  void BatchAddFilesFromPath(const QString& path, bool bSubFolders) override;
  int BatchFileCount() override;
  void BatchStartOnOptionsPage() override;
  bool BatchFillCombo() override;
  void ShowBatch() override;
  void UnloadBatch() override;

  void Message(const QString& text, int style) override;
  void SetWaitCursor(bool wait) override;

 private:
  void NotAvailable(const QString& window);

  QPointer<frmBatch> batch_;
  bool waiting_ = false;
};
