#include "CliRun.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <optional>
#include <vector>

#include "BatchInputs.h"
#include "BatchTotals.h"
#include "ProgressLine.h"
#include "SafeFile.h"
#include "WorkerPool.h"
#include "modString.h"

namespace {

const QString kPrefix = QStringLiteral("trimjet-cli: ");

// Every picture once, in the order given; false when some INPUT does not exist.
bool Collect(const CliArguments& args, QStringList& files, QTextStream& err) {
  bool allFound = true;
  QSet<QString> seen;
  for (const QString& input : args.inputs) {
    const QFileInfo info(input);
    QStringList found;
    if (info.isDir())
      found = BatchInputs::FilesFromPath(info.absoluteFilePath(), args.recursive);
    else if (info.isFile())
      found << QDir::cleanPath(info.absoluteFilePath());
    else {
      err << kPrefix << input << ": "
          << (SafeFile::NameUnreadable(input) ? QStringLiteral("file name is not valid UTF-8")
                                              : QStringLiteral("no such file or folder"))
          << "\n";
      allFound = false;
    }
    for (const QString& file : found)
      if (!seen.contains(file)) seen.insert(file), files << file;
  }
  return allFound;
}

}  // namespace

QString CliRun::Line(const QString& source, const BatchNaming::Output& output,
                     const BatchJob::Result& result) {
  QString line = source + QStringLiteral(" -> ") + output.dest + QStringLiteral(": ");
  if (result.ok)
    line += QStringLiteral("%1 -> %2 bytes").arg(result.bytesBefore).arg(result.bytesAfter);
  else
    line += QStringLiteral("failed");
  if (output.Numbered())
    line += QStringLiteral(" (numbered: %1 is another picture's)").arg(output.wanted);
  return line;
}

int CliRun::Run(const CliArguments& args, QTextStream& out, QTextStream& err, bool progress) {
  QStringList sources;
  bool allOk = Collect(args, sources, err);
  if (!args.overwrite && !modString::CreatePath(args.outputDir)) {
    err << kPrefix << "cannot create the folder " << args.outputDir << "\n";
    return 1;
  }
  const auto mode = args.overwrite ? BatchNaming::Mode::kOverwrite : BatchNaming::Mode::kOtherDir;
  const std::vector<BatchNaming::Output> plan = BatchNaming::Plan(sources, mode, args.outputDir);

  const int count = int(sources.size());
  std::vector<std::optional<BatchJob::Result>> results(static_cast<std::size_t>(count));
  BatchTotals totals;
  ProgressLine bar(count, progress);
  int printed = 0, finished = 0;
  bar.Show(0);
  auto done = [&](int index, const BatchJob::Result& result) {
    results[std::size_t(index)] = result;
    ++finished;
    for (; printed < count && results[std::size_t(printed)]; ++printed) {
      const BatchJob::Result& r = *results[std::size_t(printed)];
      out << Line(sources[printed], plan[std::size_t(printed)], r) << "\n";
      if (r.ok) {
        totals.Add(r.bytesBefore, r.bytesAfter);
      } else {
        allOk = false;
        bar.Clear();
        out.flush();
        err << kPrefix << sources[printed] << ": " << r.reason << "\n";
        err.flush();
      }
    }
    out.flush();
    bar.Show(finished);
  };
  auto job = [&](int index) {
    return BatchJob::Run(sources[index], plan[std::size_t(index)].dest, args.options);
  };
  if (args.jobs <= 1 || count <= 1) {
    for (int i = 0; i < count; ++i) done(i, job(i));
  } else {
    WorkerPool::Run(count, args.jobs, job, done);
  }
  bar.Clear();
  const QString ratio = totals.CompressionText();
  out << "Compression ratio" << (ratio.isEmpty() ? QString() : QStringLiteral(" ") + ratio) << "\n";
  out.flush();
  return allOk ? 0 : 1;
}
