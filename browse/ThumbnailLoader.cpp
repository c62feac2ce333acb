#include "ThumbnailLoader.h"

#include <QThread>
#include <algorithm>

#include "BrowseGeometry.h"
#include "JpegThumbnail.h"
#include "clsBrowsePic.h"
#include "modPublic.h"
#include "modString.h"

namespace {

constexpr int kJpegType = 2;

bool IsJpegName(const QString& fileName) {
  return modPublic::GetImageType(modString::GetExtension(fileName).toUpper()) == kJpegType;
}

}  // namespace

ThumbnailLoader::ThumbnailLoader(QObject* parent, int threads) : QObject(parent) {
  qRegisterMetaType<ThumbnailResult>();
  pool_.setMaxThreadCount(threads > 0 ? threads : std::max(1, QThread::idealThreadCount()));
  engineTimer_.setSingleShot(true);
  engineTimer_.setInterval(0);
  connect(&engineTimer_, &QTimer::timeout, this, &ThumbnailLoader::EngineStep);
}

ThumbnailLoader::~ThumbnailLoader() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    jpegQueue_.clear();
  }
  pool_.waitForDone();
}

void ThumbnailLoader::Want(const std::vector<Job>& jobs) {
  std::deque<Job> jpeg, engine;
  {
    std::lock_guard lock(mutex_);
    for (const Job& job : jobs) {
      if (running_.count(job.id)) continue;
      if (IsJpegName(job.fileName) && !jpegFailed_.count(job.id))
        jpeg.push_back(job);
      else
        engine.push_back(job);
    }
    jpegQueue_ = std::move(jpeg);
  }
  engineQueue_ = std::move(engine);
  StartWorkers();
  if (!engineQueue_.empty()) engineTimer_.start();
}

bool ThumbnailLoader::Idle() const {
  std::lock_guard lock(mutex_);
  return jpegQueue_.empty() && running_.empty() && engineQueue_.empty();
}

void ThumbnailLoader::StartWorkers() {
  std::lock_guard lock(mutex_);
  while (!stopping_ && workers_ < pool_.maxThreadCount() &&
         std::size_t(workers_) < jpegQueue_.size()) {
    ++workers_;
    pool_.start([this] { WorkerLoop(); });
  }
}

void ThumbnailLoader::WorkerLoop() {
  for (;;) {
    Job job;
    {
      std::lock_guard lock(mutex_);
      if (stopping_ || jpegQueue_.empty()) {
        --workers_;
        return;
      }
      job = jpegQueue_.front();
      jpegQueue_.pop_front();
      running_.insert(job.id);
    }
    JpegThumbnail::Result made;
    const bool ok = JpegThumbnail::Make(job.fileName, BrowseGeometry::ThumbnailSize, made);
    ThumbnailResult result{ok, made.pictureWidth, made.pictureHeight, made.buffer};
    // Queued to the window thread; dropped unseen if the loader is gone by then.
    QMetaObject::invokeMethod(
        this, [this, job, result] { Delivered(job.id, result, !result.ok, job.fileName); },
        Qt::QueuedConnection);
  }
}

void ThumbnailLoader::Delivered(quint64 id, const ThumbnailResult& result, bool retryOnWindowThread,
                                const QString& fileName) {
  {
    std::lock_guard lock(mutex_);
    running_.erase(id);
  }
  if (retryOnWindowThread) {
    // CMYK, odd or misnamed files: the full engine may still read them.
    jpegFailed_.insert(id);
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
