#pragma once
// CliArguments: the command line of trimjet-cli read into the batch options, by the options
// of CliOptions. Any fault in it is a usage error with a one-line reason.
#include <QString>
#include <QStringList>

#include "cli/Shard.h"
#include "core/BatchOptions.h"
#include "core/ExistingOutput.h"

struct CliArguments {
  BatchOptions options;
  bool overwrite = false;
  QString outputDir;  // absolute, ending with "/", when not overwriting
  bool recursive = false;
  int jobs = 1;
  QStringList inputs;
  QString filesFrom;          // a file of INPUT names, "-" for standard input
  bool nulSeparated = false;  // -0: its names end with NUL, not a line feed
  bool keepStructure = false;
  bool dryRun = false;
  bool json = false;
  bool quiet = false;
  Shard shard;
  ExistingOutput::Rule ifExists = ExistingOutput::Rule::kNumber;
  bool help = false;
  bool version = false;
  bool fromStdin = false;  // the one INPUT is "-": a picture on standard input
  bool toStdout = false;   // "-o -": the JPEG goes to standard output
  QString stdinFile;       // where CliPipe put the picture read from standard input

  // args excludes the program name. False with error set on a usage error.
  static bool Parse(const QStringList& args, CliArguments& out, QString& error);
};
