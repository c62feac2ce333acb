#pragma once
// BatchSession: one batch run without windows, the same for trimjet-cli and the wizard's run
// page. Every output name is decided under the existing-file rule before anything is written;
// the output folder and the kept subfolders are made; what stands in the way of each picture
// is found before any decoding; the pictures run through BatchRunner, and each entry's outcome
// is reported in list order, refused and skipped ones included.
#include <QObject>
#include <QString>
#include <optional>
#include <vector>

#include "core/BatchJob.h"
#include "core/BatchNaming.h"
#include "core/BatchOptions.h"
#include "core/ExistingOutput.h"

class BatchRunner;

class BatchSession : public QObject {
  Q_OBJECT
 public:
  struct Input {
    QString path;
    QString root;     // the folder its folders are kept below, with keepStructure
    QString problem;  // why it cannot be a picture of the run, found while listing
  };
  struct Request {
    std::vector<Input> inputs;
    bool overwrite = false;  // each picture replaced by its JPEG; else written to outputDir
    QString outputDir;
    bool keepStructure = false;
    ExistingOutput::Rule ifExists = ExistingOutput::Rule::kNumber;
    bool dryRun = false;  // names and checks only
    BatchOptions options;
    int jobs = 0;                // worker processes; 0 runs the pictures in this process
    bool loneInProcess = false;  // a single picture to write runs in this process
    QString workerProgram;       // empty: BatchRunner's default
  };
  struct Entry {
    QString source;
    BatchNaming::Output output;  // no dest for an input refused while listing
    QString refused;             // why the picture was not started
    // Passed over without being started: another file at the name (output.skip), or the
    // source gone since it was listed (result's reason says so).
    bool skipped = false;
    std::optional<BatchJob::Result> result;  // set when the entry is reported
    bool Runs() const { return refused.isEmpty() && !output.skip; }
  };

  explicit BatchSession(QObject* parent = nullptr);
  ~BatchSession() override;

  // Decides the names, makes the folders and checks each picture. False, with the reason,
  // when the output folder cannot be made or written into: then nothing is planned.
  bool Plan(const Request& request, QString* reason);
  const std::vector<Entry>& Entries() const { return entries_; }
  // Reports every entry by EntryDone, in list order, running those that are to be written
  // (none in a dry run); Ended follows the last.
  void Start();
  // Starts no new picture; those under way finish and are reported.
  void Cancel();
  bool Running() const;

 signals:
  void EntryStarting(int index);
  void EntryDone(int index);
  void Ended(bool cancelled);

 private:
  Request request_;
  std::vector<Entry> entries_;
  BatchRunner* runner_ = nullptr;
};
