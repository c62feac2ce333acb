#pragma once
// Runs the built trimjet-cli the way a script does and keeps what it printed.
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

inline Outcome RunCli(const QStringList& args, const QByteArray& input = QByteArray()) {
  QProcess p;
  p.start(TestEnv::BinDir() + "/trimjet-cli", args);
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
