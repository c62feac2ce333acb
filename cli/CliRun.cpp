#include "cli/CliRun.h"

#include <QEventLoop>
#include <QFileDevice>
#include <cerrno>
#include <vector>

#include "cli/CliInputs.h"
#include "cli/CliReport.h"
#include "cli/ProgressLine.h"
#include "core/BatchInputs.h"
#include "core/BatchSession.h"
#include "engine/SafeFile.h"

namespace {

const QString kPrefix = QStringLiteral("trimjet-cli: ");

// A failure that says the place being written to is at fault, not the picture.
bool Broken(const BatchJob::Result& result) {
  for (int error : {ENOSPC, EDQUOT, EROFS})
    if (!result.ok && result.reason.endsWith(SafeFile::ErrorText(error))) return true;
  return false;
}

}  // namespace

int CliRun::Run(const CliArguments& args, QTextStream& out, QTextStream& err, bool progress) {
  QStringList listed;
  if (!args.filesFrom.isEmpty()) {
    QString error;
    if (!CliInputs::ReadNames(args.filesFrom, args.nulSeparated, listed, error)) {
      err << kPrefix << error << "\n";
      return kBroken;
    }
  }
  std::vector<CliInputs::Picture> found;
  CliInputs::Collect(args.inputs, args.recursive, found);
  CliInputs::Collect(listed, args.recursive, found);
  if (found.empty()) {
    err << kPrefix << "no picture found"
        << (args.recursive ? "" : " (subfolders are searched with --recursive)") << "\n";
    return kFailures;
  }
  // This part's pictures; what an earlier run wrote into an output folder below an input
  // folder is not read back.
  std::vector<CliInputs::Picture> mine;
  for (CliInputs::Picture& p : found)
    if (args.shard.Contains(p.key) &&
        !(p.inFolder && !args.overwrite &&
          BatchInputs::InOutputFolder(p.path, p.root, args.outputDir)))
      mine.push_back(std::move(p));
  const int count = int(mine.size());
  BatchSession::Request request;
  for (const CliInputs::Picture& p : mine) request.inputs.push_back({p.path, p.root, p.problem});
  request.overwrite = args.overwrite;
  request.outputDir = args.outputDir;
  request.keepStructure = args.keepStructure;
  request.ifExists = args.ifExists;
  request.dryRun = args.dryRun;
  request.options = args.options;
  request.jobs = args.jobs <= 1 ? 0 : args.jobs;
  request.loneInProcess = true;
  BatchSession session;
  if (QString reason; !session.Plan(request, &reason)) {
    err << kPrefix << reason << "\n";
    return kBroken;
  }
  const std::vector<BatchSession::Entry>& entries = session.Entries();
  int toWrite = 0;
  for (const BatchSession::Entry& e : entries) toWrite += e.Runs() && !args.dryRun;
  ProgressLine bar(toWrite, progress && !args.quiet);
  CliReport report(args, out, err, bar);
  int finished = 0;
  bool broken = false;
  bar.Show(0);
  QEventLoop loop;
  QObject::connect(&session, &BatchSession::EntryDone, &loop, [&](int i) {
    const BatchSession::Entry& e = entries[std::size_t(i)];
    if (!e.refused.isEmpty()) {
      report.Refused(e.source, e.output, e.refused);
    } else if (e.output.skip || args.dryRun) {
      report.NotRun(e.source, e.output);
    } else {
      broken = broken || Broken(*e.result);
      report.Done(e.source, e.output, *e.result);
      bar.Show(++finished);
    }
  });
  QObject::connect(&session, &BatchSession::Ended, &loop, &QEventLoop::quit);
  session.Start();
  if (session.Running()) loop.exec();
  if (count == 0 && !args.quiet)
    err << kPrefix << "no picture in part " << args.shard.index << "/" << args.shard.count << "\n";
  report.Summary();
  // Results that never reached standard output (a full disk, a closed pipe) are a failure.
  out.flush();
  if (out.status() != QTextStream::Ok) {
    const auto* file = qobject_cast<QFileDevice*>(out.device());
    err << kPrefix << "cannot write the results to standard output"
        << (file ? ": " + file->errorString() : QString()) << "\n";
    return kBroken;
  }
  if (broken) return kBroken;
  return report.AnyFailed() ? kFailures : kDone;
}
