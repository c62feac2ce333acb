#include "PlugInFolder.h"

#include <dlfcn.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>

#include "TestEnv.h"

PlugInFolder::PlugInFolder(bool withLauncher) : dir_(QDir::tempPath() + "/trimjet plugin XXXXXX") {
  const QString bin = TestEnv::BinDir();
  QFile::copy(bin + "/Trimjet.hpx", Path() + "/Trimjet.hpx");
  QFile::copy(TRIMJET_ARGV_RECORDER, Path() + "/Trimjet.dat");
  if (withLauncher) QFile::copy(bin + "/trimjet-handoff", Path() + "/trimjet-handoff");
}

PlugInFolder::~PlugInFolder() {
  if (module_ != nullptr) dlclose(module_);
}

bool PlugInFolder::Load(const QString& pluginPath) {
  const QString path = pluginPath.isEmpty() ? Path() + "/Trimjet.hpx" : pluginPath;
  module_ = dlopen(path.toUtf8().constData(), RTLD_NOW | RTLD_LOCAL);
  if (module_ == nullptr) return false;
  init = reinterpret_cast<PlugInExports::InitFn>(dlsym(module_, "CXP_Init"));
  getPlugInInfo =
      reinterpret_cast<PlugInExports::GetPlugInInfoFn>(dlsym(module_, "CXP_GetPlugInInfo"));
  invokeCommand =
      reinterpret_cast<PlugInExports::InvokeCommandFn>(dlsym(module_, "CXP_InvokeCommand"));
  showPlugInDialog =
      reinterpret_cast<PlugInExports::ShowPlugInDialogFn>(dlsym(module_, "CXP_ShowPlugInDialog"));
  return init && getPlugInInfo && invokeCommand && showPlugInDialog;
}

QList<PlugInFolder::Start> PlugInFolder::WaitForStarts(int count, int timeoutMs) const {
  const QDeadlineTimer deadline(timeoutMs);
  QStringList names;
  do {
    names = QDir(Path()).entryList({"argv-*"}, QDir::Files, QDir::Name);
    if (names.size() >= count) break;
    QThread::msleep(20);
  } while (!deadline.hasExpired());

  QList<Start> starts;
  for (const QString& name : names) {
    QFile argvFile(Path() + "/" + name);
    QFile stateFile(Path() + "/state-" + name.mid(5));
    if (!argvFile.open(QIODevice::ReadOnly) || !stateFile.open(QIODevice::ReadOnly)) continue;
    QList<QByteArray> argv = argvFile.readAll().split('\0');
    argv.removeLast();  // every argument ends in a zero byte
    starts.append({argv, stateFile.readAll()});
  }
  return starts;
}
