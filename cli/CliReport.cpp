#include "cli/CliReport.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

CliReport::CliReport(const CliArguments& args, QTextStream& out, QTextStream& err,
                     ProgressLine& bar)
    : args_(args), out_(out), err_(err), bar_(bar) {}

QString CliReport::StatusName(Status status) {
  switch (status) {
    case Status::kWritten:
      return QStringLiteral("written");
    case Status::kSkipped:
      return QStringLiteral("skipped");
    case Status::kFailed:
      return QStringLiteral("failed");
    case Status::kPlanned:
      return QStringLiteral("planned");
    case Status::kKept:
      return QStringLiteral("kept");
  }
  return QString();
}

QString CliReport::Line(const QString& source, const BatchNaming::Output& output, Status status,
                        const BatchJob::Result& result) {
  QString line = source +
                 (output.dest.isEmpty() ? QString() : QStringLiteral(" -> ") + output.dest) +
                 QStringLiteral(": ");
  const bool warned = status == Status::kWritten && !result.reason.isEmpty();
  switch (status) {
    case Status::kWritten:
      line += QStringLiteral("%1 -> %2 bytes").arg(result.bytesBefore).arg(result.bytesAfter);
      if (result.lossless) line += QStringLiteral(" (lossless)");
      break;
    case Status::kFailed:
      line += QStringLiteral("failed");
      break;
    case Status::kKept:
      line += QStringLiteral("kept (%1, %2 bytes)").arg(result.reason).arg(result.bytesBefore);
      break;
    case Status::kSkipped:
      line += QStringLiteral("skipped (the file exists)");
      break;
    case Status::kPlanned:
      line += QStringLiteral("would be written");
      break;
  }
  if (output.Numbered())
    line += QStringLiteral(" (numbered: %1 is another picture's)").arg(output.wanted);
  if (warned) line += QStringLiteral(" (warning: %1)").arg(result.reason);
  return line;
}

void CliReport::Done(const QString& source, const BatchNaming::Output& output,
                     const BatchJob::Result& result) {
  Emit(source, output,
       result.kept ? Status::kKept
       : result.ok ? Status::kWritten
                   : Status::kFailed,
       result);
}

void CliReport::Refused(const QString& source, const BatchNaming::Output& output,
                        const QString& reason) {
  BatchJob::Result result;
  result.reason = reason;
  const QFileInfo info(source);
  result.bytesBefore = info.isFile() ? info.size() : 0;
  Emit(source, output, Status::kFailed, result);
}

void CliReport::NotRun(const QString& source, const BatchNaming::Output& output) {
  BatchJob::Result result;
  result.bytesBefore = QFileInfo(source).size();
  if (output.skip) result.reason = QStringLiteral("the file exists");
  Emit(source, output, output.skip ? Status::kSkipped : Status::kPlanned, result);
}

QJsonValue CliReport::QualityValue(const BatchJob::Result& result) const {
  // A kept file under auto quality was never given one.
  if (result.quality > 0) return result.quality;
  if (args_.options.autoQuality != AutoQuality::Level::kOff) return QJsonValue();
  return args_.options.quality;
}

void CliReport::Emit(const QString& scratchSource, const BatchNaming::Output& scratchOutput,
                     Status status, const BatchJob::Result& result) {
  // Standard input and output are named "-", as they were given, not by their scratch files.
  const QString source = scratchSource == args_.stdinFile ? QStringLiteral("-") : scratchSource;
  BatchNaming::Output output = scratchOutput;
  if (args_.toStdout) output.dest = output.wanted = QStringLiteral("-");
  ++counts_[int(status)];
  if (status == Status::kWritten || status == Status::kKept)
    totals_.Add(result.bytesBefore, result.bytesAfter);
  // The bar shares the terminal with these lines: it goes first and is drawn again later.
  bar_.Clear();
  if (args_.json) {
    const bool written = status == Status::kWritten || status == Status::kKept;
    const QJsonObject o{
        {"source", source},
        {"destination", output.dest.isEmpty() ? QJsonValue() : QJsonValue(output.dest)},
        {"status", StatusName(status)},
        {"reason", result.reason},
        {"bytesBefore", result.bytesBefore},
        {"bytesAfter", written ? QJsonValue(result.bytesAfter) : QJsonValue()},
        {"quality", written ? QualityValue(result) : QJsonValue()},
        {"lossless", written ? QJsonValue(result.lossless) : QJsonValue()},
        {"width", written ? QJsonValue(result.width) : QJsonValue()},
        {"height", written ? QJsonValue(result.height) : QJsonValue()},
    };
    out_ << QJsonDocument(o).toJson(QJsonDocument::Compact) << "\n";
  } else if (!args_.quiet) {
    // With a byte budget or auto quality the quality is the search's answer, worth telling.
    const bool searched =
        (args_.options.maxBytes > 0 || args_.options.autoQuality != AutoQuality::Level::kOff) &&
        status == Status::kWritten;
    out_ << Line(source, output, status, result)
         << (searched ? QStringLiteral(" (quality %1)").arg(result.quality) : QString()) << "\n";
  }
  out_.flush();
  if (status == Status::kFailed) {
    err_ << "trimjet-cli: " << source << ": " << result.reason << "\n";
    err_.flush();
  }
}

void CliReport::Summary() {
  bar_.Clear();
  const QString ratio = totals_.CompressionText();
  if (args_.json) {
    const QJsonObject o{
        {"summary", true},
        {"shard", QStringLiteral("%1/%2").arg(args_.shard.index).arg(args_.shard.count)},
        {"written", counts_[int(Status::kWritten)]},
        {"kept", counts_[int(Status::kKept)]},
        {"skipped", counts_[int(Status::kSkipped)]},
        {"failed", counts_[int(Status::kFailed)]},
        {"planned", counts_[int(Status::kPlanned)]},
        {"bytesBefore", totals_.Original()},
        {"bytesAfter", totals_.Optimised()},
        {"compression", ratio.isEmpty() ? QJsonValue() : QJsonValue(ratio)},
    };
    out_ << QJsonDocument(o).toJson(QJsonDocument::Compact) << "\n";
  } else if (!args_.quiet && !args_.dryRun) {
    // Nothing written gives no ratio, and a bare heading would read like a result.
    if (!ratio.isEmpty()) out_ << "Compression ratio " << ratio << "\n";
    out_ << BatchTotals::SummaryLine(counts_[int(Status::kWritten)], counts_[int(Status::kKept)],
                                     counts_[int(Status::kSkipped)], counts_[int(Status::kFailed)],
                                     totals_.Original() - totals_.Optimised())
         << "\n";
  }
  out_.flush();
}
