#include "browse/ThumbnailLoader.h"

#include <QFileInfo>
#include <QThread>
#include <algorithm>

#include "browse/BrowseGeometry.h"
#include "browse/ThumbnailClient.h"
#include "browse/clsBrowsePic.h"
#include "core/modPublic.h"
#include "core/modString.h"
#include "engine/JpegThumbnail.h"

namespace {

constexpr int kJpegType = 2;

bool IsJpegName(const QString& fileName) {
  return modPublic::GetImageType(modString::GetExtension(fileName).toUpper()) == kJpegType;
}

}  // namespace

ThumbnailLoader::ThumbnailLoader(QObject* parent, int threads)
    : QObject(parent), helper_(ThumbnailClient::DefaultHelper()) {
  qRegisterMetaType<ThumbnailResult>();
  pool_.setMaxThreadCount(threads > 0 ? threads : std::max(1, QThread::idealThreadCount()));
  engineTimer_.setSingleShot(true);
  engineTimer_.setInterval(0);
  connect(&engineTimer_, &QTimer::timeout, this, &ThumbnailLoader::EngineStep);
  helperUsable_ = QFileInfo(helper_).isExecutable();
}

ThumbnailLoader::~ThumbnailLoader() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;  // running helper work sees this and ends its helper
    queue_.clear();
  }
  pool_.waitForDone();
}

void ThumbnailLoader::SetHelper(const QString& path) {
  std::lock_guard lock(mutex_);
  helper_ = path;
  helperUsable_ = QFileInfo(path).isExecutable();
  idleClients_.clear();
}

void ThumbnailLoader::Want(const std::vector<Job>& jobs) {
  std::deque<Task> queue;
  std::deque<Job> engine;
  {
    std::lock_guard lock(mutex_);
    wanted_.clear();
    for (const Job& job : jobs) {
      wanted_.insert(job.id);
      if (running_.count(job.id)) continue;
      const bool jpegFirst = IsJpegName(job.fileName) && !retryHere_.count(job.id);
      if (jpegFirst || (helperUsable_ && !retryHere_.count(job.id)))
        queue.push_back({job, jpegFirst});
      else
        engine.push_back(job);
    }
    queue_ = std::move(queue);
  }
  engineQueue_ = std::move(engine);
  StartWorkers();
  if (!engineQueue_.empty()) engineTimer_.start();
}

bool ThumbnailLoader::Idle() const {
  std::lock_guard lock(mutex_);
  return queue_.empty() && running_.empty() && engineQueue_.empty();
}

bool ThumbnailLoader::StillWanted(quint64 id) const {
  std::lock_guard lock(mutex_);
  return !stopping_ && wanted_.count(id) != 0;
}

void ThumbnailLoader::StartWorkers() {
  std::lock_guard lock(mutex_);
  while (!stopping_ && workers_ < pool_.maxThreadCount() && std::size_t(workers_) < queue_.size()) {
    ++workers_;
    pool_.start([this] { WorkerLoop(); });
  }
}

void ThumbnailLoader::WorkerLoop() {
  std::unique_ptr<ThumbnailClient> client;
  for (;;) {
    Task task;
    {
      std::lock_guard lock(mutex_);
      if (stopping_ || queue_.empty()) {
        // The helper stays up for the next page.
        if (client && !stopping_) idleClients_.push_back(std::move(client));
        --workers_;
        return;
      }
      task = queue_.front();
      queue_.pop_front();
      running_.insert(task.job.id);
      if (!client && !idleClients_.empty()) {
        client = std::move(idleClients_.back());
        idleClients_.pop_back();
      }
      if (!client) client = std::make_unique<ThumbnailClient>(helper_);
    }
    ThumbnailResult result;
    bool retryHere = false;
    if (!RunTask(task, *client, result, retryHere)) {
      std::lock_guard lock(mutex_);
      running_.erase(task.job.id);  // asked for again when its cell shows again
      continue;
    }
    // Queued to the window thread; dropped unseen if the loader is gone by then.
    const Job job = task.job;
    QMetaObject::invokeMethod(
        this,
        [this, job, result, retryHere] { Delivered(job.id, result, retryHere, job.fileName); },
        Qt::QueuedConnection);
  }
}

bool ThumbnailLoader::RunTask(const Task& task, ThumbnailClient& client, ThumbnailResult& result,
                              bool& retryHere) {
  if (task.jpegFirst) {
    JpegThumbnail::Result made;
    if (JpegThumbnail::Make(task.job.fileName, BrowseGeometry::ThumbnailSize, made)) {
      result = {true, made.pictureWidth, made.pictureHeight, made.buffer};
      return true;
    }
    // CMYK, odd or misnamed files: the full engine may still read them.
  }
  {
    std::lock_guard lock(mutex_);
    if (!helperUsable_) {
      retryHere = true;
      return true;
    }
  }
  EngineThumbnail::Result made;
  const quint64 id = task.job.id;
  switch (client.Make(
      task.job.fileName, BrowseGeometry::ThumbnailSize, [this, id] { return !StillWanted(id); },
      made)) {
    case ThumbnailClient::Outcome::kMade:
      result = {true, made.pictureWidth, made.pictureHeight, made.buffer};
      return true;
    case ThumbnailClient::Outcome::kFailed:
      return true;  // result.ok stays false: the file is marked as not loadable
    case ThumbnailClient::Outcome::kCancelled:
      return false;
    case ThumbnailClient::Outcome::kUnavailable:
      break;
  }
  std::lock_guard lock(mutex_);
  helperUsable_ = false;  // no helper program to start: the window thread takes over
  retryHere = true;
  return true;
}

void ThumbnailLoader::Delivered(quint64 id, const ThumbnailResult& result, bool retryHere,
                                const QString& fileName) {
  {
    std::lock_guard lock(mutex_);
    running_.erase(id);
    if (retryHere) retryHere_.insert(id);
  }
  if (retryHere) {
    engineQueue_.push_front({id, fileName});
    engineTimer_.start();
    return;
  }
  Q_EMIT Ready(id, result);
}

void ThumbnailLoader::EngineStep() {
  if (engineQueue_.empty()) return;
  const Job job = engineQueue_.front();
  engineQueue_.pop_front();
  const ThumbnailResult result = clsBrowsePic::MakeThumbnail(job.fileName);
  // One file per turn of the event loop, so the window keeps answering between them.
  if (!engineQueue_.empty()) engineTimer_.start();
  Q_EMIT Ready(job.id, result);
}
