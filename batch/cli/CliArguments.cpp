#include "CliArguments.h"

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

bool ParseEffect(const QString& text, BatchOptions::Effect& effect, QString& error) {
  // The last "=" splits: names hold blanks but no "=".
  const int eq = text.lastIndexOf(QLatin1Char('='));
  const QString name = eq < 0 ? text : text.left(eq);
  effect.entry = EffectCatalog::Find(name);
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
             "Usage: trimjet-cli [--quality Q] [--scale PCT | --width W [--height H] | --height "
             "H]\n"
             "                   [--effect NAME[=LEVEL]]... [--strip] [--recursive] [--jobs N]\n"
             "                   (--output-dir DIR | --overwrite) INPUT...\n"
             "Optimises pictures (files, or the supported pictures of folders) into JPEG files.\n"
             "  --quality Q         encoder quality 7..98 (default 70)\n"
             "  --scale PCT         size in percent 1..500 (default 100)\n"
             "  --width W, --height H  size in pixels 1..32767; one alone keeps the aspect ratio\n"
             "  --effect NAME[=LEVEL]  apply an effect, in the order given: %1\n"
             "  --strip             leave out the metadata (EXIF with date, camera and GPS, XMP,\n"
             "                      IPTC) that is otherwise copied into every JPEG\n"
             "  --recursive         take the pictures of subfolders too\n"
             "  --jobs N            pictures processed at once (default: the number of cores)\n"
             "  --output-dir DIR    write into DIR (created when missing)\n"
             "  --overwrite         replace JPEG sources; write NAME.jpg beside other pictures\n"
             "Prints one line per picture (source -> destination: bytes before -> after) and the\n"
             "compression ratio. Exit status: 0 all written, 1 some failed, 2 usage error.\n")
      .arg(EffectCatalog::SortedNames().join(QStringLiteral(", ")));
}

bool CliArguments::Parse(const QStringList& args, CliArguments& out, QString& error) {
  out = CliArguments();
  out.jobs = std::max(1, QThread::idealThreadCount());
  bool scaleGiven = false, outputGiven = false, optionsDone = false;
  for (int i = 0; i < args.size(); ++i) {
    QString arg = args[i];
    if (optionsDone || !arg.startsWith(QLatin1String("--"))) {
      out.inputs << arg;
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
    auto flag = [&] {
      if (hasValue) error = QStringLiteral("%1 takes no value").arg(arg);
      return !hasValue;
    };
    QString v;
    if (arg == QLatin1String("--")) {
      optionsDone = true;
    } else if (arg == QLatin1String("--help")) {
      out.help = true;
      return true;
    } else if (arg == QLatin1String("--recursive")) {
      if (!flag()) return false;
      out.recursive = true;
    } else if (arg == QLatin1String("--overwrite")) {
      if (!flag()) return false;
      out.overwrite = true;
    } else if (arg == QLatin1String("--strip")) {
      if (!flag()) return false;
      out.options.stripMetadata = true;
    } else if (arg == QLatin1String("--quality") || arg == QLatin1String("--scale") ||
               arg == QLatin1String("--width") || arg == QLatin1String("--height") ||
               arg == QLatin1String("--jobs") || arg == QLatin1String("--effect") ||
               arg == QLatin1String("--output-dir")) {
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
  if (out.inputs.isEmpty()) {
    error = QStringLiteral("no INPUT given");
    return false;
  }
  return true;
}
