#pragma once
// CliRun: one run of trimjet-cli: collects the pictures, decides every output name, runs the
// jobs (in worker processes when there are several) and prints lines and totals in input
// order, whatever order the jobs finish in.
#include <QTextStream>

#include "BatchJob.h"
#include "BatchNaming.h"
#include "CliArguments.h"

class CliRun {
 public:
  // The exit status: 0 when every picture was written, 1 otherwise.
  static int Run(const CliArguments& args, QTextStream& out, QTextStream& err, bool progress);
  // The standard output line of one picture.
  static QString Line(const QString& source, const BatchNaming::Output& output,
                      const BatchJob::Result& result);
};
