// Loads one file into a picture that already holds another, from the file and from its bytes,
// and prints what the engine made of it. Run by the hostile tests in a child process so that
// a crash, a hang or a memory spike shows up as that one case failing.
#include <unistd.h>

#include <QFile>
#include <cstdio>

#include "engine/clsImage.h"

namespace {
void Report(const char* how, bool ok, const clsImage& image) {
  std::printf("%s %d %d %d %d\n", how, ok ? 1 : 0, image.hDC() != 0 ? 1 : 0, image.Width(),
              image.Height());
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: hostile_probe <file> <good picture held before>\n");
    return 2;
  }
  alarm(120);  // a hang ends the child with SIGALRM instead of stalling the suite
  const QString path = QString::fromLocal8Bit(argv[1]);
  const QString good = QString::fromLocal8Bit(argv[2]);
  clsImage image;
  if (!image.CreateFromFile(good)) return 3;
  Report("file", image.CreateFromFile(path), image);

  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return 4;
  const QByteArray bytes = file.readAll();
  if (!image.CreateFromFile(good)) return 3;
  Report("buffer", image.CreateFromBuffer(bytes), image);
  return 0;
}
