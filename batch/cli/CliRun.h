#pragma once
// CliRun: one run of trimjet-cli: collects the pictures, keeps this shard's, decides every
// output name under the existing-file rule, runs the jobs (in worker processes when there
// are several) and reports in input order, whatever order the jobs finish in.
#include <QTextStream>

#include "batch/cli/CliArguments.h"

class CliRun {
 public:
  // The exit status: 0 when every picture was written or skipped, 1 otherwise or when no
  // picture was found. progress: draw the bar on standard error.
  static int Run(const CliArguments& args, QTextStream& out, QTextStream& err, bool progress);
};
