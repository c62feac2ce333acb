#include "browse/ThumbnailClient.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdint>
#include <mutex>

#include "browse/ThumbnailProtocol.h"
#include "engine/ImageDescriptor.h"

extern char** environ;

namespace {

constexpr int kPollSliceMs = 20;
constexpr int kGraceMs = 1000;  // for a helper to leave after its socket closed

}  // namespace

namespace {

std::mutex defaultMutex;
QString& DefaultOverride() {
  static QString path;
  return path;
}

}  // namespace

QString ThumbnailClient::DefaultHelper() {
  std::lock_guard lock(defaultMutex);
  if (!DefaultOverride().isEmpty()) return DefaultOverride();
  return QCoreApplication::applicationDirPath() + QStringLiteral("/trimjet-thumbnailer");
}

void ThumbnailClient::SetDefaultHelper(const QString& path) {
  std::lock_guard lock(defaultMutex);
  DefaultOverride() = path;
}

ThumbnailClient::ThumbnailClient(const QString& helperPath) : helper_(helperPath) {}

ThumbnailClient::~ThumbnailClient() { Stop(false); }

bool ThumbnailClient::Start() {
  if (pid_ > 0) {
    // A helper that left between two files (killed from outside) is replaced.
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == 0) return true;
    pid_ = -1;
    Stop(true);
  }
  if (!QFileInfo(helper_).isExecutable()) return false;
  int pair[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0) return false;
  int childEnd = pair[1];
  if (childEnd == ThumbnailProtocol::kSocketFd) {
    // dup2 onto itself would keep close-on-exec: move it out of the way first.
    childEnd = ::fcntl(pair[1], F_DUPFD_CLOEXEC, ThumbnailProtocol::kSocketFd + 1);
    ::close(pair[1]);
  }
  const QByteArray program = QFile::encodeName(helper_);
  char* argv[] = {const_cast<char*>(program.constData()), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, childEnd, ThumbnailProtocol::kSocketFd);
  pid_t pid = -1;
  const int failed =
      childEnd < 0 ? -1
                   : ::posix_spawn(&pid, program.constData(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  if (childEnd >= 0) ::close(childEnd);
  if (failed != 0) {
    ::close(pair[0]);
    return false;
  }
  fd_ = pair[0];
  pid_ = pid;
  return true;
}

void ThumbnailClient::Stop(bool kill) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (pid_ <= 0) return;
  if (kill) ::kill(pid_, SIGKILL);
  QElapsedTimer waited;
  waited.start();
  int status = 0;
  while (::waitpid(pid_, &status, WNOHANG) == 0) {
    if (waited.elapsed() > kGraceMs) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, &status, 0);
      break;
    }
    ::usleep(kPollSliceMs * 1000);
  }
  pid_ = -1;
}

bool ThumbnailClient::Send(const void* data, std::size_t size) {
  const auto* at = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = ::send(fd_, at, size, MSG_NOSIGNAL);  // a dead helper must not end us
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    at += n;
    size -= std::size_t(n);
  }
  return true;
}

ThumbnailClient::Wait ThumbnailClient::Receive(void* data, std::size_t size,
                                               const std::function<bool()>& cancelled) {
  auto* at = static_cast<char*>(data);
  QElapsedTimer waited;
  waited.start();
  while (size > 0) {
    if (cancelled && cancelled()) return Wait::kCancelled;
    if (waited.elapsed() > timeoutMs_) return Wait::kGone;
    pollfd ready{fd_, POLLIN, 0};
    const int polled = ::poll(&ready, 1, kPollSliceMs);
    if (polled < 0 && errno != EINTR) return Wait::kGone;
    if (polled <= 0) continue;
    const ssize_t n = ::recv(fd_, at, size, 0);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (n <= 0) return Wait::kGone;  // the helper died
    at += n;
    size -= std::size_t(n);
  }
  return Wait::kOk;
}

ThumbnailClient::Outcome ThumbnailClient::Make(const QString& fileName,
                                               const std::function<QSize(int, int)>& fit,
                                               const std::function<bool()>& cancelled,
                                               EngineThumbnail::Result& result) {
  result = EngineThumbnail::Result();
  if (!Start()) return Outcome::kUnavailable;
  const Outcome outcome = Converse(fileName, fit, cancelled, result);
  if (outcome != Outcome::kMade) result = EngineThumbnail::Result();
  return outcome;
}

ThumbnailClient::Outcome ThumbnailClient::Converse(const QString& fileName,
                                                   const std::function<QSize(int, int)>& fit,
                                                   const std::function<bool()>& cancelled,
                                                   EngineThumbnail::Result& result) {
  // Whatever went wrong mid-conversation, the helper's state is unknown: it goes.
  const auto broken = [this](Wait wait) {
    Stop(true);
    return wait == Wait::kCancelled ? Outcome::kCancelled : Outcome::kFailed;
  };
  const QByteArray path = fileName.toUtf8();
  const auto length = std::uint32_t(path.size());
  if (length == 0 || length > ThumbnailProtocol::kMaxPathBytes) return Outcome::kFailed;
  if (!Send(&length, sizeof(length)) || !Send(path.constData(), length)) return broken(Wait::kGone);

  std::int32_t loaded[3] = {0, 0, 0};
  if (const Wait wait = Receive(loaded, sizeof(loaded), cancelled); wait != Wait::kOk)
    return broken(wait);
  if (loaded[0] == 0) return Outcome::kFailed;
  if (loaded[0] != 1 || !ImageDescriptor::SizeAllowed(loaded[1], loaded[2]))
    return broken(Wait::kGone);

  QSize size = fit(loaded[1], loaded[2]);
  if (size.width() < 1 || size.height() < 1 || size.width() > loaded[1] ||
      size.height() > loaded[2])
    size = QSize(0, 0);  // the helper gives up on it
  const std::int32_t wanted[2] = {size.width(), size.height()};
  if (!Send(wanted, sizeof(wanted))) return broken(Wait::kGone);

  std::uint32_t bytes = 0;
  if (const Wait wait = Receive(&bytes, sizeof(bytes), cancelled); wait != Wait::kOk)
    return broken(wait);
  if (bytes == 0) return Outcome::kFailed;
  if (bytes > ThumbnailProtocol::kMaxThumbnailBytes) return broken(Wait::kGone);
  QByteArray buffer(int(bytes), Qt::Uninitialized);
  if (const Wait wait = Receive(buffer.data(), bytes, cancelled); wait != Wait::kOk)
    return broken(wait);
  result.pictureWidth = loaded[1];
  result.pictureHeight = loaded[2];
  result.buffer = std::move(buffer);
  return Outcome::kMade;
}
