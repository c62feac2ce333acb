#pragma once
// A throw-away folder set up as an installation would be: a copy of the built Trimjet.hpx
// (and optionally trimjet-handoff) beside a stand-in Trimjet.dat that records its starts.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QTemporaryDir>

#include "plugin/PlugInExports.h"

class PlugInFolder {
 public:
  struct Start {
    QList<QByteArray> argv;
    QByteArray state;  // open descriptors and signal masks of the started program
  };

  explicit PlugInFolder(bool withLauncher = false);
  ~PlugInFolder();

  QString Path() const { return dir_.path(); }  // without a trailing "/"
  QByteArray Program() const { return (Path() + "/Trimjet.dat").toUtf8(); }

  // dlopen()s the copied plug-in (by name, relative to the current folder when relative).
  bool Load(const QString& pluginPath = QString());
  PlugInExports::InitFn init = nullptr;
  PlugInExports::GetPlugInInfoFn getPlugInInfo = nullptr;
  PlugInExports::InvokeCommandFn invokeCommand = nullptr;
  PlugInExports::ShowPlugInDialogFn showPlugInDialog = nullptr;

  // Waits (up to timeoutMs) until at least count starts are recorded; returns all seen.
  QList<Start> WaitForStarts(int count, int timeoutMs = 10000) const;

 private:
  QTemporaryDir dir_;
  void* module_ = nullptr;
};
