#pragma once
// What the picture browser and its folder model need from the window around them: the
// scan's progress bar, its Cancel button and flag, and the picture count field.
// The main window implements it; without a host a scan runs silently to the end.
#include <QCoreApplication>

class BrowserHost {
 public:
  virtual ~BrowserHost() = default;

  // Clears the cancel flag, shows Cancel with the focus and the mouse, disables the window.
  virtual void BeginScan() = 0;
  // Progress bar from 0 to count, value 0.
  virtual void SetScanRange(int count) = 0;
  virtual void SetScanValue(int value) = 0;
  // Polled before every listed name.
  virtual bool ScanCancelled() = 0;
  // Lets pending window events run, so that a click on Cancel can arrive.
  virtual void LetEventsRun() { QCoreApplication::processEvents(); }
  // Enables the window, releases the mouse, hides Cancel, sets the progress value to 0.
  virtual void EndScan() = 0;
  // The number of pictures in the folder shown.
  virtual void ShowPictureCount(int count) = 0;
};
