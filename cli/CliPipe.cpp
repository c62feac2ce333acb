#include "cli/CliPipe.h"

#include <QDir>
#include <QFile>
#include <cstdio>

#include "engine/ImageFormat.h"
#include "engine/SafeFile.h"

namespace {

// The decoders are chosen by the name first, so the scratch file gets the one its bytes say.
QString Extension(const QByteArray& head) {
  switch (ImageFormat::FromContent(head, true)) {
    case ImageFormat::kBmp:
      return QStringLiteral(".bmp");
    case ImageFormat::kJpeg:
      return QStringLiteral(".jpg");
    case ImageFormat::kGif:
      return QStringLiteral(".gif");
    case ImageFormat::kTiff:
      return QStringLiteral(".tif");
    case ImageFormat::kPng:
      return QStringLiteral(".png");
    case ImageFormat::kPcx:
      return QStringLiteral(".pcx");
    case ImageFormat::kTga:
      return QStringLiteral(".tga");
    case ImageFormat::kWebp:
      return QStringLiteral(".webp");
    case ImageFormat::kHeif:
      return QStringLiteral(".heic");
    case ImageFormat::kAvif:
      return QStringLiteral(".avif");
    case ImageFormat::kUnknown:
      break;
  }
  return QString();
}

}  // namespace

bool CliPipe::Prepare(CliArguments& args, QString& error, bool& fault) {
  fault = true;
  if (!args.fromStdin && !args.toStdout) return true;
  if (!dir_.isValid()) {
    error = QStringLiteral("cannot make a scratch folder: %1").arg(dir_.errorString());
    return false;
  }
  if (args.fromStdin) {
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly))
      return (error = QStringLiteral("cannot read standard input")), false;
    const QByteArray bytes = in.readAll();
    if (bytes.isEmpty()) {
      fault = false;
      return (error = QStringLiteral("standard input holds no picture")), false;
    }
    args.stdinFile = dir_.filePath(QStringLiteral("stdin") + Extension(bytes.left(64)));
    if (!SafeFile::Replace(args.stdinFile, bytes, &error)) return false;
    args.inputs = QStringList{args.stdinFile};
  }
  if (args.toStdout) {
    args.outputDir = dir_.filePath(QStringLiteral("out")) + QLatin1Char('/');
    args.ifExists = ExistingOutput::Rule::kReplace;
  }
  return true;
}

bool CliPipe::Deliver(const CliArguments& args, QString& error) const {
  const QStringList written = QDir(args.outputDir).entryList(QDir::Files);
  QFile file(args.outputDir + written.value(0));
  if (written.size() != 1 || !file.open(QIODevice::ReadOnly))
    return (error = QStringLiteral("no JPEG was written")), false;
  const QByteArray bytes = file.readAll();
  if (std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout) !=
          std::size_t(bytes.size()) ||
      std::fflush(stdout) != 0)
    return (error = QStringLiteral("cannot write standard output")), false;
  return true;
}
