#include "cli/CliOptions.h"

#include <QStringList>
#include <algorithm>

namespace {

using G = CliOptions::Group;
using V = CliOptions::Value;

// -q is quiet, as in grep, wget and jpegoptim; the quality gets the capital.
const std::vector<CliOptions::Option> kOptions = {
    {"--recursive", 'r', nullptr, G::kRead, "take the pictures of subfolders too", nullptr,
     V::kNone},
    {"--files-from", 0, "FILE", G::kRead,
     "read INPUT names from FILE, one a line ('-': standard input)", nullptr, V::kFile},
    {"--null", '0', nullptr, G::kRead, "the names of --files-from end with NUL (find -print0)",
     nullptr, V::kNone},

    {"--quality", 'Q', "Q", G::kEncode,
     "encoder quality 7..98 (default 70), or auto[:LEVEL]: per picture, the lowest\n"
     "quality whose result still looks the same at LEVEL: medium, high (the default)\n"
     "or visually-lossless (a SSIMULACRA2 score of at least 70, 80, 90;\n"
     "98 when none reaches it); with --max-size, no higher than the budget allows",
     "auto auto:medium auto:high auto:visually-lossless", V::kWord},
    {"--max-size", 0, "N", G::kEncode,
     "the highest quality up to --quality whose file takes at most N bytes; k and M\n"
     "count 1024 and 1024 x 1024 bytes (300k, 2M); a picture that does not fit even\n"
     "at quality 7 fails and nothing is written for it",
     nullptr, V::kNumber},
    {"--scale", 0, "PCT", G::kEncode, "size in percent 1..500 (default 100)", nullptr,
     V::kNumber},
    {"--width", 0, "W", G::kEncode,
     "width in pixels 1..32767; alone, the height keeps the aspect ratio", nullptr, V::kNumber},
    {"--height", 0, "H", G::kEncode,
     "height in pixels 1..32767; alone, the width keeps the aspect ratio", nullptr, V::kNumber},
    {"--effect", 0, "NAME[=LEVEL]", G::kEncode,
     "apply an effect, in the order given; names in any case, levels in range\n"
     "(the default in brackets):",
     nullptr, V::kWord},
    {"--strip", 0, nullptr, G::kEncode,
     "leave out the metadata (EXIF with date, camera and GPS, XMP, IPTC) that is\n"
     "otherwise copied into every JPEG",
     nullptr, V::kNone},
    {"--tuned", 0, nullptr, G::kEncode,
     "Trimjet's own encoder: perceptual tables, trellis quantisation and the chroma\n"
     "resolution chosen per picture; about 10 % fewer bytes at the same look, about\n"
     "3.5 times the encoding time",
     nullptr, V::kNone},
    {"--progressive", 0, nullptr, G::kEncode,
     "write progressive JPEG files (often smaller; the same pixels as baseline)", nullptr,
     V::kNone},
    {"--allow-larger", 0, nullptr, G::kEncode,
     "write a JPEG's result even when it is not smaller (by default the JPEG is kept\n"
     "as it is, or copied unchanged to the output folder, and reported as kept)",
     nullptr, V::kNone},

    {"--output-dir", 'o', "DIR", G::kWrite,
     "write into DIR (created when missing); '-' writes the JPEG of the one INPUT\n"
     "to standard output (the result line then goes to standard error)",
     nullptr, V::kFolder},
    {"--overwrite", 0, nullptr, G::kWrite,
     "replace JPEG sources; write NAME.jpg beside other pictures (a source is never\n"
     "replaced without it, and a JPEG whose data ends early never)",
     nullptr, V::kNone},
    {"--keep-structure", 0, nullptr, G::kWrite,
     "recreate each picture's folders below the INPUT folder it was found in, with\n"
     "--output-dir (files named directly: below the current folder when named by a\n"
     "relative name, else below /)",
     nullptr, V::kNone},
    {"--if-exists", 0, "RULE", G::kWrite,
     "when another file lies at an output name: number (write \"a (2).jpg\", the\n"
     "default), replace, or skip the picture without reading it (a rerun does only\n"
     "what is left)",
     "number replace skip", V::kWord},
    {"--keep-dates", 0, nullptr, G::kWrite,
     "a written file keeps its source's modification time", nullptr, V::kNone},
    {"--dry-run", 'n', nullptr, G::kWrite, "print what would be written where; write nothing",
     nullptr, V::kNone},

    {"--json", 0, nullptr, G::kPrint,
     "one JSON object per picture on standard output, then a summary object\n"
     "(with \"shard\": \"K/N\"); the human lines are dropped",
     nullptr, V::kNone},
    {"--quiet", 'q', nullptr, G::kPrint,
     "no result lines and no progress bar; failures still go to standard error", nullptr,
     V::kNone},

    {"--jobs", 'j', "N", G::kFleet,
     "pictures processed at once, 1..256 (default: the number of cores)", nullptr, V::kNumber},
    {"--shard", 0, "K/N", G::kFleet,
     "process only part K of N (K = 0..N-1): a picture belongs to part\n"
     "FNV-1a-64(path as given, UTF-8) mod N, so N machines given one list each do\n"
     "every picture exactly once",
     nullptr, V::kWord},

    {"--help", 'h', nullptr, G::kInfo, "this text", nullptr, V::kNone},
    {"--version", 'V', nullptr, G::kInfo, "the version", nullptr, V::kNone},
};

int Distance(const QString& a, const QString& b) {
  std::vector<int> row(std::size_t(b.size()) + 1);
  for (std::size_t j = 0; j < row.size(); ++j) row[j] = int(j);
  for (int i = 1; i <= a.size(); ++i) {
    int diagonal = row[0];
    row[0] = i;
    for (int j = 1; j <= b.size(); ++j) {
      const int above = row[std::size_t(j)];
      row[std::size_t(j)] = std::min({above + 1, row[std::size_t(j) - 1] + 1,
                                      diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row.back();
}

}  // namespace

const std::vector<CliOptions::Option>& CliOptions::All() { return kOptions; }

const std::vector<CliOptions::Group>& CliOptions::Groups() {
  static const std::vector<Group> groups = {G::kRead,  G::kEncode, G::kWrite,
                                            G::kPrint, G::kFleet,  G::kInfo};
  return groups;
}

QString CliOptions::Title(Group group) {
  switch (group) {
    case G::kRead:
      return QStringLiteral("What to read");
    case G::kEncode:
      return QStringLiteral("How to encode");
    case G::kWrite:
      return QStringLiteral("Where to write");
    case G::kPrint:
      return QStringLiteral("What to print");
    case G::kFleet:
      return QStringLiteral("Jobs and fleets");
    case G::kInfo:
      return QStringLiteral("About the program");
  }
  return QString();
}

const CliOptions::Option* CliOptions::Find(const QString& name) {
  for (const Option& o : kOptions)
    if (name == QLatin1String(o.name)) return &o;
  return nullptr;
}

const CliOptions::Option* CliOptions::FindShort(QChar letter) {
  for (const Option& o : kOptions)
    if (o.shortName && letter == QLatin1Char(o.shortName)) return &o;
  return nullptr;
}

QString CliOptions::Closest(const QString& typo) {
  if (typo.size() < 3) return QString();
  QString best;
  int bestDistance = 3;
  QStringList starting;
  for (const Option& o : kOptions) {
    const QString name = QLatin1String(o.name);
    if (name.startsWith(typo)) starting << name;
    const int d = Distance(typo, name);
    if (d < bestDistance) bestDistance = d, best = name;
  }
  if (best.isEmpty() && starting.size() == 1) return starting.first();
  return best;
}
