// Stand-in for Trimjet.dat in the plug-in tests: records how it was started in files beside
// itself. argv-<pid> holds each argument followed by a zero byte and appears whole (renamed
// into place); state-<pid>, written first, lists the open descriptors and signal masks.
#include <dirent.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

int main(int argc, char** argv) {
  char self[4096] = {};
  if (readlink("/proc/self/exe", self, sizeof self - 1) <= 0) return 2;
  std::string folder(self);
  folder.resize(folder.rfind('/') + 1);
  const std::string pid = std::to_string(getpid());

  std::ostringstream state;
  state << "Fds:";
  if (DIR* dir = opendir("/proc/self/fd")) {
    const int own = dirfd(dir);
    while (dirent* e = readdir(dir)) {
      if (e->d_name[0] == '.' || std::atoi(e->d_name) == own) continue;
      state << ' ' << e->d_name;
    }
    closedir(dir);
  }
  state << '\n';
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("SigBlk:", 0) == 0 || line.rfind("SigIgn:", 0) == 0) state << line << '\n';
  }
  std::ofstream(folder + "state-" + pid) << state.str();

  const std::string temp = folder + ".argv-" + pid;
  {
    std::ofstream out(temp, std::ios::binary);
    for (int i = 0; i < argc; ++i) out << argv[i] << '\0';
  }
  return std::rename(temp.c_str(), (folder + "argv-" + pid).c_str()) == 0 ? 0 : 3;
}
