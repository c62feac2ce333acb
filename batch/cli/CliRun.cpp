#include "batch/cli/CliRun.h"

#include <unistd.h>

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <cerrno>
#include <optional>
#include <vector>

#include "app/helpers/modString.h"
#include "batch/BatchRunner.h"
#include "batch/ExistingOutput.h"
#include "batch/cli/CliInputs.h"
#include "batch/cli/CliReport.h"
#include "batch/cli/ProgressLine.h"
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
  bool allOk = CliInputs::Collect(args.inputs, args.recursive, false, found, err);
  allOk = CliInputs::Collect(listed, args.recursive, true, found, err) && allOk;
  if (found.empty()) {
    err << kPrefix << "no picture found"
        << (args.recursive ? "" : " (subfolders are searched with --recursive)") << "\n";
    return kFailures;
  }
  QStringList sources, roots;
  for (const CliInputs::Picture& p : found)
    if (args.shard.Contains(p.key)) sources << p.path, roots << p.root;
  if (!args.overwrite && !args.dryRun &&
      (!modString::CreatePath(args.outputDir) ||
       access(QFile::encodeName(args.outputDir).constData(), W_OK) != 0)) {
    err << kPrefix << "cannot write into the folder " << args.outputDir << ": "
        << SafeFile::ErrorText(errno) << "\n";
    return kBroken;
  }
  BatchNaming::Request request;
  request.mode = args.overwrite ? BatchNaming::Mode::kOverwrite : BatchNaming::Mode::kOtherDir;
  request.outputDir = args.outputDir;
  if (args.keepStructure) request.roots = roots;
  const std::vector<BatchNaming::Output> plan =
      ExistingOutput::Plan(sources, request, args.ifExists);

  // Only the pictures that are to be written go to the jobs; the rest are reported in place.
  std::vector<int> work;
  for (int i = 0; i < sources.size(); ++i)
    if (!plan[std::size_t(i)].skip && !args.dryRun) work.push_back(i);

  const int count = int(sources.size());
  std::vector<std::optional<BatchJob::Result>> results(std::size_t(count), std::nullopt);
  ProgressLine bar(int(work.size()), progress && !args.quiet);
  CliReport report(args, out, err, bar);
  int printed = 0, finished = 0;
  auto flush = [&] {
    for (; printed < count; ++printed) {
      const std::size_t i = std::size_t(printed);
      if (plan[i].skip || args.dryRun)
        report.NotRun(sources[printed], plan[i]);
      else if (results[i])
        report.Done(sources[printed], plan[i], *results[i]);
      else
        break;
    }
  };
  flush();
  bar.Show(0);
  bool broken = false;
  auto done = [&](int n, const BatchJob::Result& result) {
    broken = broken || Broken(result);
    results[std::size_t(work[std::size_t(n)])] = result;
    ++finished;
    flush();
    bar.Show(finished);
  };
  // The wizard's engine runs the pictures: worker processes for --jobs, else in this process.
  std::vector<BatchRunner::Item> items;
  std::vector<int> queued;  // the index in work of each item
  for (int n = 0; n < int(work.size()); ++n) {
    const QString dest = plan[std::size_t(work[std::size_t(n)])].dest;
    // Folders kept below the output folder are made before the pictures go out.
    if (args.keepStructure && !QDir().mkpath(QFileInfo(dest).path())) {
      BatchJob::Result r;
      r.reason = QStringLiteral("cannot create the folder of ") + dest;
      done(n, r);
      continue;
    }
    items.push_back({sources[work[std::size_t(n)]], dest, false});
    queued.push_back(n);
  }
  if (!items.empty()) {
    BatchRunner runner;
    QEventLoop loop;
    QObject::connect(&runner, &BatchRunner::ItemFinished, &loop,
                     [&](int index, const BatchJob::Result& result, bool) {
                       done(queued[std::size_t(index)], result);
                     });
    QObject::connect(&runner, &BatchRunner::Finished, &loop, &QEventLoop::quit);
    const int jobs = int(items.size());
    runner.Start(items, args.options, args.jobs <= 1 || jobs <= 1 ? 0 : args.jobs);
    if (runner.Running()) loop.exec();
  }
  if (count == 0 && !args.quiet)
    err << kPrefix << "no picture in part " << args.shard.index << "/" << args.shard.count << "\n";
  report.Summary();
  if (broken) return kBroken;
  return allOk && !report.AnyFailed() ? kDone : kFailures;
}
