#pragma once
// WorkerPool: runs the jobs of a batch in child processes, each with its own copy of the
// image libraries. libvips reports errors through one process-wide buffer, so two pictures
// decoded in threads of one process could take each other's errors; processes cannot.
#include <functional>

#include "core/BatchJob.h"

class WorkerPool {
 public:
  using Job = std::function<BatchJob::Result(int index)>;
  using Done = std::function<void(int index, const BatchJob::Result& result)>;

  // Runs job(0) .. job(count - 1) in `workers` processes, handing each the next index as it
  // becomes free. done runs in the calling process, in completion order. A worker that dies
  // fails its picture with the reason and is replaced. The caller must not have started
  // libvips: children are forked from it.
  static void Run(int count, int workers, const Job& job, const Done& done);
};
