#pragma once
// DragRoundTrips: the JPEG round trips of a quality drag, off the window thread, so that the
// window follows the hand and a release never waits behind a position already left. One round
// trip runs at a time: a newer position stops the one in flight between two strips of rows
// and takes its place, so the position the hand stops at is under way at once. Only results
// still wanted arrive; a dropped one's picture is written into by the next round trip, so a
// drag does not allocate a new full-size picture for every position.
#include <QObject>
#include <QThreadPool>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class clsImage;

class DragRoundTrips : public QObject {
 public:
  struct Result {
    std::shared_ptr<clsImage> working;  // the picture encoded
    int quality = 0;
    std::shared_ptr<clsImage> optimized;  // the round trip: its JPEG decoded
    int jpegBytes = -1;
    bool lossless = false;
  };

  // arrived runs on the window thread with each result still wanted, which it then owns
  // alone; it hands the picture it no longer shows to Recycle.
  DragRoundTrips(QObject* parent, std::function<void(Result)> arrived);
  ~DragRoundTrips() override;  // waits for the round trip in flight

  // The round trip of working at quality, after the one in flight.
  void Request(std::shared_ptr<clsImage> working, int quality);
  // True while this very round trip runs and its result will arrive.
  bool Computing(const std::shared_ptr<clsImage>& working, int quality) const;
  // Nothing in flight or waiting is wanted any more: the one in flight stops soon.
  void Drop();
  // Drop, and wait until no round trip reads a picture any more (before one is changed).
  void Quiet();
  // A picture no longer shown, to write a later round trip into.
  void Recycle(std::shared_ptr<clsImage> picture);

 private:
  struct Job {
    std::shared_ptr<clsImage> working;
    int quality = 0;
    quint64 generation = 0;
    std::shared_ptr<std::atomic<bool>> cancel = std::make_shared<std::atomic<bool>>(false);
  };
  void Start();
  void Finished(Result result, quint64 generation);

  std::function<void(Result)> arrived_;
  QThreadPool pool_;
  std::optional<Job> running_, waiting_;
  quint64 generation_ = 0;
  std::shared_ptr<clsImage> spare_;
};
