#pragma once
// CliRun: one run of trimjet-cli: collects the pictures, keeps this shard's, decides every
// output name under the existing-file rule, runs the jobs (in worker processes when there
// are several) and reports in input order, whatever order the jobs finish in.
#include <QTextStream>

#include "cli/CliArguments.h"

class CliRun {
 public:
  // Exit statuses, for schedulers: a run with failed pictures is not worth repeating as it
  // is; a broken one (no room, no output folder, no list) is, once that is mended.
  enum Status { kDone = 0, kFailures = 1, kUsage = 2, kBroken = 3 };

  // The exit status: kDone when every picture was written, kept or skipped, kFailures when
  // some failed or none was found, kBroken when the run could not go on. progress: draw
  // the bar on standard error.
  static int Run(const CliArguments& args, QTextStream& out, QTextStream& err, bool progress);
};
