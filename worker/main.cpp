// trimjet-batch-worker: one worker process of the batch wizard. It reads the options from its
// arguments and one job per line from standard input, and answers each with a result line.
// The wizard starts several, so pictures are worked on at once, each in its own process.
#include <QCoreApplication>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "core/BatchJob.h"
#include "core/WorkerProtocol.h"
#include "engine/SafeFile.h"

namespace {

// Told to end (its parent died, or the run was stopped): no half-written temporary file stays.
void OnTerminate(int signal) {
  SafeFile::RemovePendingTemporary();
  std::_Exit(128 + signal);
}

}  // namespace

int main(int argc, char* argv[]) {
  setenv("VIPS_WARNING", "0", 0);
  std::signal(SIGTERM, OnTerminate);
  QCoreApplication app(argc, argv);
  BatchOptions options;
  QString error;
  if (!WorkerProtocol::ParseOptionArguments(app.arguments().mid(1), options, error)) {
    std::fprintf(stderr, "trimjet-batch-worker: %s\n", error.toUtf8().constData());
    return 2;
  }
  std::string line;
  while (std::getline(std::cin, line)) {
    int index = 0;
    QString source, dest;
    if (!WorkerProtocol::ParseJobLine(QByteArray::fromStdString(line), index, source, dest))
      continue;
    const QByteArray answer =
        WorkerProtocol::ResultLine(index, BatchJob::Run(source, dest, options));
    std::fwrite(answer.constData(), 1, std::size_t(answer.size()), stdout);
    std::fflush(stdout);
  }
  return 0;
}
