// batch_corpus DIR [COUNT]: writes COUNT (default 20) photo-like 12 MP PNG files for the batch
// benchmark, photo01.png .. photoNN.png; existing files are kept.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <cstring>
#include <vector>
#include <vips/vips8>

#include "BenchCorpus.h"
#include "engine/clsImage.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc < 2 || VIPS_INIT(argv[0])) return 2;
  const QString dir = QString::fromLocal8Bit(argv[1]);
  const int count = argc > 2 ? std::atoi(argv[2]) : 20;
  QDir().mkpath(dir);
  for (int i = 1; i <= count; ++i) {
    const QString path = QString("%1/photo%2.png").arg(dir).arg(i, 2, 10, QChar('0'));
    if (QFileInfo::exists(path)) continue;
    auto photo = BenchCorpus::MakePhoto(4000, 3000, i);
    const ImageDescriptor& px = photo->Pixels();
    std::vector<std::uint8_t> packed(std::size_t(px.Width()) * 3 * px.Height());
    for (int y = 0; y < px.Height(); ++y)
      std::memcpy(&packed[std::size_t(y) * px.Width() * 3], px.Row(y), std::size_t(px.Width()) * 3);
    vips::VImage image = vips::VImage::new_from_memory(packed.data(), packed.size(), px.Width(),
                                                       px.Height(), 3, VIPS_FORMAT_UCHAR);
    image.pngsave(path.toLocal8Bit().constData());
    std::printf("%s\n", path.toLocal8Bit().constData());
  }
  return 0;
}
