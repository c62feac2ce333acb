#pragma once
// Makes thumbnails away from the window's work on a pool of worker threads: JPEG files by
// JpegThumbnail in this process, every other file (and a JPEG that decoder refuses) through
// the engine in the trimjet-thumbnailer helper process. Results arrive as Ready on the window
// thread; asking for a new set of files drops the queued work for all others and stops the
// helper work on a file no longer asked for.
//
// Thread rule: the engine's image objects use libvips, which reports errors through one
// process-wide buffer, so only the window thread may touch them in this process. Workers run
// JpegThumbnail (never libvips) and talk to helper processes. Without a helper program the
// other files are made on the window thread, one per turn of the event loop.
#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QTimer>
#include <deque>
#include <memory>
#include <mutex>
#include <set>
#include <vector>

#include "browse/ThumbnailResult.h"

class ThumbnailClient;

class ThumbnailLoader : public QObject {
  Q_OBJECT
 public:
  struct Job {
    quint64 id = 0;
    QString fileName;
  };

  // threads: worker threads; 0 takes one per processor core.
  explicit ThumbnailLoader(QObject* parent = nullptr, int threads = 0);
  // Drops queued work, stops the helpers' work and waits for the workers.
  ~ThumbnailLoader() override;

  // The helper program; the one beside the running program unless set (before any Want).
  void SetHelper(const QString& path);

  // The files wanted now, most urgent first; jobs queued for any other file are dropped.
  // A job already running is not started twice.
  void Want(const std::vector<Job>& jobs);
  // True when nothing is queued or running.
  bool Idle() const;

 Q_SIGNALS:
  void Ready(quint64 id, const ThumbnailResult& result);

 private:
  struct Task {
    Job job;
    bool jpegFirst = false;  // try the in-process JPEG decoder before the helper
  };
  void StartWorkers();
  void WorkerLoop();
  // The thumbnail of one task on a worker; false when it was cancelled.
  bool RunTask(const Task& task, ThumbnailClient& client, ThumbnailResult& result, bool& retryHere);
  bool StillWanted(quint64 id) const;
  void Delivered(quint64 id, const ThumbnailResult& result, bool retryHere,
                 const QString& fileName);
  void EngineStep();

  QThreadPool pool_;
  mutable std::mutex mutex_;  // guards everything down to engineQueue_
  std::deque<Task> queue_;
  std::set<quint64> running_;
  std::set<quint64> wanted_;  // the ids of the last Want
  std::vector<std::unique_ptr<ThumbnailClient>> idleClients_;
  QString helper_;
  bool helperUsable_ = true;
  int workers_ = 0;
  bool stopping_ = false;

  // Window thread only.
  std::deque<Job> engineQueue_;
  std::set<quint64> retryHere_;  // left to the window thread after a worker could not
  QTimer engineTimer_;
};
