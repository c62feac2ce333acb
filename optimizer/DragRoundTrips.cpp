#include "optimizer/DragRoundTrips.h"

#include <utility>

#include "engine/clsImage.h"

DragRoundTrips::DragRoundTrips(QObject* parent, std::function<void(Result)> arrived)
    : QObject(parent), arrived_(std::move(arrived)) {
  pool_.setMaxThreadCount(1);
  pool_.setExpiryTimeout(-1);  // one thread for the window's life: no start-up per drag
}

DragRoundTrips::~DragRoundTrips() { Quiet(); }

void DragRoundTrips::Request(std::shared_ptr<clsImage> working, int quality) {
  waiting_ = Job{std::move(working), quality, generation_};
  // The one in flight is of a position the hand has left: it stops, and this one follows.
  if (running_)
    running_->cancel->store(true, std::memory_order_relaxed);
  else
    Start();
}

bool DragRoundTrips::Computing(const std::shared_ptr<clsImage>& working, int quality) const {
  return running_ && running_->generation == generation_ && running_->working == working &&
         running_->quality == quality && !running_->cancel->load(std::memory_order_relaxed);
}

void DragRoundTrips::Drop() {
  ++generation_;
  waiting_.reset();
  if (running_) running_->cancel->store(true, std::memory_order_relaxed);
}

void DragRoundTrips::Quiet() {
  Drop();
  pool_.waitForDone();
}

void DragRoundTrips::Recycle(std::shared_ptr<clsImage> picture) {
  // Only a picture that nobody else holds (no view, no session) may be written into.
  if (!spare_ && picture && picture.use_count() == 1) spare_ = std::move(picture);
}

void DragRoundTrips::Start() {
  running_ = std::exchange(waiting_, std::nullopt);
  const Job job = *running_;
  std::shared_ptr<clsImage> dest = std::exchange(spare_, nullptr);
  pool_.start([this, job, dest = std::move(dest)]() mutable {
    Result result;
    result.working = job.working;
    result.quality = job.quality;
    result.optimized = job.working->GetOptimizedInstance(
        job.quality, std::move(dest), &result.jpegBytes, &result.lossless, job.cancel.get());
    // Queued to this object: dropped unseen if the window has gone meanwhile. The result is
    // moved along, so that Recycle finds its picture held by nothing else.
    QMetaObject::invokeMethod(
        this,
        [this, result = std::move(result), generation = job.generation]() mutable {
          Finished(std::move(result), generation);
        },
        Qt::QueuedConnection);
  });
}

void DragRoundTrips::Finished(Result result, quint64 generation) {
  running_.reset();
  if (generation == generation_ && result.optimized && result.jpegBytes >= 0)
    arrived_(std::move(result));
  else
    Recycle(std::move(result.optimized));
  if (waiting_) Start();
}
