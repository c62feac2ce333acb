// The plug-in's entry points: the records the host reads, and the hand-off to the program.
// Everything here runs on the host's thread; nothing is reported back to the host.
#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "plugin/HostRecords.h"
#include "plugin/PlugInExports.h"
#include "plugin/clsHandOff.h"
#include "plugin/modPlugInStrings.h"

namespace {

using namespace HostRecords;
using namespace modPlugInStrings;

// Zero-filled at load, filled by CXP_Init.
DescriptionRecord g_description;
CommandRecordArea g_commands;

// The plug-in's own path as loaded, made absolute against the folder current at load time.
char* g_modulePath = nullptr;

constexpr const char* kTypeCodes[] = {"BMP", "JPEG", "JPG",  "GIF",  "PNG",  "TIF", "TIFF",
                                      "PCX", "TGA",  "WEBP", "HEIC", "HEIF", "AVIF"};

__attribute__((constructor)) void RememberModulePath() {
  Dl_info info;
  if (dladdr(reinterpret_cast<void*>(&RememberModulePath), &info) == 0 ||
      info.dli_fname == nullptr || *info.dli_fname == '\0') {
    return;
  }
  const char* name = info.dli_fname;
  if (name[0] == '/') {
    g_modulePath = strdup(name);
    return;
  }
  while (name[0] == '.' && name[1] == '/') name += 2;
  char* cwd = getcwd(nullptr, 0);
  if (cwd == nullptr) return;
  const std::size_t a = std::strlen(cwd);
  const std::size_t b = std::strlen(name);
  g_modulePath = static_cast<char*>(std::malloc(a + 1 + b + 1));
  if (g_modulePath != nullptr) {
    std::memcpy(g_modulePath, cwd, a);
    g_modulePath[a] = '/';
    std::memcpy(g_modulePath + a + 1, name, b + 1);
  }
  std::free(cwd);
}

__attribute__((destructor)) void ForgetModulePath() {
  std::free(g_modulePath);
  g_modulePath = nullptr;
}

void FillRecords() {
  std::memset(&g_description, 0, sizeof g_description);
  std::memset(&g_commands, 0, sizeof g_commands);
  g_description.version = 110;
  LoadPlugInString(kPlugInName, g_description.name, sizeof g_description.name);
  g_description.commandCount = 1;
  g_description.commands = &g_commands;

  CommandRecord& c = g_commands.records[0];
  c.kind = 5;
  c.flags = 256;
  std::size_t slot = 0;
  for (const char* code : kTypeCodes) {
    std::memcpy(c.typeCodes[slot++], code, std::strlen(code));
  }
  LoadPlugInString(kMenuText, c.menuText, sizeof c.menuText);
  LoadPlugInString(kButtonText, c.buttonText, sizeof c.buttonText);
  LoadPlugInString(kHint, c.hint, sizeof c.hint);
  c.count = 1;
  LoadPlugInString(kShortText, c.shortText, sizeof c.shortText);
  c.style = 4;
}

}  // namespace

extern "C" {

std::int32_t CXP_Init(std::int32_t) {
  FillRecords();
  return 0;
}

std::int32_t CXP_GetPlugInInfo(DescriptionRecord** info) {
  if (info != nullptr) *info = &g_description;
  return 0;
}

std::int32_t CXP_InvokeCommand(const InvocationRecord* invocation, std::int32_t) {
  clsHandOff handOff(g_modulePath);
  if (handOff.BuildCommand(invocation)) handOff.Start();
  return 0;
}

std::int32_t CXP_ShowPlugInDialog(std::int32_t) {
  clsHandOff handOff(g_modulePath);
  handOff.Start();
  return 0;
}

}  // extern "C"
