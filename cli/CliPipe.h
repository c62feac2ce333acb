#pragma once
// CliPipe: trimjet-cli inside a pipe. A picture on standard input ("-" as the INPUT) is
// kept in a scratch file for the run, and "-o -" points the run at a scratch folder whose
// one JPEG is then copied to standard output.
#include <QTemporaryDir>

#include "cli/CliArguments.h"

class CliPipe {
 public:
  // Rewrites args to the scratch names. False with error when standard input holds no
  // picture (fault: false) or the scratch space cannot be written (fault: true).
  bool Prepare(CliArguments& args, QString& error, bool& fault);
  // Copies the run's JPEG to standard output; false with error when there is none.
  bool Deliver(const CliArguments& args, QString& error) const;

 private:
  QTemporaryDir dir_;
};
