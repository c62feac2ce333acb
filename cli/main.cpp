// trimjet-cli: the batch run without a screen.
#include <unistd.h>

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>
#include <cstdlib>

#include "cli/CliArguments.h"
#include "cli/CliHelp.h"
#include "cli/CliPipe.h"
#include "cli/CliRun.h"

int main(int argc, char* argv[]) {
  setenv("VIPS_WARNING", "0", 0);  // libvips' own warnings would clutter the one-line reasons
  QCoreApplication app(argc, argv);
  QTextStream out(stdout), err(stderr);
  CliArguments args;
  QString error;
  if (!CliArguments::Parse(app.arguments().mid(1), args, error)) {
    err << CliHelp::UsageError(error);
    return CliRun::kUsage;
  }
  if (args.help || args.version) {
    out << (args.help ? CliHelp::Usage() : CliHelp::Version());
    return CliRun::kDone;
  }
  CliPipe pipe;
  bool fault = false;
  if (!pipe.Prepare(args, error, fault)) {
    err << "trimjet-cli: " << error << "\n";
    return fault ? CliRun::kBroken : CliRun::kFailures;
  }
  // With the JPEG on standard output, the lines meant for it go to standard error.
  // The bar is drawn over the result lines' terminal only; a log or a pipe gets none.
  const int status = CliRun::Run(args, args.toStdout ? err : out, err,
                                 isatty(STDERR_FILENO) && isatty(STDOUT_FILENO));
  if (status == CliRun::kDone && args.toStdout && !args.dryRun && !pipe.Deliver(args, error)) {
    err << "trimjet-cli: " << error << "\n";
    return CliRun::kBroken;
  }
  return status;
}
