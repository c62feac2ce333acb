#include "core/BatchSession.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <cerrno>

#include "core/BatchRunner.h"
#include "core/InputCheck.h"
#include "core/modString.h"
#include "engine/SafeFile.h"

namespace {

// Why dir is not a folder that can be written (Qt's mkpath leaves errno as it was): the first
// part of its path that is a file, or what the making of the first missing one says.
int WhyNotWritable(const QString& dir) {
  const QString absolute = QDir::cleanPath(QFileInfo(dir).absoluteFilePath());
  QString path;
  for (const QString& part : absolute.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
    path += QLatin1Char('/') + part;
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (::stat(name.constData(), &st) == 0) {
      if (!S_ISDIR(st.st_mode)) return ENOTDIR;
      continue;
    }
    if (errno != ENOENT || ::mkdir(name.constData(), 0777) != 0) return errno;
  }
  return access(QFile::encodeName(absolute).constData(), W_OK) == 0 ? EIO : errno;
}

}  // namespace

BatchSession::BatchSession(QObject* parent) : QObject(parent) {}

BatchSession::~BatchSession() = default;

bool BatchSession::Plan(const Request& request, QString* reason) {
  request_ = request;
  entries_.clear();
  const QString& dir = request.outputDir;
  if (!request.overwrite && !request.dryRun &&
      (!modString::CreatePath(dir) || access(QFile::encodeName(dir).constData(), W_OK) != 0)) {
    if (reason)
      *reason = QStringLiteral("cannot write into the folder %1: %2")
                    .arg(dir, SafeFile::ErrorText(WhyNotWritable(dir)));
    return false;
  }
  // Every name is decided before any picture is written, so that no two entries write the
  // same file and none overwrites another entry's source.
  QStringList sources, roots;
  for (const Input& in : request.inputs)
    if (in.problem.isEmpty()) sources << in.path, roots << in.root;
  BatchNaming::Request naming;
  naming.mode = request.overwrite ? BatchNaming::Mode::kOverwrite : BatchNaming::Mode::kOtherDir;
  naming.outputDir = dir;
  naming.foldCase = !request.overwrite && ExistingOutput::FoldsCase(dir);
  if (request.keepStructure && !request.overwrite) naming.roots = roots;
  const std::vector<BatchNaming::Output> plan =
      ExistingOutput::Plan(sources, naming, request.ifExists);

  // What stands in the way of a picture is found before any decoding; a folder's answer is
  // asked once.
  QHash<QString, QString> folderProblems;
  std::size_t next = 0;
  for (const Input& in : request.inputs) {
    Entry e;
    e.source = in.path;
    e.refused = in.problem;
    if (e.refused.isEmpty()) e.output = plan[next++];
    if (e.Runs() && QFileInfo::exists(e.source)) {
      e.refused = InputCheck::Picture(e.source);
      const QString folder = QFileInfo(e.output.dest).absolutePath();
      if (!folderProblems.contains(folder))
        folderProblems.insert(folder, InputCheck::Destination(e.output.dest));
      if (e.refused.isEmpty()) e.refused = folderProblems.value(folder);
    }
    // Kept subfolders are made before the pictures go out.
    if (e.Runs() && !request.dryRun && naming.roots.size() > 0 &&
        !QDir().mkpath(QFileInfo(e.output.dest).path()))
      e.refused = QStringLiteral("cannot create the folder of ") + e.output.dest;
    entries_.push_back(std::move(e));
  }
  return true;
}

void BatchSession::Start() {
  delete runner_;
  runner_ = new BatchRunner(this);
  if (!request_.workerProgram.isEmpty()) runner_->SetWorkerProgram(request_.workerProgram);
  std::vector<BatchRunner::Item> items;
  int running = 0;
  for (const Entry& e : entries_) {
    const bool runs = e.Runs() && !request_.dryRun;
    running += runs;
    items.push_back({e.source, e.output.dest, !runs});
  }
  connect(runner_, &BatchRunner::ItemStarting, this, &BatchSession::EntryStarting);
  connect(runner_, &BatchRunner::ItemFinished, this,
          [this](int index, const BatchJob::Result& result, bool skipped) {
            Entry& e = entries_[std::size_t(index)];
            e.skipped = skipped && e.refused.isEmpty();
            e.result = result;
            emit EntryDone(index);
          });
  connect(runner_, &BatchRunner::Finished, this, &BatchSession::Ended);
  const bool alone = request_.loneInProcess && running <= 1;
  runner_->Start(items, request_.options, alone ? 0 : request_.jobs);
}

void BatchSession::Cancel() {
  if (runner_) runner_->Cancel();
}

bool BatchSession::Running() const { return runner_ && runner_->Running(); }
