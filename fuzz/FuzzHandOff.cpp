// The plug-in's command-line builder fed arbitrary invocation and entry records. The line
// stays zero-ended inside its buffer, and a batch list read back the way start-up reads it
// names only paths that were selected.
#include <fuzzer/FuzzedDataProvider.h>

#include <QRegularExpression>
#include <QSet>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "core/modString.h"
#include "plugin/clsHandOff.h"

namespace {
using FuzzSupport::Check;
using HostRecords::EntryRecord;
using HostRecords::InvocationRecord;

constexpr char kBatch[] = "BatchProcess ";
constexpr char kSingle[] = "OptimizeImage ";

// Bytes as characters one to one, so a path compares exactly whatever its encoding; runs of
// "/" name the same file as one ("/" handed over as a folder comes back as "//").
QString Chars(const std::string& s) {
  static const QRegularExpression kSlashes("/{2,}");
  return QString::fromLatin1(s.data(), qsizetype(s.size())).replace(kSlashes, "/");
}

void CheckBatchList(const std::string& list, const std::vector<std::string>& paths) {
  QSet<QString> selected;
  bool allFull = true;
  for (const std::string& p : paths) {
    if (p.empty()) continue;
    selected.insert(Chars(p));
    allFull = allFull && p[0] == '/';
  }
  // The host hands over full paths; for anything else only the buffer rules are checked.
  if (!allFull) return;
  QString rest = QString::fromLatin1(list.data(), qsizetype(list.size()));
  Check(rest.contains('?'), "a batch list without any name");
  for (QString path = modString::NextPathFromList(rest, '?'); !path.isEmpty();
       path = modString::NextPathFromList(rest, '?')) {
    Check(selected.contains(Chars(path.toLatin1().toStdString())),
          "the list names a path that was not selected");
  }
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzSupport::Initialize();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const bool withModule = in.ConsumeBool();
  const std::string module = in.ConsumeRandomLengthString(300);
  const int commandIndex = in.ConsumeIntegralInRange<int>(-1, 2);
  const bool nullEntries = in.ConsumeProbability<float>() < 0.05f;
  const std::size_t count = in.ConsumeIntegralInRange<std::size_t>(0, 64);

  std::vector<std::string> paths;
  std::vector<bool> nullPath;
  std::vector<EntryRecord> entries(count);
  for (std::size_t i = 0; i < count; ++i) {
    nullPath.push_back(in.ConsumeProbability<float>() < 0.05f);
    entries[i].kind = in.ConsumeIntegralInRange<int>(-1, 3);
    // The host's paths are zero-ended: what follows a zero byte is never seen.
    paths.push_back(in.ConsumeRandomLengthString(i + 1 == count ? 40000 : 600).c_str());
  }
  for (std::size_t i = 0; i < count; ++i)
    entries[i].path = nullPath[i] ? nullptr : paths[i].c_str();
  InvocationRecord invocation{};
  invocation.commandIndex = commandIndex;
  invocation.entryCount = int(count);
  invocation.entries = nullEntries ? nullptr : entries.data();

  clsHandOff handOff(withModule ? module.c_str() : nullptr);
  const std::size_t start = handOff.Length();
  const bool built = handOff.BuildCommand(&invocation);

  const char* text = handOff.Text();
  if (std::getenv("TRIMJET_FUZZ_VERBOSE")) {  // to read a finding: what went in, what came out
    std::fprintf(stderr, "command %d, %zu entries%s\n", commandIndex, count,
                 nullEntries ? " (no array)" : "");
    for (std::size_t i = 0; i < count; ++i)
      std::fprintf(stderr, "  kind %d path %s\n", entries[i].kind,
                   nullPath[i] ? "(null)" : ("\"" + paths[i] + "\"").c_str());
    std::fprintf(stderr, "built %d: \"%s\"\n", built ? 1 : 0, text);
  }
  Check(handOff.Length() < clsCommandLine::kCapacity, "the line outgrew its buffer");
  Check(text[handOff.Length()] == '\0' && std::strlen(text) == handOff.Length(),
        "the line is not zero-ended at its length");
  Check(built || commandIndex != 1 || handOff.Length() == start, "the About command added text");
  if (!built || handOff.Length() == start) return 0;

  const std::string rest(text + start);
  if (rest.rfind(kSingle, 0) == 0) {
    // One file: its whole path, or nothing when it does not fit.
    Check(count == 1, "a single hand-off for several entries");
    const std::string path = nullPath[0] ? std::string() : paths[0];
    Check(rest == kSingle + path || rest == kSingle, "the single path was changed");
  } else {
    Check(rest.rfind(kBatch, 0) == 0, "a line with no keyword");
    std::vector<std::string> named;
    for (std::size_t i = 0; i < count; ++i)
      if (!nullPath[i]) named.push_back(paths[i]);
    CheckBatchList(rest.substr(std::strlen(kBatch)), named);
  }
  return 0;
}
