#pragma once
// CliReport: what trimjet-cli says about each picture, in input order, and at the end: human
// lines (source -> destination: bytes) or, with --json, one JSON object a line; failures'
// reasons always on standard error. Keeps the totals and the counts.
#include <QJsonValue>
#include <QTextStream>

#include "cli/CliArguments.h"
#include "cli/ProgressLine.h"
#include "core/BatchJob.h"
#include "core/BatchNaming.h"
#include "core/BatchTotals.h"

class CliReport {
 public:
  enum class Status { kWritten, kSkipped, kFailed, kPlanned, kKept };

  CliReport(const CliArguments& args, QTextStream& out, QTextStream& err, ProgressLine& bar);
  // A picture that was processed (written, kept or failed).
  void Done(const QString& source, const BatchNaming::Output& output,
            const BatchJob::Result& result);
  // A picture or a name that could not be taken, for reason; output empty when it got none.
  void Refused(const QString& source, const BatchNaming::Output& output, const QString& reason);
  // A picture left alone: skipped for an existing file, or planned in a dry run.
  void NotRun(const QString& source, const BatchNaming::Output& output);
  void Summary();
  bool AnyFailed() const { return counts_[int(Status::kFailed)] > 0; }

  static QString StatusName(Status status);
  static QString Line(const QString& source, const BatchNaming::Output& output, Status status,
                      const BatchJob::Result& result);

 private:
  void Emit(const QString& source, const BatchNaming::Output& output, Status status,
            const BatchJob::Result& result);
  // The quality written, for the JSON line.
  QJsonValue QualityValue(const BatchJob::Result& result) const;

  const CliArguments& args_;
  QTextStream& out_;
  QTextStream& err_;
  ProgressLine& bar_;
  BatchTotals totals_;
  int counts_[5] = {0, 0, 0, 0, 0};
};
