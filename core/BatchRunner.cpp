#include "core/BatchRunner.h"

#include <sys/prctl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>
#include <csignal>
#include <cstring>
#include <utility>

#include "core/WorkerProtocol.h"
#include "engine/SafeFile.h"

BatchRunner::BatchRunner(QObject* parent) : QObject(parent), program_(DefaultWorkerProgram()) {}

BatchRunner::~BatchRunner() {
  for (Worker& w : workers_) {
    if (!w.process) continue;
    w.process->disconnect(this);
    w.process->closeWriteChannel();
    if (!w.process->waitForFinished(30000)) w.process->kill();
  }
}

QString BatchRunner::DefaultWorkerProgram() {
  // Beside the program, or in the program folder when trimjet-cli runs from bin/.
  const QString dir = QCoreApplication::applicationDirPath();
  const QString beside = dir + QStringLiteral("/trimjet-batch-worker");
  const QString installed = dir + QStringLiteral("/../lib/trimjet/trimjet-batch-worker");
  return QFileInfo(beside).isExecutable() || !QFileInfo(installed).isExecutable() ? beside
                                                                                   : installed;
}

void BatchRunner::Start(const std::vector<Item>& items, const BatchOptions& options, int workers) {
  items_ = items;
  options_ = options;
  state_.assign(items.size(), State::kWaiting);
  results_.assign(items.size(), BatchJob::Result());
  next_ = reported_ = 0;
  startReported_ = cancelled_ = false;
  running_ = true;
  const int count = int(items.size());
  restartsLeft_ = count + workers;  // a worker that dies at once cannot loop forever
  if (workers <= 0 || !QFileInfo(program_).isExecutable()) {
    QTimer::singleShot(0, this, &BatchRunner::RunInProcess);
    return;
  }
  workers_.resize(std::size_t(std::min(workers, std::max(1, count))));
  for (Worker& w : workers_) StartWorker(w);
  for (Worker& w : workers_) Feed(w);
  QTimer::singleShot(0, this, &BatchRunner::CheckFinished);
}

void BatchRunner::Cancel() { cancelled_ = true; }

void BatchRunner::StartWorker(Worker& w) {
  w = Worker();
  w.process = new QProcess(this);
  w.process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
  QProcess* p = w.process;
  const std::size_t slot = std::size_t(&w - workers_.data());
  connect(p, &QProcess::readyReadStandardOutput, this,
          [this, slot] { ReadResults(workers_[slot]); });
  connect(p, &QProcess::finished, this, [this, slot] { WorkerEnded(workers_[slot]); });
  connect(p, &QProcess::errorOccurred, this, [this, slot](QProcess::ProcessError e) {
    if (e == QProcess::FailedToStart) WorkerEnded(workers_[slot]);
  });
  // A worker ends with the program that started it, even one killed without a word: told
  // at its parent's death, and at once when the parent is already gone by the time it runs.
  const pid_t parent = ::getpid();
  p->setChildProcessModifier([parent] {
    if (::prctl(PR_SET_PDEATHSIG, SIGTERM) != 0 || ::getppid() != parent) ::_exit(1);
  });
  p->start(program_, WorkerProtocol::OptionArguments(options_));
}

int BatchRunner::NextToStart() {
  bool skipped = false;
  int found = -1;
  while (!cancelled_ && next_ < int(items_.size()) && found < 0) {
    const int i = next_++;
    // A file gone since it was listed is passed over without a word, as it always was.
    if (items_[std::size_t(i)].skip) {
      state_[std::size_t(i)] = State::kSkipped;
      results_[std::size_t(i)].reason = QStringLiteral("the file exists");
      skipped = true;
    } else if (QFileInfo(items_[std::size_t(i)].source).isFile()) {
      found = i;
    } else {
      state_[std::size_t(i)] = State::kSkipped;
      results_[std::size_t(i)].reason = SafeFile::MissingReason(items_[std::size_t(i)].source);
      skipped = true;
    }
  }
  if (skipped) Report();
  return found;
}

void BatchRunner::Feed(Worker& w) {
  if (!w.process || w.busyWith >= 0) return;
  const int i = NextToStart();
  if (i < 0) {
    w.process->closeWriteChannel();
    return;
  }
  w.busyWith = i;
  state_[std::size_t(i)] = State::kStarted;
  const Item& item = items_[std::size_t(i)];
  w.process->write(WorkerProtocol::JobLine(i, item.source, item.dest));
  Report();
}

