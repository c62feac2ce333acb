#pragma once
// What every fuzz target shares: a Qt application object, a private scratch folder for
// the inputs that must be files, and a check that aborts with a message libFuzzer records.
#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

namespace FuzzSupport {

// Once per process: a QCoreApplication, quiet libvips warnings, an offscreen platform.
void Initialize();
QByteArray Bytes(const std::uint8_t* data, std::size_t size);
// A path inside this process's scratch folder (removed at exit).
QString ScratchPath(const QString& fileName);
// Writes bytes over the file; false when it could not be written whole.
bool WriteFile(const QString& path, const QByteArray& bytes);
QByteArray ReadFile(const QString& path);
// A broken invariant: prints what and aborts, which libFuzzer reports as a crash.
[[noreturn]] void Fail(const char* what);
inline void Check(bool condition, const char* what) {
  if (!condition) Fail(what);
}

}  // namespace FuzzSupport
