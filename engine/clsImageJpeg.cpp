// clsImage's JPEG members: the in-memory round trip, saving and the compact byte form.
#include <QFile>

#include "engine/ExifOrientation.h"
#include "engine/JpegCodec.h"
#include "engine/JpegErrorManager.h"
#include "engine/PictureColour.h"
#include "engine/SafeFile.h"
#include "engine/clsImage.h"

// The refusal text names the limit.
static_assert(JpegErrorManager::kMaxScans == 500 && kMaxFileBytes == (std::int64_t(1) << 30));

bool clsImage::EncodeJpeg(int quality, QByteArray& out) const {
  JpegCodec::Settings settings;
  settings.quality = quality;
  if (!stripMetadata_) settings.metadata = &metadata_;
  return JpegCodec::Encode(pixels_, settings, out);
}

bool clsImage::SaveIJLjpg(const QString& fileName, int quality) const {
  // Encode first: a picture that cannot be encoded never touches the target.
  QByteArray jpeg;
  return EncodeJpeg(quality, jpeg) && SafeFile::Replace(fileName, jpeg);
}

bool clsImage::savejpg(const QString& fileName, int quality, int /*mode*/) const {
  return SaveIJLjpg(fileName, quality);
}

bool clsImage::DecodeJpeg(const std::uint8_t* data, std::size_t size, bool* foreign,
                          bool withExtras) {
  const std::uint8_t* previous = pixels_.Bits();
  int orientation = 1;
  JpegCodec::Extras extras;
  const bool ok = JpegCodec::Decode(data, size, pixels_, &orientation, &extras) &&
                  ExifOrientation::Apply(pixels_, orientation);
  if (!ok) pixels_.Release();
  Reattached(previous);
  metadata_ = PictureMetadata();
  loadError_ = extras.tooManyScans ? QString::fromLatin1(kTooManyScansText) : QString();
  incomplete_ = extras.dataLost > 0;
  if (ok && withExtras) {
    // A converted picture has a new buffer, and with it a new context id.
    const bool converted = !extras.icc.isEmpty() && !PictureColour::IsSrgb(extras.icc) &&
                           PictureColour::ConvertRgb(pixels_, extras.icc);
    Reattached(previous);
    metadata_.SetExif(extras.exif);
    metadata_.SetXmp(extras.xmp);
    metadata_.SetIptc(extras.iptc);
    if (converted) metadata_.DeclareSrgb();
  }
  if (foreign) {
    JpegCodec::Header header;
    *foreign = !ok && JpegCodec::ReadHeader(data, size, header) && !header.rgbDecodable;
  }
  return ok;
}

bool clsImage::ReadJpegFile(const QString& fileName, bool* foreign) {
  if (foreign) *foreign = false;
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly) || file.size() == 0 || file.size() > kMaxFileBytes) {
    ClearUp();
    if (file.size() > kMaxFileBytes) loadError_ = QString::fromLatin1(kFileTooLargeText);
    return false;
  }
  // Mapping spares a copy of the compressed bytes; a pipe or special file is read instead.
  if (const uchar* mapped = file.map(0, file.size()))
    return DecodeJpeg(mapped, std::size_t(file.size()), foreign, true);
  const QByteArray bytes = file.readAll();
  return DecodeJpeg(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                    std::size_t(bytes.size()), foreign, true);
}

bool clsImage::LoadIJLjpg(const QString& fileName) { return ReadJpegFile(fileName, nullptr); }

bool clsImage::LoadIJLjpgFromBuffer(const QByteArray& bytes) {
  return DecodeJpeg(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                    std::size_t(bytes.size()));
}

std::shared_ptr<clsImage> clsImage::GetOptimizedInstance(int quality,
                                                         std::shared_ptr<clsImage> dest,
                                                         int* size) const {
  std::shared_ptr<clsImage> result = dest ? std::move(dest) : std::make_shared<clsImage>();
  QByteArray jpeg;
  if (!EncodeJpeg(quality, jpeg)) return result;
  if (size) *size = int(jpeg.size());
  result->LoadIJLjpgFromBuffer(jpeg);
  return result;
}

void clsImage::SaveToBuffer(QByteArray& bytes) const {
  // Thumbnails in memory: pixels only.
  JpegCodec::Settings settings;
  settings.quality = kBufferQuality;
  if (!JpegCodec::Encode(pixels_, settings, bytes)) bytes.clear();
}

void clsImage::LoadFromBuffer(const QByteArray& bytes) { LoadIJLjpgFromBuffer(bytes); }
