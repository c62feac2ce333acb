#pragma once
// Where a test finds the source tree and the built runtime files, and a private
// settings folder so that no test touches the real user's configuration.
#include <QString>

namespace TestEnv {
QString SourceDir();  // the repository root
QString BinDir();     // bin/ of the build folder (Trimjet, Trimjet.hpx, ...)
QString ConfigDir();  // this test process's private XDG_CONFIG_HOME
void IsolateUserFolders();  // called once by the test main before anything else
}  // namespace TestEnv
