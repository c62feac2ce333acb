// Benchmark of the image engine against bare libjpeg-turbo, libvips and the command-line
// encoders. Prints medians, ratios and targets as a Markdown table. Not a test: run it with
// bench/run.sh, which builds it in Release.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSysInfo>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>
#include <vips/vips8>

#include "BareJpeg.h"
#include "BenchCorpus.h"
#include "engine/clsImage.h"

namespace {

int g_runs = 9;

// Median wall time in milliseconds of g_runs calls, after one warm-up call.
double MedianMs(const std::function<void()>& work) {
  work();
  std::vector<double> times;
  for (int i = 0; i < g_runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    work();
    times.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

void Row(const char* what, double ours, double theirs, const char* unit, double target) {
  const double ratio = ours / theirs;
  std::printf("| %s | %.1f %s | %.1f %s | %.3f | <= %.2f | %s |\n", what, ours, unit, theirs, unit,
              ratio, target, ratio <= target ? "met" : "NOT met");
}

BareJpeg::Picture Packed(const clsImage& image) {
  BareJpeg::Picture p;
  p.width = image.Width();
  p.height = image.Height();
  p.rgb.resize(std::size_t(p.width) * 3 * p.height);
  for (int y = 0; y < p.height; ++y)
    std::copy_n(image.Pixels().Row(y), std::size_t(p.width) * 3,
                &p.rgb[std::size_t(y) * p.width * 3]);
  return p;
}

qint64 ToolBytes(const QString& program, const QStringList& args, const QString& out) {
  QProcess tool;
  if (program == "cjpeg") tool.setStandardOutputFile(out);
  tool.start(program, args);
  if (!tool.waitForFinished(120000) || tool.exitCode() != 0) return -1;
  return QFileInfo(out).size();
}

QString CpuName() {
  QFile info("/proc/cpuinfo");
  if (!info.open(QIODevice::ReadOnly)) return "unknown CPU";
  for (const QByteArray& line : info.readAll().split('\n'))
    if (line.startsWith("model name")) return QString::fromUtf8(line.mid(line.indexOf(':') + 2));
  return "unknown CPU";
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (VIPS_INIT(argv[0])) return 1;
  const QString work =
      argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath() + "/trimjet-bench";
  if (argc > 2) g_runs = std::max(3, std::atoi(argv[2]));
  QDir().mkpath(work);
  const int W = 4000, H = 3000, kQuality = 70;

  std::printf("Machine: %s, %d cores, %s; libvips %s; runs per figure: %d (median)\n\n",
              qPrintable(CpuName()), QThread::idealThreadCount(),
              qPrintable(QSysInfo::prettyProductName()), vips_version_string(), g_runs);
  std::vector<std::shared_ptr<clsImage>> photos;
  for (int v = 0; v < 3; ++v) photos.push_back(BenchCorpus::MakePhoto(W, H, v));
  const clsImage& photo = *photos[0];
  const QString jpg = work + "/photo12mp.jpg";
  photo.SaveIJLjpg(jpg, 92);

  std::printf("| Comparison (12 MP, %dx%d) | Engine | Reference | Ratio | Target | |\n", W, H);
  std::printf("|---|---|---|---|---|---|\n");

  auto dest = std::make_shared<clsImage>();
  int size = 0;
  const double optimise = MedianMs([&] { photo.GetOptimizedInstance(kQuality, dest, &size); });
  const BareJpeg::Picture packed = Packed(photo);
  BareJpeg::Picture decoded;
  const double bareRoundTrip =
      MedianMs([&] { BareJpeg::Decode(BareJpeg::Encode(packed, kQuality), decoded); });
  Row("GetOptimizedInstance q70 vs bare encode + decode", optimise, bareRoundTrip, "ms", 1.15);

  const double load = MedianMs([&] {
    clsImage image;
    image.CreateFromFile(jpg);
  });
  const QByteArray jpgName = QFile::encodeName(jpg);
  const double bareLoad = MedianMs([&] {
    BareJpeg::Picture p;
    BareJpeg::DecodeFile(jpgName.constData(), p);
  });
  Row("CreateFromFile of a JPEG vs bare decode", load, bareLoad, "ms", 1.15);

  // A camera's file: the same picture with EXIF and a Display P3 profile, which the engine
  // keeps and converts to sRGB. The sRGB file above is what the target is about; this one shows
  // what the colour conversion costs on top.
  const QString camera = work + "/camera12mp.jpg";
  vips::VImage::new_from_file(jpg.toUtf8().constData())
      .jpegsave(camera.toUtf8().constData(),
                vips::VImage::option()->set("Q", 92)->set("profile", "p3"));
  const double cameraLoad = MedianMs([&] {
    clsImage image;
    image.CreateFromFile(camera);
  });
  const QByteArray cameraName = QFile::encodeName(camera);
  const double cameraBare = MedianMs([&] {
    BareJpeg::Picture p;
    BareJpeg::DecodeFile(cameraName.constData(), p);
  });
  std::printf(
      "| CreateFromFile of a JPEG with EXIF and a P3 profile vs bare decode (information) "
      "| %.1f ms | %.1f ms | %.3f | | |\n",
      cameraLoad, cameraBare, cameraLoad / cameraBare);

  const double scale = MedianMs([&] {
    clsImage image;
    image.CreateFromFile(jpg);
    int w = W / 2, h = H / 2;
    image.GetScaledInstance(w, h, nullptr, false, false);
  });
  const double vipsScale = MedianMs([&] {
    std::size_t n = 0;
    // Sequential access, as the vips command line reads a file for resize.
    g_free(vips::VImage::new_from_file(
               jpgName.constData(), vips::VImage::option()->set("access", VIPS_ACCESS_SEQUENTIAL))
               .resize(0.5)
               .write_to_memory(&n));
  });
  Row("load + smooth 50 % downscale vs vips resize of the file", scale, vipsScale, "ms", 1.3);
  const double scaleOnly = MedianMs([&] {
    int w = W / 2, h = H / 2;
    photo.GetScaledInstance(w, h, nullptr, false, false);
  });
  const double vipsMemory = MedianMs([&] {
    std::size_t n = 0;
    g_free(vips::VImage::new_from_memory(const_cast<std::uint8_t*>(packed.rgb.data()),
                                         packed.rgb.size(), W, H, 3, VIPS_FORMAT_UCHAR)
               .resize(0.5)
               .write_to_memory(&n));
  });
  Row("smooth 50 % downscale in memory vs vips resize of the same pixels", scaleOnly, vipsMemory,
      "ms", 1.3);

  qint64 ours = 0, cjpeg = 0, magick = 0;
  for (std::size_t v = 0; v < photos.size(); ++v) {
    const QString ppm = work + QString("/photo%1.ppm").arg(v);
    BenchCorpus::WritePpm(*photos[v], ppm);
    QByteArray bytes;
    photos[v]->EncodeJpeg(kQuality, bytes);
    ours += bytes.size();
    cjpeg += ToolBytes("cjpeg", {"-quality", "70", "-optimize", ppm}, work + "/cjpeg.jpg");
    magick +=
        ToolBytes("convert", {ppm, "-quality", "70", work + "/magick.jpg"}, work + "/magick.jpg");
  }
  Row("output bytes q70 vs cjpeg -quality 70 -optimize (3 photos)", ours / 1024.0, cjpeg / 1024.0,
      "KiB", 1.00);
  Row("output bytes q70 vs convert -quality 70 (3 photos)", ours / 1024.0, magick / 1024.0, "KiB",
      1.01);

  std::printf("\n| Small file (640x480) | CreateFromFile |\n|---|---|\n");
  auto small = BenchCorpus::MakePhoto(640, 480, 1);
  for (const QString& file : BenchCorpus::WriteSmallFormats(*small, work)) {
    bool ok = false;
    const double ms = MedianMs([&] {
      clsImage image;
      ok = image.CreateFromFile(file);
    });
    std::printf("| %s | %.2f ms%s |\n", qPrintable(QFileInfo(file).fileName()), ms,
                ok ? "" : " (FAILED)");
  }
  std::printf("\n| For reference (12 MP, bare libjpeg-turbo) | Time | Bytes |\n|---|---|---|\n");
  std::size_t plainBytes = 0, optimisedBytes = 0;
  const double plain =
      MedianMs([&] { plainBytes = BareJpeg::Encode(packed, kQuality, false).size(); });
  const double optimised =
      MedianMs([&] { optimisedBytes = BareJpeg::Encode(packed, kQuality).size(); });
  const std::vector<std::uint8_t> encoded = BareJpeg::Encode(packed, kQuality);
  const double decode = MedianMs([&] { BareJpeg::Decode(encoded, decoded); });
  std::printf("| encode q70, standard Huffman tables | %.1f ms | %zu |\n", plain, plainBytes);
  std::printf("| encode q70, optimised Huffman tables | %.1f ms | %zu |\n", optimised,
              optimisedBytes);
  std::printf("| decode of that JPEG | %.1f ms | |\n", decode);
  const double fastOnly = MedianMs([&] {
    int w = W / 2, h = H / 2;
    photo.GetScaledInstance(w, h, nullptr, true, false);
  });
  std::printf("| engine fast (nearest) 50 %% downscale alone | %.1f ms | |\n", fastOnly);
  return 0;
}
