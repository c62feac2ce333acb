#include "batch/cli/CliArguments.h"

#include <QDir>
#include <QThread>

namespace {

bool ToInt(const QString& text, int minimum, int maximum, int& value) {
  bool ok = false;
  const int v = text.toInt(&ok);
  if (!ok || v < minimum || v > maximum) return false;
  value = v;
  return true;
}

QString RangeError(const QString& option, int minimum, int maximum, const QString& given) {
  return QStringLiteral("%1 takes a whole number from %2 to %3, not '%4'")
      .arg(option)
      .arg(minimum)
      .arg(maximum)
      .arg(given);
}

// Typed names need not match the catalogue's capitals: "sharpen more" is "Sharpen More".
const EffectCatalog::Entry* FindEffect(const QString& name) {
  for (const EffectCatalog::Entry& entry : EffectCatalog::All())
    if (entry.name.compare(name, Qt::CaseInsensitive) == 0) return &entry;
  return nullptr;
}

// "Blur=0..255 (0)" for the usage; direct effects stand alone.
QString EffectList() {
  QStringList items;
  for (const QString& name : EffectCatalog::SortedNames()) {
    const EffectCatalog::Entry* e = EffectCatalog::Find(name);
    items << (e->HasLevel() ? QStringLiteral("%1=%2..%3 (%4)")
                                  .arg(name)
                                  .arg(e->minimum)
                                  .arg(e->maximum)
                                  .arg(e->start)
                            : name);
  }
  QString text, line = QStringLiteral("     ");
  for (const QString& item : items) {
    if (line.size() + item.size() + 2 > 92)
      text += line + QLatin1Char('\n'), line = QStringLiteral("     ");
    line += QStringLiteral(" ") + item + QLatin1Char(item == items.last() ? '\n' : ',');
  }
  return text + line;
}

bool ParseEffect(const QString& text, BatchOptions::Effect& effect, QString& error) {
  // The last "=" splits: names hold blanks but no "=".
  const int eq = text.lastIndexOf(QLatin1Char('='));
  const QString name = eq < 0 ? text : text.left(eq);
  effect.entry = FindEffect(name);
  if (!effect.entry) {
    error = QStringLiteral("unknown effect '%1' (effects: %2)")
                .arg(name, EffectCatalog::SortedNames().join(QStringLiteral(", ")));
    return false;
  }
  effect.level = effect.entry->start;
  if (eq < 0) return true;
  if (!effect.entry->HasLevel()) {
    error = QStringLiteral("effect '%1' takes no level").arg(name);
    return false;
  }
  if (!ToInt(text.mid(eq + 1), effect.entry->minimum, effect.entry->maximum, effect.level)) {
    error = RangeError(QStringLiteral("effect '%1'").arg(name), effect.entry->minimum,
                       effect.entry->maximum, text.mid(eq + 1));
    return false;
  }
  return true;
}

}  // namespace

