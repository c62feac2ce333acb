// trimjet-cli-docs FOLDER: writes trimjet-cli's manual page and its bash, zsh and fish
// completions into FOLDER, from the option table the tool itself reads.
#include <QDir>
#include <QFile>
#include <cstdio>

#include "cli/CliCompletion.h"
#include "cli/CliHelp.h"

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "Usage: trimjet-cli-docs FOLDER\n");
    return 2;
  }
  const QDir folder(QFile::decodeName(argv[1]));
  const std::pair<const char*, QString> files[] = {
      {"trimjet-cli.1", CliHelp::Manual()},
      {"trimjet-cli.bash", CliCompletion::Script(QStringLiteral("bash"))},
      {"_trimjet-cli", CliCompletion::Script(QStringLiteral("zsh"))},
      {"trimjet-cli.fish", CliCompletion::Script(QStringLiteral("fish"))}};
  for (const auto& [name, text] : files) {
    QFile file(folder.filePath(QLatin1String(name)));
    if (!folder.mkpath(QStringLiteral(".")) || !file.open(QIODevice::WriteOnly) ||
        file.write(text.toUtf8()) != text.toUtf8().size() || !file.flush()) {
      std::fprintf(stderr, "trimjet-cli-docs: cannot write %s\n", qPrintable(file.fileName()));
      return 1;
    }
  }
  return 0;
}
