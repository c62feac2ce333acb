#pragma once
// Runs the built trimjet-cli the way a script does and keeps what it printed.
#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

#include "TestEnv.h"

struct Outcome {
  int exitCode = -1;
  QStringList lines;  // standard output
  QByteArray out;     // standard output as it came
  QString err;
};

// asOtherUser: when the tests run as root, run as nobody, who cannot read what root locked.
// outputFile: standard output goes there instead.
inline Outcome RunCli(const QStringList& args, const QByteArray& input = QByteArray(),
                      bool asOtherUser = false, const QString& outputFile = QString()) {
  QString program = TestEnv::BinDir() + "/trimjet-cli";
  QStringList all = args;
  if (asOtherUser && geteuid() == 0) {
    all = QStringList{"--reuid=65534", "--regid=65534", "--clear-groups", program} + args;
    program = "setpriv";
  }
  QProcess p;
  if (!outputFile.isEmpty()) p.setStandardOutputFile(outputFile);
  p.start(program, all);
  p.write(input);
  p.closeWriteChannel();
  Outcome o;
  if (!p.waitForFinished(120000)) return o;
  o.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  o.out = p.readAllStandardOutput();
  o.lines = QString::fromUtf8(o.out).split('\n', Qt::SkipEmptyParts);
  o.err = QString::fromUtf8(p.readAllStandardError());
  return o;
}

inline QString Fixture(const QString& name) {
  return TestEnv::SourceDir() + "/tests/engine/fixtures/" + name;
}

inline QByteArray Bytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
