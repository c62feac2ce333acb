// clsImage's JPEG members: the in-memory round trip, saving and the compact byte form.
#include <QFile>
#include <cstring>

#include "engine/ExifOrientation.h"
#include "engine/GuardedMapping.h"
#include "engine/JpegCodec.h"
#include "engine/JpegErrorManager.h"
#include "engine/JpegTidy.h"
#include "engine/PictureColour.h"
#include "engine/SafeFile.h"
#include "engine/clsImage.h"

// The refusal text names the limit.
static_assert(JpegErrorManager::kMaxScans == 500 && kMaxFileBytes == (std::int64_t(1) << 30));

namespace {

bool SamePixels(const ImageDescriptor& a, const ImageDescriptor& b) {
  if (a.Empty() || a.Width() != b.Width() || a.Height() != b.Height()) return false;
  const std::size_t row = std::size_t(a.Width()) * 3;
  for (int y = 0; y < a.Height(); ++y)
    if (std::memcmp(a.Row(y), b.Row(y), row) != 0) return false;
  return true;
}

}  // namespace

bool clsImage::TidyJpeg(int quality, QByteArray& out, clsImage& decoded) const {
  if (sourceJpeg_.isEmpty() || tidyRefused_.load(std::memory_order_relaxed)) return false;
  const auto* data = reinterpret_cast<const std::uint8_t*>(sourceJpeg_.constData());
  const std::size_t size = std::size_t(sourceJpeg_.size());
  JpegCodec::Header header;
  if (!JpegCodec::ReadHeader(data, size, header) || header.width != Width() ||
      header.height != Height())
    return false;
  JpegTidy::Settings settings;
  settings.quality = quality;
  settings.progressive = progressive_;
  if (!stripMetadata_) settings.metadata = &metadata_;
  QByteArray bytes;
  if (!JpegTidy::Rewrite(data, size, settings, bytes) || bytes.size() > sourceJpeg_.size())
    return false;
  // The proof that nothing changed since loading: the rewrite decodes to these very pixels.
  // Once they differ they never come back, and the file is not tried again.
  if (!decoded.LoadIJLjpgFromBuffer(bytes) || !SamePixels(decoded.pixels_, pixels_)) {
    tidyRefused_.store(true, std::memory_order_relaxed);
    return false;
  }
  out = std::move(bytes);
  return true;
}

bool clsImage::EncodeJpeg(int quality, QByteArray& out, bool* lossless) const {
  if (lossless) *lossless = false;
  if (!sourceJpeg_.isEmpty()) {
    clsImage check;
    if (TidyJpeg(quality, out, check)) {
      if (lossless) *lossless = true;
      return true;
    }
  }
  const JpegCodec::Settings settings = JpegCodec::SettingsFor(
      quality, progressive_, plainEncoder_, stripMetadata_ ? nullptr : &metadata_);
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
  sourceJpeg_.clear();
  loadError_ = extras.tooManyScans ? QString::fromLatin1(kTooManyScansText) : QString();
  incomplete_ = extras.dataLost > 0;
  if (ok && withExtras) {
    // A converted picture has a new buffer, and with it a new context id.
    const QByteArray profile = PictureColour::SourceProfile(extras.icc, extras.exif);
    const bool converted = !profile.isEmpty() && PictureColour::ConvertToSrgb(pixels_, profile);
    Reattached(previous);
    metadata_.SetExif(extras.exif);
    metadata_.SetXmp(extras.xmp);
    metadata_.SetIptc(extras.iptc);
    if (converted) metadata_.DeclareSrgb();
    // Only a file whose decode is the picture as shown can be tidied instead of re-encoded.
    if (orientation == 1 && !incomplete_ && profile.isEmpty()) {
      sourceJpeg_ = QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
      tidyRefused_ = false;
    }
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
  const GuardedMapping mapped(file.handle(), std::size_t(file.size()));
  if (mapped.Data()) {
    const bool ok = DecodeJpeg(mapped.Data(), mapped.Size(), foreign, true);
    if (!mapped.Changed()) return ok;
    ClearUp();
    loadError_ = QStringLiteral("the file changed while it was being read");
    return false;
  }
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
                                                         std::shared_ptr<clsImage> dest, int* size,
                                                         bool* lossless,
                                                         const std::atomic<bool>* cancel) const {
  std::shared_ptr<clsImage> result = dest ? std::move(dest) : std::make_shared<clsImage>();
  QByteArray jpeg;
  // The tidy's own check decodes into the result, so it costs no second decode.
  const bool tidied = result.get() != this && TidyJpeg(quality, jpeg, *result);
  if (lossless) *lossless = tidied;
  if (tidied) {
    if (size) *size = int(jpeg.size());
    return result;
  }
  JpegCodec::Settings settings = JpegCodec::SettingsFor(
      quality, progressive_, plainEncoder_, stripMetadata_ ? nullptr : &metadata_);
  settings.cancel = cancel;
  if (!JpegCodec::Encode(pixels_, settings, jpeg)) return result;
  if (cancel && cancel->load(std::memory_order_relaxed)) return result;
  if (size) *size = int(jpeg.size());
  result->LoadIJLjpgFromBuffer(jpeg);
  return result;
}

void clsImage::SaveToBuffer(QByteArray& bytes) const {
  // Thumbnails in memory: pixels only.
  const JpegCodec::Settings settings = JpegCodec::SettingsFor(kBufferQuality, false, plainEncoder_);
  if (!JpegCodec::Encode(pixels_, settings, bytes)) bytes.clear();
}

void clsImage::LoadFromBuffer(const QByteArray& bytes) { LoadIJLjpgFromBuffer(bytes); }
