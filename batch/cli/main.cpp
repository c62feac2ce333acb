// trimjet-cli: the batch run without a screen.
#include <unistd.h>

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>
#include <cstdlib>

#include "batch/cli/CliArguments.h"
#include "batch/cli/CliRun.h"

int main(int argc, char* argv[]) {
  setenv("VIPS_WARNING", "0", 0);  // libvips' own warnings would clutter the one-line reasons
  QCoreApplication app(argc, argv);
  QTextStream out(stdout), err(stderr);
  CliArguments args;
  QString error;
  if (!CliArguments::Parse(app.arguments().mid(1), args, error)) {
    err << "trimjet-cli: " << error << "\n" << CliArguments::Usage();
    return 2;
  }
  if (args.help || args.version) {
    out << (args.help ? CliArguments::Usage() : CliArguments::Version());
    return 0;
  }
  // The bar is drawn over the result lines' terminal only; a log or a pipe gets none.
  return CliRun::Run(args, out, err, isatty(STDERR_FILENO) && isatty(STDOUT_FILENO));
}
