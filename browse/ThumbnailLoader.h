#pragma once
// Makes thumbnails away from the window's work: JPEG files on a pool of worker threads,
// every other format in small steps on the window thread. Results arrive as Ready on the
// window thread; asking for a new set of files drops the queued work for all others.
//
// Thread rule: the engine's image objects use libvips, which reports errors through one
// process-wide buffer, so only the window thread may touch them (the preview and the
// optimiser use them there too). Workers only run JpegThumbnail, which never reaches libvips.
#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QTimer>
#include <deque>
#include <mutex>
#include <set>
#include <vector>

#include "ThumbnailResult.h"

class ThumbnailLoader : public QObject {
  Q_OBJECT
 public:
  struct Job {
    quint64 id = 0;
    QString fileName;
  };

  // threads: worker threads for JPEG files; 0 takes one per processor core.
  explicit ThumbnailLoader(QObject* parent = nullptr, int threads = 0);
  // Drops queued work and waits for the jobs already running.
  ~ThumbnailLoader() override;

  // The files wanted now, most urgent first; jobs queued for any other file are dropped.
  // A job already running is not started twice.
  void Want(const std::vector<Job>& jobs);
  // True when nothing is queued or running.
  bool Idle() const;

 Q_SIGNALS:
  void Ready(quint64 id, const ThumbnailResult& result);

 private:
  void StartWorkers();
  void WorkerLoop();
  void Delivered(quint64 id, const ThumbnailResult& result, bool retryOnWindowThread,
                 const QString& fileName);
  void EngineStep();

  QThreadPool pool_;
  mutable std::mutex mutex_;  // guards the JPEG queue, the running set and the counts
  std::deque<Job> jpegQueue_;
  std::set<quint64> running_;
  int workers_ = 0;
  bool stopping_ = false;

  // Window thread only.
  std::deque<Job> engineQueue_;
  std::set<quint64> jpegFailed_;  // named .jpg but not for the JPEG-only decoder
  QTimer engineTimer_;
};
