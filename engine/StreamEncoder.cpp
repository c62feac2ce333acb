#include "engine/StreamEncoder.h"

#include <cstring>

namespace {
// Enough for the decoder to fill a band while the encoder's side works on the last ones.
constexpr int kRingRows = 64;
}  // namespace

StreamEncoder::StreamEncoder(const JpegCodec::Settings& settings, Plan plan)
    : settings_(settings), plan_(std::move(plan)) {}

StreamEncoder::~StreamEncoder() { Stop(); }

void StreamEncoder::Stop() {
  {
    std::lock_guard lock(mutex_);
    if (!done_) failed_ = true;
    done_ = true;
  }
  changed_.notify_all();
  if (worker_.joinable()) worker_.join();
}

bool StreamEncoder::Begin(int width, int height) {
  if (worker_.joinable() || width < 1 || height < 1) return false;
  QSize target;
  if (!plan_ || !plan_(width, height, target) || target.width() < 1 || target.height() < 1 ||
      target.width() > width || target.height() > height)
    return false;
  width_ = width;
  height_ = height;
  target_ = target;
  rowBytes_ = std::size_t(width) * 3;
  ring_.resize(rowBytes_ * kRingRows);
  scratch_.resize(rowBytes_);
  if (target != QSize(width, height))
    shrinker_ = std::make_unique<AreaShrinker>(width, height, target.width(), target.height());
  worker_ = std::thread([this] { Work(); });
  return true;
}

std::uint8_t* StreamEncoder::Row(int y) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return failed_ || y < consumed_ + kRingRows; });
  if (failed_ || y < consumed_ || y >= height_) return scratch_.data();
  return &ring_[rowBytes_ * std::size_t(y % kRingRows)];
}

bool StreamEncoder::Rows(int first, int count) {
  {
    std::lock_guard lock(mutex_);
    if (failed_ || first != available_ || count < 0 || first + count > height_) {
      failed_ = true;
    } else {
      available_ = first + count;
    }
  }
  changed_.notify_all();
  std::lock_guard lock(mutex_);
  return !failed_;
}

void StreamEncoder::Work() {
  for (;;) {
    int from = 0, to = 0;
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [&] { return failed_ || done_ || available_ > consumed_; });
      if (failed_ || available_ == consumed_) return;  // failed, or done with every row
      from = consumed_;
      to = available_;
    }
    bool ok = true;
    for (int y = from; y < to && ok; ++y) ok = Consume(&ring_[rowBytes_ * std::size_t(y % kRingRows)]);
    {
      std::lock_guard lock(mutex_);
      if (ok)
        consumed_ = to;
      else
        failed_ = true;
    }
    changed_.notify_all();
  }
}

bool StreamEncoder::Consume(const std::uint8_t* row) {
  if (!shrinker_) return Emit(row);
  const std::uint8_t* done = shrinker_->Add(row);
  return !done || Emit(done);
}

bool StreamEncoder::WriteGreys() {
  const int w = target_.width();
  std::vector<std::uint8_t> rgb(std::size_t(w) * 3);
  const std::uint8_t* row = rgb.data();
  for (std::size_t at = 0; at < greys_.size(); at += std::size_t(w)) {
    for (int x = 0; x < w; ++x) rgb[3 * x] = rgb[3 * x + 1] = rgb[3 * x + 2] = greys_[at + x];
    if (!encoder_.Write(&row, 1)) return false;
  }
  greys_ = {};
  return true;
}

bool StreamEncoder::Emit(const std::uint8_t* row) {
  const int w = target_.width();
  if (!colour_ && settings_.greyAsOneComponent) {
    bool grey = true;
    for (int x = 0; x < w && grey; ++x)
      grey = row[3 * x] == row[3 * x + 1] && row[3 * x + 1] == row[3 * x + 2];
    if (grey) {
      greys_.resize(greys_.size() + std::size_t(w));
      std::uint8_t* to = &greys_[greys_.size() - std::size_t(w)];
      for (int x = 0; x < w; ++x) to[x] = row[3 * x];
      ++emitted_;
      return true;
    }
  }
  if (!colour_) {
    // The first row with colour: the rows kept so far go first, as the RGB pixels they were.
    colour_ = true;
    if (!encoder_.Start(w, target_.height(), settings_, false, bytes_) || !WriteGreys())
      return false;
  }
  ++emitted_;
  return encoder_.Write(&row, 1);
}

bool StreamEncoder::Finish(QByteArray& out) {
  {
    std::lock_guard lock(mutex_);
    done_ = true;
  }
  changed_.notify_all();
  if (!worker_.joinable()) return false;  // never begun
  worker_.join();
  if (failed_ || consumed_ != height_ || emitted_ != target_.height()) return false;
  // Every row was grey: the kept rows as one component.
  if (!colour_ &&
      (!encoder_.Start(target_.width(), target_.height(), settings_, true, bytes_) || !WriteGreys()))
    return false;
  if (!encoder_.Finish()) return false;
  out = std::move(bytes_);
  return true;
}
