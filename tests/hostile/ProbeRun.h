#pragma once
// Runs a program as a child process and reports how it ended, what it printed and the
// most memory it held at once.
#include <QByteArray>
#include <QString>
#include <QStringList>

struct ProbeRun {
  bool exitedNormally = false;  // false: killed by a signal (crash, sanitizer, alarm)
  int exitCode = -1;
  int signal = 0;
  QByteArray output;
  long peakRssKb = 0;  // largest resident set of the child

  static ProbeRun Start(const QString& program, const QStringList& arguments);
};
