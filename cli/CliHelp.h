#pragma once
// CliHelp: the texts that describe trimjet-cli, made from CliOptions: the --help text in
// groups with examples, the one-line usage error, and the manual page.
#include <QString>

class CliHelp {
 public:
  static QString Usage();
  static QString Version();
  // "trimjet-cli: REASON" and the pointer to --help, for standard error.
  static QString UsageError(const QString& reason);
  // trimjet-cli(1) in man(7) markup.
  static QString Manual();
};