QString CliArguments::Usage() {
  return QStringLiteral(
             "Usage: trimjet-cli [OPTION]... (--output-dir DIR | --overwrite) [INPUT]...\n"
             "Optimises pictures (files, or the supported pictures of folders) into JPEG files.\n"
             "  --quality Q            encoder quality 7..98 (default 70)\n"
             "  --scale PCT            size in percent 1..500 (default 100)\n"
             "  --width W, --height H  size in pixels 1..32767; one alone keeps the aspect ratio\n"
             "  --effect NAME[=LEVEL]  apply an effect, in the order given; names in any case,\n"
             "                         levels in range (default in brackets):\n"
             "%1"
             "  --strip                leave out the metadata (EXIF with date, camera and GPS,\n"
             "                         XMP, IPTC) that is otherwise copied into every JPEG\n"
             "  --recursive            take the pictures of subfolders too\n"
             "  --jobs N               pictures processed at once (default: the number of cores)\n"
             "  --output-dir DIR       write into DIR (created when missing)\n"
             "  --keep-structure       with --output-dir: recreate each picture's folders below\n"
             "                         the INPUT folder it was found in (files named directly go\n"
             "                         to the top of DIR; relative names of --files-from keep\n"
             "                         their folders below the current one)\n"
             "  --overwrite            replace JPEG sources; write NAME.jpg beside other pictures\n"
             "                         (a source is never replaced without it, and a JPEG whose\n"
             "                         data ends early never)\n"
             "  --if-exists RULE       when another file lies at an output name: number (write\n"
             "                         \"a (2).jpg\", the default), replace, or skip the picture\n"
             "                         without reading it (a re-run does only what is left)\n"
             "  --allow-larger         write a JPEG's result even when it is not smaller (by\n"
             "                         default the JPEG is kept as it is, or copied unchanged\n"
             "                         to --output-dir, and reported as kept)\n"
             "  --keep-dates           a written file keeps its source's modification time\n"
             "  --files-from FILE      read INPUT names from FILE, one a line ('-': standard "
             "input)\n"
             "  -0                     the names of --files-from end with NUL (find -print0)\n"
             "  --shard K/N            process only part K of N (K = 0..N-1): a picture belongs "
             "to\n"
             "                         part FNV-1a-64(path as given, UTF-8) mod N, so N machines\n"
             "                         given one list each do every picture exactly once\n"
             "  --dry-run              print what would be written where; write nothing\n"
             "  --json                 one JSON object per picture on standard output, then a\n"
             "                         summary object; the human lines are dropped\n"
             "  --quiet                no result lines and no progress bar; failures still go to\n"
             "                         standard error\n"
             "  -h, --help, --version  this text, or the version\n"
             "Prints one line per picture (source -> destination: bytes before -> after) and the\n"
             "compression ratio; a progress bar on standard error when both it and standard\n"
             "output are a terminal.\n"
             "The last line counts the pictures written, kept, skipped and failed, and the bytes\n"
             "saved.\n"
             "Exit status: 0 all written, kept or skipped, 1 some failed or no picture found,\n"
             "2 usage error.\n")
      .arg(EffectList());
}

QString CliArguments::Version() {
  return QStringLiteral("trimjet-cli (Trimjet) %1.%2\n")
      .arg(TRIMJET_VERSION_MAJOR)
      .arg(TRIMJET_VERSION_MINOR);
}

