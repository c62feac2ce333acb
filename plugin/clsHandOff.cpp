#include "plugin/clsHandOff.h"

#include <signal.h>
#include <spawn.h>
#include <sys/types.h>

#include <cstring>

extern char** environ;

namespace {

using HostRecords::EntryRecord;

// Bytes of the folder part of path: up to and including the last "/" found searching
// backwards from the second-to-last character, so a path ending in "/" gives its parent.
std::size_t FolderLength(const char* path, std::size_t len) {
  if (len < 2) return 0;
  for (std::size_t i = len - 1; i-- > 0;) {
    if (path[i] == '/') return i + 1;
  }
  return 0;
}

const char* PathOf(const EntryRecord& e) { return e.path != nullptr ? e.path : ""; }

// The first entry that names anything; empty paths take no part in the list.
const EntryRecord* FirstNamed(const EntryRecord* entries, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    if (*PathOf(entries[i]) != '\0') return &entries[i];
  }
  return nullptr;
}

// The folder all entries share, ending in "/". For one folder this is the first entry's
// folder; entries from elsewhere make it shorter, so that folder + name is still each path.
// It never holds a "?", which would read as a list separator.
std::size_t CommonFolderLength(const char* first, const EntryRecord* entries, std::size_t count) {
  std::size_t common = FolderLength(first, std::strlen(first));
  for (std::size_t i = 0; i < count && common > 0; ++i) {
    const char* path = PathOf(entries[i]);
    if (*path == '\0') continue;
    const std::size_t folder = FolderLength(path, std::strlen(path));
    const std::size_t limit = folder < common ? folder : common;
    std::size_t same = 0;
    while (same < limit && first[same] == path[same]) ++same;
    while (same > 0 && first[same - 1] != '/') --same;
    common = same;
  }
  const void* mark = std::memchr(first, '?', common);
  if (mark != nullptr) {
    common = FolderLength(first, static_cast<const char*>(mark) - first + 1);
  }
  return common;
}

}  // namespace

clsHandOff::clsHandOff(const char* modulePath) {
  if (modulePath == nullptr) return;
  const char* slash = std::strrchr(modulePath, '/');
  if (slash == nullptr) return;
  const std::size_t folder = slash - modulePath + 1;
  if (!line_.Fits(folder + std::strlen(kProgramFile))) return;
  line_.Append(modulePath, folder);
  line_.Append(kProgramFile);
  programLength_ = line_.Length();
  line_.Append(" ", 1);
  restStart_ = line_.Length();
}

bool clsHandOff::BuildCommand(const HostRecords::InvocationRecord* invocation) {
  if (invocation == nullptr) return false;
  if (invocation->commandIndex == 1) return true;
  if (invocation->commandIndex != 0) return false;
  if (invocation->entryCount <= 0 || invocation->entries == nullptr) return false;
  const EntryRecord* entries = invocation->entries;
  const std::size_t count = static_cast<std::size_t>(invocation->entryCount);
  if (count == 1 && entries[0].kind != 0 && entries[0].kind != 1) {
    AppendSingle(entries[0].path);
    return true;
  }
  return AppendBatch(entries, count);
}

void clsHandOff::AppendSingle(const char* path) {
  line_.Append("OptimizeImage ");
  line_.Append(path);
}

bool clsHandOff::AppendBatch(const EntryRecord* entries, std::size_t count) {
  const EntryRecord* named = FirstNamed(entries, count);
  if (named == nullptr) return false;
  const char* first = PathOf(*named);
  const std::size_t folder = CommonFolderLength(first, entries, count);
  line_.Append("BatchProcess ");
  line_.Append(first, folder);
  bool anyName = false;
  for (std::size_t i = 0; i < count; ++i) {
    const char* path = PathOf(entries[i]);
    const std::size_t len = std::strlen(path);
    // An empty name would make the program read the bare folder, and a "?" would split
    // the name in two: neither can be passed in the list.
    if (len <= folder || std::memchr(path + folder, '?', len - folder) != nullptr) continue;
    // "?" and its name go in together: a separator without its name must never be sent.
    if (!line_.Fits(1 + len - folder)) continue;
    line_.Append("?", 1);
    line_.Append(path + folder, len - folder);
    anyName = true;
  }
  // Without any name the list would read as the whole folder, which was not selected.
  return anyName;
}

bool clsHandOff::Start() {
  if (programLength_ == 0) return false;
  const bool hasRest = restStart_ > 0 && line_.Length() > restStart_;
  line_.Terminate(programLength_);
  char* argv[3] = {const_cast<char*>(Text()), nullptr, nullptr};
  if (hasRest) argv[1] = const_cast<char*>(Text() + restStart_);

  // The program must not inherit the host's open files, blocked signals or ignored signals.
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attr;
  if (posix_spawn_file_actions_init(&actions) != 0) return false;
  if (posix_spawnattr_init(&attr) != 0) {
    posix_spawn_file_actions_destroy(&actions);
    return false;
  }
  sigset_t none;
  sigset_t all;
  sigemptyset(&none);
  sigfillset(&all);
  sigdelset(&all, SIGKILL);
  sigdelset(&all, SIGSTOP);
  bool ok = posix_spawn_file_actions_addclosefrom_np(&actions, 3) == 0 &&
            posix_spawnattr_setsigmask(&attr, &none) == 0 &&
            posix_spawnattr_setsigdefault(&attr, &all) == 0 &&
            posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF) == 0;
  pid_t pid = 0;
  if (ok) ok = posix_spawn(&pid, argv[0], &actions, &attr, argv, environ) == 0;
  posix_spawnattr_destroy(&attr);
  posix_spawn_file_actions_destroy(&actions);
  return ok;
}
