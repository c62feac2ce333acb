#include "batch/cli/WorkerPool.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QByteArray>
#include <cerrno>
#include <cstring>
#include <vector>

namespace {

// One result as it crosses the pipe: fixed size, written in one piece (below PIPE_BUF).
struct Record {
  qint32 index;
  qint32 ok;
  qint32 kept;
  qint64 before;
  qint64 after;
  qint32 width;
  qint32 height;
  qint32 lossless;
  qint32 quality;
  char reason[1000];
};
static_assert(sizeof(Record) < PIPE_BUF);

bool WriteAll(int fd, const void* data, std::size_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = ::write(fd, p, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    size -= std::size_t(n);
  }
  return true;
}

// True with the whole block read; false at the end of the stream or on an error.
bool ReadAll(int fd, void* data, std::size_t size) {
  char* p = static_cast<char*>(data);
  while (size > 0) {
    const ssize_t n = ::read(fd, p, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    size -= std::size_t(n);
  }
  return true;
}

[[noreturn]] void ServeJobs(int jobs, int results, const WorkerPool::Job& job) {
  qint32 index = 0;
  while (ReadAll(jobs, &index, sizeof index)) {
    const BatchJob::Result r = job(index);
    Record record{};
    record.index = index;
    record.ok = r.ok;
    record.kept = r.kept;
    record.before = r.bytesBefore;
    record.after = r.bytesAfter;
    record.width = r.width;
    record.height = r.height;
    record.lossless = r.lossless;
    record.quality = r.quality;
    const QByteArray reason = r.reason.toUtf8().left(sizeof record.reason - 1);
    std::memcpy(record.reason, reason.constData(), std::size_t(reason.size()));
    if (!WriteAll(results, &record, sizeof record)) break;
  }
  ::_exit(0);  // no Qt or static destructors in a forked copy
}

struct Worker {
  pid_t pid = -1;
  int jobs = -1;     // parent writes indices here
  int results = -1;  // parent reads records here
  int busyWith = -1;
};

bool Spawn(Worker& w, const WorkerPool::Job& job, std::vector<Worker>& all) {
  int toChild[2], fromChild[2];
  if (::pipe(toChild) != 0) return false;
  if (::pipe(fromChild) != 0) {
    ::close(toChild[0]);
    ::close(toChild[1]);
    return false;
  }
  const pid_t pid = ::fork();
  if (pid == 0) {
    // Only this worker's own ends stay open, so every other worker sees its pipe close.
    for (const Worker& other : all)
      if (&other != &w && other.pid > 0) ::close(other.jobs), ::close(other.results);
    ::close(toChild[1]);
    ::close(fromChild[0]);
    ServeJobs(toChild[0], fromChild[1], job);
  }
  ::close(toChild[0]);
  ::close(fromChild[1]);
  if (pid < 0) {
    ::close(toChild[1]);
    ::close(fromChild[0]);
    return false;
  }
  w = Worker{pid, toChild[1], fromChild[0], -1};
  return true;
}

QString ExitReason(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFSIGNALED(status))
    return QStringLiteral("the worker process stopped on signal %1 (%2)")
        .arg(WTERMSIG(status))
        .arg(QString::fromLocal8Bit(::strsignal(WTERMSIG(status))));
  return QStringLiteral("the worker process ended unexpectedly");
}

}  // namespace

void WorkerPool::Run(int count, int workers, const Job& job, const Done& done) {
  // A worker that dies must not take the parent with it through a write to its pipe.
  ::signal(SIGPIPE, SIG_IGN);
  std::vector<Worker> pool(std::size_t(std::max(1, std::min(workers, count))));
  int next = 0, finished = 0;
  int spawnsLeft = count + int(pool.size());  // a worker that dies at once cannot loop forever
  auto give = [&](Worker& w) {
    if (next < count) {
      const qint32 index = next;
      if (WriteAll(w.jobs, &index, sizeof index)) {
        w.busyWith = next++;
        return;
      }
    }
    ::close(w.jobs);  // nothing more: the worker ends when it reads the end
    w.jobs = -1;
  };
  auto failStart = [&] {
    // Without a worker the pictures cannot be processed; say so for each.
    while (next < count) {
      BatchJob::Result r;
      r.reason = QStringLiteral("cannot start a worker process: ") +
                 QString::fromLocal8Bit(std::strerror(errno));
      done(next++, r);
      ++finished;
    }
  };
  for (Worker& w : pool) {
    if (!Spawn(w, job, pool)) break;
    give(w);
  }
  if (pool.front().pid < 0) failStart();
  while (finished < count) {
    std::vector<pollfd> fds;
    std::vector<Worker*> owners;
    for (Worker& w : pool)
      if (w.pid > 0) fds.push_back({w.results, POLLIN, 0}), owners.push_back(&w);
    if (fds.empty()) {
      failStart();
      break;
    }
    if (::poll(fds.data(), fds.size(), -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    for (std::size_t i = 0; i < fds.size(); ++i) {
      if (fds[i].revents == 0) continue;
      Worker& w = *owners[i];
      Record record;
      if (ReadAll(w.results, &record, sizeof record)) {
        BatchJob::Result r;
        r.ok = record.ok != 0;
        r.kept = record.kept != 0;
        r.bytesBefore = record.before;
        r.bytesAfter = record.after;
        r.width = record.width;
        r.height = record.height;
        r.lossless = record.lossless != 0;
        r.quality = record.quality;
        record.reason[sizeof record.reason - 1] = '\0';
        r.reason = QString::fromUtf8(record.reason);
        w.busyWith = -1;
        done(record.index, r);
        ++finished;
        give(w);
        continue;
      }
      // The worker is gone: fail what it held, and replace it while work remains.
      ::close(w.results);
      if (w.jobs >= 0) ::close(w.jobs);
      const QString reason = ExitReason(w.pid);
      const int lost = w.busyWith;
      w = Worker();
      if (lost >= 0) {
        BatchJob::Result r;
        r.reason = reason;
        done(lost, r);
        ++finished;
      }
      if (next < count && spawnsLeft-- > 0 && Spawn(w, job, pool)) give(w);
    }
  }
  for (Worker& w : pool) {
    if (w.pid <= 0) continue;
    if (w.jobs >= 0) ::close(w.jobs);
    ::close(w.results);
    int status = 0;
    ::waitpid(w.pid, &status, 0);
  }
}
