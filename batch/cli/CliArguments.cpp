#include "batch/cli/CliArguments.h"

#include <QDir>
#include <QThread>

#include "core/OptionGrammar.h"

namespace {

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

}  // namespace

QString CliArguments::Usage() {
  return QStringLiteral(
             "Usage: trimjet-cli [OPTION]... (--output-dir DIR | --overwrite) [INPUT]...\n"
             "Optimises pictures (files, or the supported pictures of folders) into JPEG files.\n"
             "  --quality Q            encoder quality 7..98 (default 70)\n"
             "  --quality auto[:LEVEL] per picture, the lowest quality whose result still looks\n"
             "                         the same at LEVEL: medium, high (the default) or\n"
             "                         visually-lossless (luma SSIM of the worst tenth at\n"
             "                         least 0.93, 0.96, 0.98; 98 when none reaches it); with\n"
             "                         --max-size, no higher than the budget allows\n"
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
             "  --progressive          write progressive JPEG files (often smaller; the same\n"
             "                         pixels as the baseline file)\n"
             "  --fast                 encode with libjpeg-turbo's plain encoder: several times\n"
             "                         faster, larger files at the same look\n"
             "  --max-size N           the highest quality up to --quality whose file takes at\n"
             "                         most N bytes; k and M count 1024 and 1024 x 1024 bytes\n"
             "                         (300k, 2M); a picture that does not fit even at quality\n"
             "                         7 fails and nothing is written for it\n"
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
             "A JPEG neither resized nor changed by an effect, at a quality not below its own\n"
             "(estimated from its tables), keeps its pixels exactly: its data is rewritten with\n"
             "better tables instead of encoded again (\"lossless\" on its line).\n"
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
    // The picture options are OptionGrammar's, which the batch wizard's workers read too.
    static const QStringList kFlags = {"--recursive", "--overwrite", "--keep-structure",
                                       "--dry-run",   "--json",      "--quiet"};
    static const QStringList kValued = {"--jobs", "--output-dir", "--shard", "--files-from",
                                        "--if-exists"};
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
      bool* target[] = {&out.recursive, &out.overwrite, &out.keepStructure,
                        &out.dryRun,    &out.json,      &out.quiet};
      if (!flag(*target[kFlags.indexOf(arg)])) return false;
    } else if (bool* option = OptionGrammar::Flag(arg, out.options)) {
      if (!flag(*option)) return false;
    } else if (kValued.contains(arg) || OptionGrammar::TakesValue(arg)) {
      if (!take(v)) {
        error = QStringLiteral("%1 needs a value").arg(arg);
        return false;
      }
      if (OptionGrammar::TakesValue(arg)) {
        if (!OptionGrammar::Read(arg, v, out.options, error)) return false;
        scaleGiven = scaleGiven || arg == QLatin1String("--scale");
      } else if (arg == QLatin1String("--jobs")) {
        if (!OptionGrammar::ReadNumber(arg, v, 1, 256, out.jobs, error)) return false;
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
  if (!OptionGrammar::Finish(out.options, scaleGiven, error)) return false;
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
