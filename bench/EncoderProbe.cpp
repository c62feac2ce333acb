// The encoder's measuring tool (bench/compress.sh):
//   encoder_probe IN OUT QUALITY [plain] [progressive] [notrellis] [444|422|420]
// writes IN (any picture the engine reads) as the JPEG OUT, with no metadata, and prints the
// bytes and the milliseconds of the encode alone.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>

#include "engine/JpegCodec.h"
#include "engine/clsImage.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() < 4) {
    std::fprintf(
        stderr,
        "usage: encoder_probe IN OUT QUALITY [plain] [progressive] [notrellis] [444|422|420]\n");
    return 2;
  }
  clsImage image;
  if (!image.CreateFromFile(args[1])) {
    std::fprintf(stderr, "cannot read %s\n", qPrintable(args[1]));
    return 1;
  }
  JpegCodec::Settings settings;
  settings.quality = args[3].toInt();
  settings.plain = args.contains("plain");
  settings.progressive = args.contains("progressive");
  settings.trellis = !args.contains("notrellis");
  if (args.contains("444")) settings.chroma = ChromaChoice::Layout::k444;
  if (args.contains("422")) settings.chroma = ChromaChoice::Layout::k422;
  if (args.contains("420")) settings.chroma = ChromaChoice::Layout::k420;
  QElapsedTimer timer;
  timer.start();
  QByteArray jpeg;
  if (!JpegCodec::Encode(image.Pixels(), settings, jpeg)) return 1;
  const qint64 ms = timer.elapsed();
  QFile out(args[2]);
  if (!out.open(QIODevice::WriteOnly) || out.write(jpeg) != jpeg.size()) return 1;
  std::printf("%lld %lld\n", static_cast<long long>(jpeg.size()), static_cast<long long>(ms));
  return 0;
}
