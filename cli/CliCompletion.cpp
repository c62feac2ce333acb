#include "cli/CliCompletion.h"

#include <QStringList>

#include "cli/CliOptions.h"

namespace {

using Option = CliOptions::Option;
using Value = CliOptions::Value;

QString Long(const Option& o) { return QLatin1String(o.name); }
QString Short(const Option& o) { return QStringLiteral("-") + QLatin1Char(o.shortName); }

// The help's first clause, for a menu, with its single quotes closed and reopened.
QString Summary(const Option& o, bool zsh) {
  QString text = QString::fromLatin1(o.help).simplified();
  for (const char* end : {"; ", ", ", ": ", " ("}) text = text.section(QLatin1String(end), 0, 0);
  if (zsh) text.replace('[', "\\[").replace(']', "\\]").replace(':', "\\:");
  return text.replace('\'', "'\\''");
}

QString Bash() {
  QStringList words;
  QString cases;
  for (const Option& o : CliOptions::All()) {
    words << Long(o);
    if (o.shortName) words << Short(o);
    if (o.value == Value::kNone) continue;
    const QString names = o.shortName ? Short(o) + "|" + Long(o) : Long(o);
    QString reply;
    if (o.value == Value::kFile) reply = "mapfile -t COMPREPLY < <(compgen -f -- \"$cur\")";
    if (o.value == Value::kFolder) reply = "mapfile -t COMPREPLY < <(compgen -d -- \"$cur\")";
    if (o.choices)
      reply = QStringLiteral("mapfile -t COMPREPLY < <(compgen -W '%1' -- \"$cur\")")
                  .arg(QLatin1String(o.choices));
    cases += QStringLiteral("    %1) %2return ;;\n").arg(names, reply.isEmpty() ? "" : reply + "; ");
  }
  return QStringLiteral(
             "# bash completion for trimjet-cli\n"
             "_trimjet_cli() {\n"
             "  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
             "  COMPREPLY=()\n"
             "  case $prev in\n%1"
             "  esac\n"
             "  if [[ $cur == -* ]]; then\n"
             "    mapfile -t COMPREPLY < <(compgen -W '%2' -- \"$cur\")\n"
             "  else\n"
             "    mapfile -t COMPREPLY < <(compgen -f -- \"$cur\")\n"
             "  fi\n"
             "}\n"
             "complete -o filenames -F _trimjet_cli trimjet-cli\n")
      .arg(cases, words.join(' '));
}

QString Zsh() {
  QString arguments;
  for (const Option& o : CliOptions::All()) {
    const bool valued = o.value != Value::kNone;
    const bool repeated = Long(o) == QLatin1String("--effect");
    QString names = repeated ? "'*" + Long(o) + (valued ? "=" : "") + "'"
                             : "'" + Long(o) + (valued ? "=" : "") + "'";
    if (o.shortName)
      names = QStringLiteral("'(%1 %2)'{%1%3,%2%4}")
                  .arg(Short(o), Long(o), valued ? "+" : "", valued ? "=" : "");
    QString action;
    if (o.value == Value::kFile) action = ":file:_files";
    if (o.value == Value::kFolder) action = ":folder:_files -/";
    if (o.value == Value::kNumber || o.value == Value::kWord)
      action = ":" + QLatin1String(o.valueName) + ":";
    if (o.choices) action += "(" + QLatin1String(o.choices) + ")";
    arguments += QStringLiteral("  %1'[%2]%3' \\\n").arg(names, Summary(o, true), action);
  }
  return QStringLiteral("#compdef trimjet-cli\n# zsh completion for trimjet-cli\n"
                        "_arguments -s -S \\\n%1  '*:input:_files'\n")
      .arg(arguments);
}

QString Fish() {
  QString lines = QStringLiteral("# fish completion for trimjet-cli\n");
  for (const Option& o : CliOptions::All()) {
    QString line = QStringLiteral("complete -c trimjet-cli");
    if (o.shortName) line += QStringLiteral(" -s ") + QLatin1Char(o.shortName);
    line += " -l " + Long(o).mid(2);
    if (o.value == Value::kFile) line += " -r -F";
    if (o.value == Value::kFolder) line += " -x -a '(__fish_complete_directories)'";
    if (o.value == Value::kNumber || o.value == Value::kWord) line += " -x";
    if (o.choices) line += QStringLiteral(" -a '%1'").arg(QLatin1String(o.choices));
    lines += line + QStringLiteral(" -d '%1'\n").arg(Summary(o, false));
  }
  return lines;
}

}  // namespace

QString CliCompletion::Script(const QString& shell) {
  if (shell == QLatin1String("bash")) return Bash();
  if (shell == QLatin1String("zsh")) return Zsh();
  if (shell == QLatin1String("fish")) return Fish();
  return QString();
}