void BatchRunner::ReadResults(Worker& w) {
  w.pending += w.process->readAllStandardOutput();
  qsizetype end;
  while ((end = w.pending.indexOf('\n')) >= 0) {
    const QByteArray line = w.pending.left(end + 1);
    w.pending.remove(0, end + 1);
    int index = -1;
    BatchJob::Result r;
    if (!WorkerProtocol::ParseResultLine(line, index, r) || index != w.busyWith) {
      // A worker that answers out of turn or in another tongue (a stale program beside a
      // new one) would leave its picture waiting for ever: it fails it and is replaced.
      if (w.busyWith >= 0) {
        BatchJob::Result failed;
        failed.reason = QStringLiteral("the worker process gave an answer that cannot be read");
        Complete(std::exchange(w.busyWith, -1), failed);
      }
      w.pending.clear();
      w.process->kill();
      break;
    }
    w.busyWith = -1;
    Complete(index, r);
    Feed(w);
  }
  CheckFinished();
}

void BatchRunner::WorkerEnded(Worker& w) {
  if (!w.process) return;
  QProcess* p = w.process;
  const int lost = w.busyWith;
  const bool crashed =
      p->exitStatus() == QProcess::CrashExit || p->error() == QProcess::FailedToStart;
  p->disconnect(this);
  p->deleteLater();
  w.process = nullptr;
  w.busyWith = -1;
  if (lost >= 0) {
    BatchJob::Result r;
    // A crashed process's exit code is the signal that ended it.
    const int signal = p->exitStatus() == QProcess::CrashExit ? p->exitCode() : 0;
    r.reason = signal > 0 ? QStringLiteral("the worker process stopped on signal %1 (%2)")
                                .arg(signal)
                                .arg(QString::fromLocal8Bit(::strsignal(signal)))
               : crashed ? QStringLiteral("the worker process stopped")
                         : QStringLiteral("the worker process ended unexpectedly");
    Complete(lost, r);
  }
  if (next_ < int(items_.size()) && !cancelled_ && restartsLeft_-- > 0) {
    StartWorker(w);
    Feed(w);
  }
  // With no worker left the rest cannot be processed: each says so.
  bool any = false;
  for (const Worker& o : workers_) any = any || o.process;
  if (!any) {
    int i;
    while ((i = NextToStart()) >= 0) {
      state_[std::size_t(i)] = State::kStarted;
      BatchJob::Result r;
      r.reason = QStringLiteral("cannot start a worker process");
      Complete(i, r);
    }
  }
  CheckFinished();
}

void BatchRunner::RunInProcess() {
  const int i = NextToStart();
  if (i >= 0) {
    state_[std::size_t(i)] = State::kStarted;
    Report();
    const Item& item = items_[std::size_t(i)];
    Complete(i, BatchJob::Run(item.source, item.dest, options_));
    QTimer::singleShot(0, this, &BatchRunner::RunInProcess);
  }
  CheckFinished();
}

void BatchRunner::Complete(int index, const BatchJob::Result& result) {
  results_[std::size_t(index)] = result;
  state_[std::size_t(index)] = State::kDone;
  Report();
}

void BatchRunner::Report() {
  while (reported_ < int(items_.size())) {
    const std::size_t i = std::size_t(reported_);
    const State s = state_[i];
    if (s == State::kWaiting) return;
    if (s == State::kSkipped) {
      ++reported_;
      emit ItemFinished(int(i), results_[i], true);
      continue;
    }
    if (!startReported_) {
      startReported_ = true;
      emit ItemStarting(int(i));
    }
    if (s != State::kDone) return;
    ++reported_;
    startReported_ = false;
    emit ItemFinished(int(i), results_[i], false);
  }
}

void BatchRunner::CheckFinished() {
  if (!running_) return;
  for (const State s : state_)
    if (s == State::kStarted || (s == State::kWaiting && !cancelled_)) return;
  for (Worker& w : workers_)
    if (w.busyWith >= 0) return;
  running_ = false;
  for (Worker& w : workers_)
    if (w.process) w.process->closeWriteChannel();
  emit Finished(cancelled_);
}
