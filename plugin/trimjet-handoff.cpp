// trimjet-handoff PATH...: offers the plug-in's "Optimize" command on Linux desktops. It loads
// Trimjet.hpx from its own folder and calls it as a host would, so the command lines the
// program receives always come from the plug-in's own code.
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "plugin/HostRecords.h"
#include "plugin/PlugInExports.h"

namespace {

using HostRecords::EntryRecord;
using HostRecords::InvocationRecord;

constexpr std::int32_t kKindFolder = 1;
constexpr std::int32_t kKindFile = 2;

std::string OwnFolder() {
  std::string path(4096, '\0');
  const ssize_t n = readlink("/proc/self/exe", path.data(), path.size());
  if (n <= 0 || static_cast<std::size_t>(n) >= path.size()) return ".";
  path.resize(static_cast<std::size_t>(n));
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : path.substr(0, slash);
}

// The host hands over full paths; a relative argument is taken from the current folder.
std::string FullPath(const char* arg) {
  std::string path(arg);
  if (path.empty() || path[0] == '/') return path;
  std::string cwd(4096, '\0');
  if (getcwd(cwd.data(), cwd.size()) == nullptr) return path;
  cwd.resize(cwd.find('\0'));
  return cwd == "/" ? "/" + path : cwd + "/" + path;
}

template <class Fn>
Fn Symbol(void* module, const char* name) {
  return reinterpret_cast<Fn>(dlsym(module, name));
}

}  // namespace

int main(int argc, char** argv) {
  const std::string pluginPath = OwnFolder() + "/Trimjet.hpx";
  void* module = dlopen(pluginPath.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) {
    std::fprintf(stderr, "trimjet-handoff: cannot load %s: %s\n", pluginPath.c_str(), dlerror());
    return 1;
  }
  auto init = Symbol<PlugInExports::InitFn>(module, "CXP_Init");
  auto invoke = Symbol<PlugInExports::InvokeCommandFn>(module, "CXP_InvokeCommand");
  auto dialog = Symbol<PlugInExports::ShowPlugInDialogFn>(module, "CXP_ShowPlugInDialog");
  if (init == nullptr || invoke == nullptr || dialog == nullptr) {
    std::fprintf(stderr, "trimjet-handoff: %s lacks the plug-in entry points\n",
                 pluginPath.c_str());
    return 1;
  }
  init(0);
  if (argc < 2) {
    dialog(0);
    return 0;
  }

  std::vector<std::string> paths;
  for (int i = 1; i < argc; ++i) paths.push_back(FullPath(argv[i]));
  std::vector<EntryRecord> entries(paths.size(), EntryRecord{});
  for (std::size_t i = 0; i < paths.size(); ++i) {
    struct stat st;
    const bool folder = stat(paths[i].c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    entries[i].path = paths[i].c_str();
    entries[i].kind = folder ? kKindFolder : kKindFile;
    // A list of several paths uses "?" between them, so such a path cannot be passed.
    const bool listed = paths.size() > 1 || folder;
    if (listed && paths[i].find('?') != std::string::npos) {
      std::fprintf(stderr, "trimjet-handoff: left out (its name holds a '?'): %s\n",
                   paths[i].c_str());
    }
  }
  InvocationRecord invocation{};
  invocation.commandIndex = 0;
  invocation.entryCount = static_cast<std::int32_t>(entries.size());
  invocation.entries = entries.data();
  invoke(&invocation, 0);
  return 0;
}