bool CliArguments::Parse(const QStringList& args, CliArguments& out, QString& error) {
  out = CliArguments();
  out.jobs = std::max(1, QThread::idealThreadCount());
  bool scaleGiven = false, outputGiven = false, optionsDone = false;
  for (int i = 0; i < args.size(); ++i) {
    QString arg = args[i];
    if (optionsDone || !arg.startsWith(QLatin1Char('-')) || arg == QLatin1String("-")) {
      out.inputs << arg;
      continue;
    }
    if (arg == QLatin1String("-h")) arg = QStringLiteral("--help");
    if (arg == QLatin1String("-0")) {
      out.nulSeparated = true;
      continue;
    }
    QString value;
    bool hasValue = false;
    const int eq = arg.indexOf(QLatin1Char('='));
    if (eq > 0) {
      value = arg.mid(eq + 1);
      arg = arg.left(eq);
      hasValue = true;
    }
    auto take = [&](QString& v) {
      if (hasValue) return (v = value), true;
      if (i + 1 >= args.size()) return false;
      v = args[++i];
      return true;
    };
    auto flag = [&](bool& target) {
      if (hasValue) error = QStringLiteral("%1 takes no value").arg(arg);
      target = true;
      return !hasValue;
    };
    static const QStringList kFlags = {"--recursive",  "--overwrite",    "--keep-structure",
                                       "--dry-run",    "--json",         "--quiet",
                                       "--keep-dates", "--allow-larger", "--strip"};
    static const QStringList kValued = {"--quality",    "--scale",    "--width",      "--height",
                                        "--jobs",       "--effect",   "--output-dir", "--shard",
                                        "--files-from", "--if-exists"};
    QString v;
    if (arg == QLatin1String("--")) {
      optionsDone = true;
    } else if (arg == QLatin1String("--help")) {
      out.help = true;
      return true;
    } else if (arg == QLatin1String("--version")) {
      out.version = true;
      return true;
    } else if (kFlags.contains(arg)) {
      bool* target[] = {&out.recursive,
                        &out.overwrite,
                        &out.keepStructure,
                        &out.dryRun,
                        &out.json,
                        &out.quiet,
                        &out.options.keepDates,
                        &out.options.allowLarger,
                        &out.options.stripMetadata};
      if (!flag(*target[kFlags.indexOf(arg)])) return false;
    } else if (kValued.contains(arg)) {
      if (!take(v)) {
        error = QStringLiteral("%1 needs a value").arg(arg);
        return false;
      }
      BatchOptions& o = out.options;
      if (arg == QLatin1String("--quality")) {
        if (!ToInt(v, 7, 98, o.quality)) return (error = RangeError(arg, 7, 98, v)), false;
      } else if (arg == QLatin1String("--scale")) {
        if (!ToInt(v, 1, 500, o.scale)) return (error = RangeError(arg, 1, 500, v)), false;
        scaleGiven = true;
      } else if (arg == QLatin1String("--width")) {
        if (!ToInt(v, 1, 32767, o.width)) return (error = RangeError(arg, 1, 32767, v)), false;
      } else if (arg == QLatin1String("--height")) {
        if (!ToInt(v, 1, 32767, o.height)) return (error = RangeError(arg, 1, 32767, v)), false;
      } else if (arg == QLatin1String("--jobs")) {
        if (!ToInt(v, 1, 256, out.jobs)) return (error = RangeError(arg, 1, 256, v)), false;
      } else if (arg == QLatin1String("--effect")) {
        BatchOptions::Effect effect;
        if (!ParseEffect(v, effect, error)) return false;
        o.effects.push_back(effect);
      } else if (arg == QLatin1String("--shard")) {
        if (!Shard::Parse(v, out.shard))
          return (error = QStringLiteral("--shard takes K/N with 0 <= K < N, not '%1'").arg(v)),
                 false;
      } else if (arg == QLatin1String("--files-from")) {
        if (v.isEmpty()) return (error = QStringLiteral("--files-from needs a file")), false;
        out.filesFrom = v;
      } else if (arg == QLatin1String("--if-exists")) {
        if (!ExistingOutput::Parse(v, out.ifExists))
          return (error =
                      QStringLiteral("--if-exists takes number, replace or skip, not '%1'").arg(v)),
                 false;
      } else {
        if (v.isEmpty()) return (error = QStringLiteral("--output-dir needs a folder")), false;
        out.outputDir = QDir::cleanPath(QDir(v).absolutePath()) + QLatin1Char('/');
        outputGiven = true;
      }
    } else {
      error = QStringLiteral("unknown option %1").arg(arg);
      return false;
    }
  }
  BatchOptions& o = out.options;
  o.manualSize = o.width > 0 || o.height > 0;
  if (o.manualSize && scaleGiven) {
    error = QStringLiteral("--scale cannot be combined with --width or --height");
    return false;
  }
  o.resize = o.manualSize || scaleGiven;
  if (out.overwrite == outputGiven) {
    error = QStringLiteral("give exactly one of --output-dir DIR and --overwrite");
    return false;
  }
  if (out.keepStructure && !outputGiven) {
    error = QStringLiteral("--keep-structure needs --output-dir");
    return false;
  }
  if (out.nulSeparated && out.filesFrom.isEmpty()) {
    error = QStringLiteral("-0 needs --files-from");
    return false;
  }
  if (out.inputs.isEmpty() && out.filesFrom.isEmpty()) {
    error = QStringLiteral("no INPUT given");
    return false;
  }
  return true;
}
