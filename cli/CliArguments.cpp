#include "cli/CliArguments.h"

#include <QDir>
#include <QFileInfo>
#include <QThread>

#include "cli/CliOptions.h"
#include "core/OptionGrammar.h"

namespace {

const QString kStdio = QStringLiteral("-");

struct State {
  CliArguments& out;
  bool scaleGiven = false;
  bool outputGiven = false;
};

bool* Switch(const QString& name, CliArguments& out) {
  const std::pair<const char*, bool*> switches[] = {
      {"--recursive", &out.recursive}, {"--overwrite", &out.overwrite},
      {"--keep-structure", &out.keepStructure}, {"--dry-run", &out.dryRun},
      {"--json", &out.json}, {"--quiet", &out.quiet}, {"--null", &out.nulSeparated},
      {"--help", &out.help}, {"--version", &out.version}};
  for (const auto& [option, target] : switches)
    if (name == QLatin1String(option)) return target;
  // The picture options are OptionGrammar's, which the batch wizard's workers read too.
  return OptionGrammar::Flag(name, out.options);
}

bool TakesValue(const QString& name) {
  const CliOptions::Option* o = CliOptions::Find(name);
  return o ? o->valueName != nullptr : OptionGrammar::TakesValue(name);
}

// One valued option by its long name.
bool ApplyValue(const QString& name, const QString& v, State& s, QString& error) {
  CliArguments& out = s.out;
  if (OptionGrammar::TakesValue(name)) {
    s.scaleGiven = s.scaleGiven || name == QLatin1String("--scale");
    return OptionGrammar::Read(name, v, out.options, error);
  }
  if (name == QLatin1String("--jobs"))
    return OptionGrammar::ReadNumber(name, v, 1, 256, out.jobs, error);
  if (name == QLatin1String("--shard")) {
    if (Shard::Parse(v, out.shard)) return true;
    error = QStringLiteral("--shard takes K/N with 0 <= K < N, not '%1'").arg(v);
  } else if (name == QLatin1String("--files-from")) {
    out.filesFrom = v;
    if (!v.isEmpty()) return true;
    error = QStringLiteral("--files-from needs a file");
  } else if (name == QLatin1String("--if-exists")) {
    if (ExistingOutput::Parse(v, out.ifExists)) return true;
    error = QStringLiteral("--if-exists takes number, replace or skip, not '%1'").arg(v);
  } else {  // --output-dir
    s.outputGiven = true;
    out.toStdout = v == kStdio;
    if (out.toStdout) return true;
    if (v.isEmpty()) return (error = QStringLiteral("--output-dir needs a folder")), false;
    if (QFileInfo(v).exists() && !QFileInfo(v).isDir())
      return (error = QStringLiteral("--output-dir %1 is a file, not a folder").arg(v)), false;
    out.outputDir = QDir::cleanPath(QDir(v).absolutePath()) + QLatin1Char('/');
    return true;
  }
  return false;
}

// The rules between options, once all are read.
bool Check(State& s, QString& error) {
  CliArguments& out = s.out;
  if (!OptionGrammar::Finish(out.options, s.scaleGiven, error)) return false;
  if (out.overwrite == s.outputGiven)
    error = QStringLiteral("give exactly one of --output-dir DIR and --overwrite");
  else if (out.keepStructure && !s.outputGiven)
    error = QStringLiteral("--keep-structure needs --output-dir");
  else if (out.nulSeparated && out.filesFrom.isEmpty())
    error = QStringLiteral("-0 needs --files-from");
  else if (out.inputs.isEmpty() && out.filesFrom.isEmpty())
    error = QStringLiteral("no INPUT given");
  else if (out.inputs.contains(kStdio) && (out.inputs.size() > 1 || !out.filesFrom.isEmpty()))
    error = QStringLiteral("'-' (standard input) must be the only INPUT");
  else if (out.inputs.contains(kStdio) && out.overwrite)
    error = QStringLiteral("'-' (standard input) has no file to overwrite: give --output-dir");
  else if (out.toStdout && (out.inputs.size() != 1 || !out.filesFrom.isEmpty() ||
                            QFileInfo(out.inputs.first()).isDir()))
    error = QStringLiteral("--output-dir - writes one picture: give one picture file or '-'");
  out.fromStdin = out.inputs == QStringList{kStdio};
  return error.isEmpty();
}

}  // namespace

bool CliArguments::Parse(const QStringList& args, CliArguments& out, QString& error) {
  out = CliArguments();
  out.jobs = std::max(1, QThread::idealThreadCount());
  State s{out};
  bool optionsDone = false;
  for (int i = 0; i < args.size() && !out.help && !out.version; ++i) {
    const QString arg = args[i];
    if (optionsDone || arg == kStdio || !arg.startsWith(QLatin1Char('-'))) {
      out.inputs << arg;
      continue;
    }
    if (arg == QLatin1String("--")) {
      optionsDone = true;
      continue;
    }
    auto next = [&](const QString& shown, QString& v) {
      if (i + 1 >= args.size()) return (error = shown + QStringLiteral(" needs a value")), false;
      v = args[++i];
      return true;
    };
    if (arg.startsWith(QLatin1String("--"))) {
      const int eq = arg.indexOf(QLatin1Char('='));
      const QString name = eq > 0 ? arg.left(eq) : arg;
      QString v = eq > 0 ? arg.mid(eq + 1) : QString();
      if (!TakesValue(name)) {
        bool* target = Switch(name, out);
        if (!target) {
          const QString close = CliOptions::Closest(name);
          error = QStringLiteral("unknown option %1").arg(name) +
                  (close.isEmpty() ? QString() : QStringLiteral("; did you mean %1?").arg(close));
          return false;
        }
        if (eq > 0) return (error = QStringLiteral("%1 takes no value").arg(name)), false;
        *target = true;
      } else if ((eq < 0 && !next(name, v)) || !ApplyValue(name, v, s, error)) {
        return false;
      }
      continue;
    }
    // Short options, joined or not: -rn, -j2, -j 2.
    for (int c = 1; c < arg.size(); ++c) {
      const CliOptions::Option* o = CliOptions::FindShort(arg[c]);
      if (!o) return (error = QStringLiteral("unknown option -%1").arg(arg[c])), false;
      const QString name = QLatin1String(o->name);
      if (!o->valueName) {
        *Switch(name, out) = true;
        continue;
      }
      QString v = arg.mid(c + 1);
      if ((v.isEmpty() && !next(QStringLiteral("-") + arg[c], v)) || !ApplyValue(name, v, s, error))
        return false;
      break;
    }
  }
  return out.help || out.version || Check(s, error);
}
