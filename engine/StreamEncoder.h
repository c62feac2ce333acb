#pragma once
// StreamEncoder: a RowSink that shrinks the rows it gets by area averaging and encodes them
// as JPEG on a thread of its own, while the decoder goes on with the next rows. Only a few
// dozen source rows are held at a time; the bytes are those of decoding the picture whole,
// PixelScaler::AreaAverage and JpegCodec::Encode with the same settings.
#include <QByteArray>
#include <QSize>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/AreaShrinker.h"
#include "engine/JpegCodec.h"
#include "engine/JpegStreamEncoder.h"
#include "engine/RowSink.h"

class StreamEncoder : public RowSink {
 public:
  // Asked once the source's size is known (and with it the decoder's metadata): sets the
  // target size, no larger than the source either way, and may complete the settings.
  // False refuses the picture.
  using Plan = std::function<bool(int width, int height, QSize& target)>;

  // settings must outlive the encoder; plan may change it.
  StreamEncoder(const JpegCodec::Settings& settings, Plan plan);
  ~StreamEncoder() override;
  StreamEncoder(const StreamEncoder&) = delete;
  StreamEncoder& operator=(const StreamEncoder&) = delete;

  bool Begin(int width, int height) override;
  std::uint8_t* Row(int y) override;
  bool Rows(int first, int count) override;
  // After the decoder's last row: the JPEG, when every row came and was encoded.
  bool Finish(QByteArray& out);
  QSize Target() const { return target_; }

 private:
  void Work();
  bool Consume(const std::uint8_t* row);
  bool Emit(const std::uint8_t* row);
  bool WriteGreys();
  void Stop();

  const JpegCodec::Settings& settings_;
  Plan plan_;
  int width_ = 0;
  int height_ = 0;
  QSize target_;
  std::size_t rowBytes_ = 0;
  std::vector<std::uint8_t> ring_;     // the source rows between decoder and encoder
  std::vector<std::uint8_t> scratch_;  // rows nobody will read, once the work has failed
  std::unique_ptr<AreaShrinker> shrinker_;

  // The encoder's side. Until a row is not grey the rows are kept as one channel: a picture
  // of only greys is written as one component, as JpegCodec::Encode decides.
  JpegStreamEncoder encoder_;
  QByteArray bytes_;
  bool colour_ = false;
  std::vector<std::uint8_t> greys_;
  int emitted_ = 0;

  std::mutex mutex_;
  std::condition_variable changed_;
  int available_ = 0;  // source rows the decoder has filled
  int consumed_ = 0;   // source rows the encoder's side is done with
  bool done_ = false;
  bool failed_ = false;
  std::thread worker_;
};
