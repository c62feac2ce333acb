#pragma once
// BatchRunner: runs the pictures of a batch on worker processes (trimjet-batch-worker, each
// with its own copy of the image libraries) without blocking the window, and reports them in
// list order, as a one-at-a-time run would. Without the worker program it works in-process,
// one picture per turn of the event loop.
#include <QObject>
#include <QString>
#include <vector>

#include "core/BatchJob.h"
#include "core/BatchOptions.h"

class QProcess;

class BatchRunner : public QObject {
  Q_OBJECT
 public:
  struct Item {
    QString source;
    QString dest;
    bool skip = false;  // another file lies at dest: reported as skipped, never started
  };

  explicit BatchRunner(QObject* parent = nullptr);
  ~BatchRunner() override;

  // The worker program beside the running executable.
  static QString DefaultWorkerProgram();
  void SetWorkerProgram(const QString& program) { program_ = program; }
  // workers <= 0 works in-process.
  void Start(const std::vector<Item>& items, const BatchOptions& options, int workers);
  // Starts no new picture; those already started finish and are reported.
  void Cancel();
  bool Running() const { return running_; }

 signals:
  // In list order. Starting comes before an item's Finished; a vanished source gets no
  // Starting and is finished with skipped set.
  void ItemStarting(int index);
  void ItemFinished(int index, const BatchJob::Result& result, bool skipped);
  void Finished(bool cancelled);

 private:
  struct Worker {
    QProcess* process = nullptr;
    int busyWith = -1;
    QByteArray pending;  // a partial result line
  };
  enum class State { kWaiting, kStarted, kSkipped, kDone };

  void StartWorker(Worker& worker);
  void Feed(Worker& worker);
  void ReadResults(Worker& worker);
  void WorkerEnded(Worker& worker);
  void RunInProcess();
  int NextToStart();
  void Complete(int index, const BatchJob::Result& result);
  void Report();
  void CheckFinished();

  QString program_;
  std::vector<Item> items_;
  BatchOptions options_;
  std::vector<State> state_;
  std::vector<BatchJob::Result> results_;
  std::vector<Worker> workers_;
  int next_ = 0;                // the next item to hand out
  int reported_ = 0;            // items reported so far, in order
  bool startReported_ = false;  // Starting was emitted for item reported_
  int restartsLeft_ = 0;
  bool cancelled_ = false;
  bool running_ = false;
};
