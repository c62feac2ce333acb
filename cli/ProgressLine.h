#pragma once
// ProgressLine: a one-line progress bar on standard error, drawn only when that is a
// terminal, so that logs and pipes get nothing but the messages.
#include <cstdio>

class ProgressLine {
 public:
  ProgressLine(int total, bool enabled);
  void Show(int done);
  // Clears the bar so a message can take the line; the next Show draws it again.
  void Clear();

 private:
  int total_;
  bool enabled_;
  bool drawn_ = false;
};
