// trimjet-cli: the batch run without a screen.
#include <unistd.h>

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>
#include <cstdlib>

#include "CliArguments.h"
#include "CliRun.h"

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
  if (args.help) {
    out << CliArguments::Usage();
    return 0;
  }
  return CliRun::Run(args, out, err, isatty(STDERR_FILENO));
}
