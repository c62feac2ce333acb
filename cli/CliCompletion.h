#pragma once
// CliCompletion: tab completion scripts for bash, zsh and fish, made from CliOptions.
#include <QString>

class CliCompletion {
 public:
  // shell: "bash", "zsh" or "fish"; empty for any other name.
  static QString Script(const QString& shell);
};
