#pragma once
// Makes EngineThumbnail thumbnails in the trimjet-thumbnailer helper process instead of here, so
// any thread may ask: libvips' process-wide error buffer, its decoders' crashes and their memory
// stay in the helper. One helper per client, started on first use and again after it died.
//
// Thread rule: one thread at a time per client; several clients may run side by side.
#include <sys/types.h>

#include <QSize>
#include <QString>
#include <functional>

#include "engine/EngineThumbnail.h"

class ThumbnailClient {
 public:
  enum class Outcome {
    kMade,
    kFailed,       // the file gave no thumbnail, or the helper died or hung on it
    kCancelled,    // asked to stop; the helper was ended and says nothing about the file
    kUnavailable,  // the helper could not be started
  };

  // The helper beside the running program, unless another was set (tests run elsewhere).
  static QString DefaultHelper();
  static void SetDefaultHelper(const QString& path);

  explicit ThumbnailClient(const QString& helperPath = DefaultHelper());
  ~ThumbnailClient();
  ThumbnailClient(const ThumbnailClient&) = delete;
  ThumbnailClient& operator=(const ThumbnailClient&) = delete;

  // cancelled is asked every few milliseconds while the helper works.
  Outcome Make(const QString& fileName, const std::function<QSize(int, int)>& fit,
               const std::function<bool()>& cancelled, EngineThumbnail::Result& result);
  // Longest wait for one answer of the helper before it counts as hung.
  void SetTimeout(int milliseconds) { timeoutMs_ = milliseconds; }
  bool Running() const { return pid_ > 0; }

 private:
  enum class Wait { kOk, kGone, kCancelled };
  bool Start();
  // Ends the helper: politely (closing its socket) or at once.
  void Stop(bool kill);
  bool Send(const void* data, std::size_t size);
  Wait Receive(void* data, std::size_t size, const std::function<bool()>& cancelled);
  Outcome Converse(const QString& fileName, const std::function<QSize(int, int)>& fit,
                   const std::function<bool()>& cancelled, EngineThumbnail::Result& result);

  QString helper_;
  int timeoutMs_ = 60000;
  int fd_ = -1;
  pid_t pid_ = -1;
};
