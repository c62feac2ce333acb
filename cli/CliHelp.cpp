#include "cli/CliHelp.h"

#include <QStringList>

#include "cli/CliOptions.h"
#include "engine/EffectCatalog.h"

namespace {

constexpr int kColumn = 28;  // where the options' texts start in --help

const char* const kSynopsis[] = {
    "trimjet-cli [OPTION]... (-o DIR | --overwrite) INPUT...",
    "trimjet-cli [OPTION]... -o - (FILE | -)",
};

const char* const kInputs =
    "INPUT is a picture file or a folder of pictures (JPEG, GIF, BMP, PCX, PNG, TGA,\n"
    "TIFF, HEIC/HEIF, WebP, AVIF). '-' as the only INPUT reads one picture from\n"
    "standard input. After '--' every argument is an INPUT, even one starting with\n"
    "'-'. Short options may be joined (-rn); their value may follow (-j2, -j 2).";

// Command and what it does, for --help and the manual's EXAMPLES.
const std::pair<const char*, const char*> kExamples[] = {
    {"trimjet-cli -Q 60 --scale 50 -o web/ photo.png holiday/", "a file and a folder"},
    {"trimjet-cli -r --keep-structure -o out/ archive/", "out/2019/a.jpg ..."},
    {"trimjet-cli --overwrite --effect sharpen --effect rotate=90 scans/", "in place"},
    {"find . -name '*.png' -print0 | trimjet-cli --files-from - -0 -o out/",
     "names from a pipe"},
    {"curl -s https://example.org/a.png | trimjet-cli - -o - > small.jpg", "in a pipe"},
    {"trimjet-cli -n -r -o out/ archive/", "what would be written where"},
    {"trimjet-cli --shard 3/16 --if-exists skip --files-from list -o out/",
     "shard 3 of 16"},
};

const char* const kStatus =
    "Exit status: 0 every picture written, kept or skipped; 1 some pictures failed or\n"
    "none was found (running again will not help them); 2 a usage error; 3 the run\n"
    "could not go on (the output folder cannot be made or written, the disk is full,\n"
    "a list cannot be read): worth running again once that is mended.";

// "Blur=0..255 (0)" for --effect; direct effects stand alone.
QStringList EffectItems() {
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
  return items;
}

// An option's text in lines of at most width characters; --effect ends with the effects.
QStringList HelpLines(const CliOptions::Option& o, int width) {
  QStringList words = QString::fromLatin1(o.help).simplified().split(QLatin1Char(' '));
  if (QLatin1String(o.name) == QLatin1String("--effect")) {
    const QStringList effects = EffectItems();
    for (const QString& item : effects)
      words << item + (item == effects.last() ? "" : ",");
  }
  QStringList lines{QString()};
  for (const QString& word : words) {
    if (!lines.last().isEmpty() && lines.last().size() + word.size() + 1 > width) lines << "";
    lines.last() += (lines.last().isEmpty() ? "" : " ") + word;
  }
  return lines;
}

QString Head(const CliOptions::Option& o) {
  QString head = o.shortName ? QStringLiteral("-%1, ").arg(QLatin1Char(o.shortName))
                             : QStringLiteral("    ");
  head += QLatin1String(o.name);
  if (o.valueName) head += QLatin1Char(' ') + QLatin1String(o.valueName);
  return head;
}

// Man markup: a backslash and a leading dot or quote are special.
QString Roff(QString text) {
  text.replace(QLatin1Char('\\'), QLatin1String("\\e")).replace(QLatin1Char('-'), "\\-");
  if (text.startsWith(QLatin1Char('.')) || text.startsWith(QLatin1Char('\'')))
    text.prepend(QLatin1String("\\&"));
  return text;
}

}  // namespace

QString CliHelp::Usage() {
  QString text = QStringLiteral("Usage: %1\n   or: %2\n").arg(kSynopsis[0], kSynopsis[1]);
  text += "Optimises pictures into smaller JPEG files.\n" + QString(kInputs) + "\n";
  for (CliOptions::Group group : CliOptions::Groups()) {
    text += "\n" + CliOptions::Title(group) + ":\n";
    for (const CliOptions::Option& o : CliOptions::All()) {
      if (o.group != group) continue;
      const QString head = "  " + Head(o);
      const QStringList lines = HelpLines(o, 80 - kColumn);
      // A long head stands on its own line; the text starts in the column after it.
      text += head.size() < kColumn ? head.leftJustified(kColumn) + lines.first() + "\n"
                                    : head + "\n" + QString(kColumn, ' ') + lines.first() + "\n";
      for (int i = 1; i < lines.size(); ++i) text += QString(kColumn, ' ') + lines[i] + "\n";
    }
  }
  text += "\nEach picture gets a line (source -> destination: bytes before -> after); the\n"
          "last line counts the pictures written, kept, skipped and failed. A JPEG that\n"
          "is neither resized nor changed keeps its pixels exactly (\"lossless\").\n";
  text += "\nExamples:\n";
  for (const auto& [command, what] : kExamples)
    text += QStringLiteral("  # %1\n  %2\n").arg(what, command);
  return text + "\n" + kStatus + "\n";
}

QString CliHelp::Version() {
  return QStringLiteral("trimjet-cli (Trimjet) %1.%2\n")
      .arg(TRIMJET_VERSION_MAJOR)
      .arg(TRIMJET_VERSION_MINOR);
}

QString CliHelp::UsageError(const QString& reason) {
  return QStringLiteral("trimjet-cli: %1\nTry 'trimjet-cli --help' for more information.\n")
      .arg(reason);
}

QString CliHelp::Manual() {
  QString m = QStringLiteral(".TH TRIMJET-CLI 1 \"\" \"Trimjet %1.%2\" \"User Commands\"\n")
                  .arg(TRIMJET_VERSION_MAJOR)
                  .arg(TRIMJET_VERSION_MINOR);
  m += ".SH NAME\ntrimjet\\-cli \\- optimise pictures into smaller JPEG files\n.SH SYNOPSIS\n";
  for (const char* line : kSynopsis) m += ".B " + Roff(QString(line)) + "\n.br\n";
  m += ".SH DESCRIPTION\n" + Roff(QString(kInputs)).replace('\n', ' ') + "\n";
  for (CliOptions::Group group : CliOptions::Groups()) {
    m += ".SS " + CliOptions::Title(group) + "\n";
    for (const CliOptions::Option& o : CliOptions::All()) {
      if (o.group != group) continue;
      m += ".TP\n.B " + Roff(Head(o).trimmed()) + "\n" + Roff(HelpLines(o, 1 << 20).join(' ')) + "\n";
    }
  }
  m += ".SH EXIT STATUS\n" + Roff(QString(kStatus)).replace('\n', ' ') + "\n";
  m += ".SH EXAMPLES\n";
  for (const auto& [command, what] : kExamples)
    m += ".TP\n" + Roff(QString(what)) + "\n.B " + Roff(QString(command)) + "\n";
  m += ".SH SEE ALSO\n.BR trimjet (1),\n.BR parallel (1)\n";
  return m;
}
