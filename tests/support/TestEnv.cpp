#include "TestEnv.h"

#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>

namespace {
QTemporaryDir& Home() {
  static QTemporaryDir dir(QDir::tempPath() + "/trimjet-test-XXXXXX");
  return dir;
}
QString FromEnv(const char* name, const char* fallback) {
  const char* v = std::getenv(name);
  return QString::fromUtf8(v && *v ? v : fallback);
}
}  // namespace

namespace TestEnv {
QString SourceDir() { return FromEnv("TRIMJET_SOURCE_DIR", TRIMJET_TEST_SOURCE_DIR); }
QString BinDir() { return FromEnv("TRIMJET_BIN_DIR", TRIMJET_TEST_BIN_DIR); }
QString ConfigDir() { return Home().path() + "/config"; }

void IsolateUserFolders() {
  const QString root = Home().path();
  for (const char* sub : {"config", "data", "cache"}) QDir(root).mkpath(sub);
  qputenv("XDG_CONFIG_HOME", (root + "/config").toUtf8());
  qputenv("XDG_DATA_HOME", (root + "/data").toUtf8());
  qputenv("XDG_CACHE_HOME", (root + "/cache").toUtf8());
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
}
}  // namespace TestEnv
