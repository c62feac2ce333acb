#pragma once
// Builds the command line that hands a host selection to the program "Trimjet.dat" beside
// the plug-in, and starts that program without waiting for it.
#include <cstddef>

#include "plugin/HostRecords.h"
#include "plugin/clsCommandLine.h"

class clsHandOff {
 public:
  static constexpr const char* kProgramFile = "Trimjet.dat";

  // modulePath: the plug-in's own full path (nullptr when unknown: nothing can start).
  explicit clsHandOff(const char* modulePath);

  // Adds the keyword and paths for an invocation; false when nothing is to be started.
  bool BuildCommand(const HostRecords::InvocationRecord* invocation);

  // The whole command line: program path, a blank, then the keyword and paths.
  const char* Text() const { return line_.Text(); }
  std::size_t Length() const { return line_.Length(); }

  // Starts the program with two arguments: its path, and the rest of the line as one
  // argument (left out when empty). Without a command built first it starts the program
  // with no keyword. Splits the text in place; true when it started.
  bool Start();

 private:
  void AppendSingle(const char* path);
  bool AppendBatch(const HostRecords::EntryRecord* entries, std::size_t count);

  clsCommandLine line_;
  std::size_t programLength_ = 0;  // 0: the program path could not be built
  std::size_t restStart_ = 0;      // where the program's argument begins
};
