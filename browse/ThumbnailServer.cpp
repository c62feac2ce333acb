#include "browse/ThumbnailServer.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QByteArray>
#include <QString>
#include <cerrno>
#include <cstdint>

#include "browse/ThumbnailProtocol.h"
#include "engine/EngineThumbnail.h"

namespace ThumbnailServer {
namespace {

// False at end of stream or on an error.
bool ReadAll(int fd, void* data, std::size_t size) {
  auto* at = static_cast<char*>(data);
  while (size > 0) {
    const ssize_t n = ::read(fd, at, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    at += n;
    size -= std::size_t(n);
  }
  return true;
}

bool WriteAll(int fd, const void* data, std::size_t size) {
  const auto* at = static_cast<const char*>(data);
  while (size > 0) {
    // No SIGPIPE when the client has gone: the write just fails.
    const ssize_t n = ::send(fd, at, size, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    at += n;
    size -= std::size_t(n);
  }
  return true;
}

template <typename... Ints>
bool WriteInts(int fd, Ints... values) {
  const std::int32_t words[] = {std::int32_t(values)...};
  return WriteAll(fd, words, sizeof(words));
}

}  // namespace

int Serve(int fd) {
  for (;;) {
    std::uint32_t length = 0;
    if (!ReadAll(fd, &length, sizeof(length))) return 0;  // the client is done
    if (length == 0 || length > ThumbnailProtocol::kMaxPathBytes) return 1;
    QByteArray path(int(length), Qt::Uninitialized);
    if (!ReadAll(fd, path.data(), length)) return 1;

    bool asked = false;
    bool broken = false;
    const auto fit = [&](int width, int height) {
      // The client owns the fitting rule: ask it.
      asked = true;
      std::int32_t size[2] = {0, 0};
      if (!WriteInts(fd, 1, width, height) || !ReadAll(fd, size, sizeof(size))) broken = true;
      return QSize(size[0], size[1]);
    };
    EngineThumbnail::Result made;
    const bool ok = EngineThumbnail::Make(QString::fromUtf8(path), fit, made);
    if (broken) return 1;
    if (!asked) {  // the file did not load
      if (!WriteInts(fd, 0, 0, 0)) return 1;
      continue;
    }
    const std::uint32_t bytes = ok ? std::uint32_t(made.buffer.size()) : 0;
    if (!WriteAll(fd, &bytes, sizeof(bytes)) || !WriteAll(fd, made.buffer.constData(), bytes))
      return 1;
  }
}

}  // namespace ThumbnailServer
