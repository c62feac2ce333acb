#include "FuzzSupport.h"

#include <glib.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace FuzzSupport {
namespace {
QTemporaryDir& Scratch() {
  static QTemporaryDir dir(QDir::tempPath() + "/trimjet-fuzz-XXXXXX");
  return dir;
}
}  // namespace

void Initialize() {
  static bool done = false;
  if (done) return;
  done = true;
  // Damaged pictures make libvips warn on every run; libFuzzer's own output matters here.
  g_log_set_handler(
      "VIPS", GLogLevelFlags(G_LOG_LEVEL_WARNING | G_LOG_LEVEL_MESSAGE),
      [](const gchar*, GLogLevelFlags, const gchar*, gpointer) {}, nullptr);
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  // A target that needs widgets makes its own QApplication first.
  if (!QCoreApplication::instance()) {
    static int argc = 1;
    static char name[] = "trimjet-fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
  }
  QCoreApplication::setApplicationName("trimjet-fuzz");
}

QByteArray Bytes(const std::uint8_t* data, std::size_t size) {
  return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

QString ScratchPath(const QString& fileName) { return Scratch().filePath(fileName); }

bool WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Fail(const char* what) {
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

}  // namespace FuzzSupport
