#include "batch/cli/CliRun.h"

#include <unistd.h>

#include <QDir>
#include <QEventLoop>
#include <QFileDevice>
#include <QFileInfo>
#include <QHash>
#include <cerrno>
#include <optional>
#include <vector>

#include "app/helpers/modString.h"
#include "batch/BatchInputs.h"
#include "batch/BatchRunner.h"
#include "batch/ExistingOutput.h"
#include "batch/InputCheck.h"
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
  QStringList sources, roots;
  std::vector<int> planned(std::size_t(count), -1);  // each picture's index in the plan
  for (int i = 0; i < count; ++i) {
    const CliInputs::Picture& p = mine[std::size_t(i)];
    if (!p.problem.isEmpty()) continue;
    planned[std::size_t(i)] = int(sources.size());
    sources << p.path, roots << p.root;
  }
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
  request.foldCase = !args.overwrite && ExistingOutput::FoldsCase(args.outputDir);
  if (args.keepStructure) request.roots = roots;
  const std::vector<BatchNaming::Output> plan =
      ExistingOutput::Plan(sources, request, args.ifExists);
  auto output = [&](int i) {
    const int n = planned[std::size_t(i)];
    return n < 0 ? BatchNaming::Output() : plan[std::size_t(n)];
  };
  // What stands in the way of a picture to be done is found before any decoding.
  QHash<QString, QString> folderProblems;
  for (int i = 0; i < count; ++i) {
    if (planned[std::size_t(i)] < 0 || output(i).skip) continue;
    QString& problem = mine[std::size_t(i)].problem;
    problem = InputCheck::Picture(mine[std::size_t(i)].path);
    const QString folder = QFileInfo(output(i).dest).absolutePath();
    if (!folderProblems.contains(folder))
      folderProblems.insert(folder, InputCheck::Destination(output(i).dest));
    if (problem.isEmpty()) problem = folderProblems.value(folder);
  }

  // Only the pictures that are to be written go to the jobs; the rest are reported in place.
  std::vector<int> work;
  for (int i = 0; i < count; ++i)
    if (mine[std::size_t(i)].problem.isEmpty() && !output(i).skip && !args.dryRun)
      work.push_back(i);

  std::vector<std::optional<BatchJob::Result>> results(std::size_t(count), std::nullopt);
  ProgressLine bar(int(work.size()), progress && !args.quiet);
  CliReport report(args, out, err, bar);
  int printed = 0, finished = 0;
  auto flush = [&] {
    for (; printed < count; ++printed) {
      const std::size_t i = std::size_t(printed);
      const QString& source = mine[i].path;
      if (!mine[i].problem.isEmpty())
        report.Refused(source, output(printed), mine[i].problem);
      else if (output(printed).skip || args.dryRun)
        report.NotRun(source, output(printed));
      else if (results[i])
        report.Done(source, output(printed), *results[i]);
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
    const QString dest = output(work[std::size_t(n)]).dest;
    // Folders kept below the output folder are made before the pictures go out.
    if (args.keepStructure && !QDir().mkpath(QFileInfo(dest).path())) {
      BatchJob::Result r;
      r.reason = QStringLiteral("cannot create the folder of ") + dest;
      done(n, r);
      continue;
    }
    items.push_back({mine[std::size_t(work[std::size_t(n)])].path, dest, false});
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
