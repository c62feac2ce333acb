#include "core/BatchJob.h"

#include <QFileInfo>
#include <QImageReader>

#include "core/AutoQuality.h"
#include "core/QualitySearch.h"
#include "core/SizeRules.h"
#include "engine/ImageDescriptor.h"
#include "engine/ImageFormat.h"
#include "engine/JpegCodec.h"
#include "engine/SafeFile.h"
#include "engine/StreamedJpeg.h"
#include "engine/clsImage.h"

namespace {

bool Fail(QString* reason, const QString& text) {
  if (reason) *reason = text;
  return false;
}

bool SameFile(const QString& a, const QString& b) {
  if (a == b) return true;
  const QFileInfo fa(a), fb(b);
  return fa.exists() && fb.exists() && !fb.isSymLink() &&
         fa.canonicalFilePath() == fb.canonicalFilePath();
}

// A picture the engine refused: too large says so, with the limit. A JPEG's size comes from
// the engine's own header reader (Qt's would warn on the console about a damaged one).
QString UnreadableReason(const QString& source, const QByteArray& jpeg) {
  QSize size;
  JpegCodec::Header header;
  if (jpeg.isEmpty())
    size = QImageReader(source).size();
  else if (JpegCodec::ReadHeader(reinterpret_cast<const std::uint8_t*>(jpeg.constData()),
                                 std::size_t(jpeg.size()), header))
    size = QSize(header.width, header.height);
  if (size.isValid() && !ImageDescriptor::SizeAllowed(size.width(), size.height()))
    return QStringLiteral("too large: %1 x %2 pixels (the limit is %3 megapixels, %4 a side)")
        .arg(size.width())
        .arg(size.height())
        .arg(kMaxImagePixels / 1000000)
        .arg(kMaxImageSide);
  return QStringLiteral("cannot read the picture (damaged or not a supported format)");
}

}  // namespace

QSize BatchJob::TargetSize(int width, int height, const BatchOptions& options) {
  if (!options.resize) return QSize(width, height);
  const qint64 pw = width, ph = height;
  int w = 0, h = 0;
  if (options.manualSize) {
    if (options.width <= 0 && options.height <= 0) return QSize();
    w = options.width > 0 ? options.width : int(qint64(options.height) * pw / ph);
    h = options.height > 0 ? options.height : int(qint64(options.width) * ph / pw);
  } else {
    const QSize scaled = SizeRules::ScaledSize(QSize(width, height), options.scale);
    w = scaled.width();
    h = scaled.height();
  }
  if (w == pw && h == ph) return QSize(width, height);
  return QSize(std::max(w, 1), std::max(h, 1));
}

std::shared_ptr<clsImage> BatchJob::GetSizedImage(const std::shared_ptr<clsImage>& picture,
                                                  const BatchOptions& options, bool fast) {
  if (!options.resize || !picture || picture->hDC() == 0) return picture;
  const QSize target = TargetSize(picture->Width(), picture->Height(), options);
  if (!target.isValid()) return nullptr;
  if (target == QSize(picture->Width(), picture->Height())) return picture;
  int w = target.width(), h = target.height();
  return picture->GetScaledInstance(w, h, std::make_shared<clsImage>(), fast, false);
}

bool BatchJob::Streamed(const QString& source, const BatchOptions& options, bool jpeg,
                        QByteArray& encoded, QSize& size) {
  // One encode of the picture as it comes: a byte budget and automatic quality encode several
  // times, and effects need the whole picture.
  if (options.maxBytes > 0 || options.autoQuality != AutoQuality::Level::kOff) return false;
  for (const BatchOptions::Effect& effect : options.effects)
    if (effect.entry) return false;
  StreamedJpeg::Request request;
  request.quality = options.quality;
  request.progressive = options.progressive;
  request.plain = options.fast;
  request.stripMetadata = options.stripMetadata;
  // A JPEG left at its size may be rewritten losslessly or kept, which needs it whole.
  request.size = [&options, jpeg](int width, int height) {
    const QSize target = TargetSize(width, height, options);
    return jpeg && target == QSize(width, height) ? QSize() : target;
  };
  return StreamedJpeg::Make(source, request, encoded, size);
}

bool BatchJob::SaveImage(const QString& source, const QString& dest, const BatchOptions& options,
                         QString* reason, QSize* size) {
  Result result;
  Work(source, dest, options, result);
  if (reason) *reason = result.reason;
  if (size && result.ok) *size = QSize(result.width, result.height);
  return result.ok;
}

void BatchJob::Work(const QString& source, const QString& dest, const BatchOptions& options,
                    Result& result) {
  // Checked first so a refused file costs no decoding.
  if (SafeFile::IsWriteProtected(dest)) {
    Fail(&result.reason, QStringLiteral("the file is write-protected: ") + dest);
    return;
  }
  const bool inPlace = SameFile(source, dest);
  // A JPEG source is read whole: its data is checked, and it may be kept as it is.
  QByteArray original;
  // Only below the engine's file cap: a larger file is refused by the loader without reading it.
  const bool jpeg = QFileInfo(source).size() <= kMaxFileBytes &&
                    SafeFile::Read(source, original, 64) &&
                    ImageFormat::FromContent(original, true) == ImageFormat::kJpeg &&
                    SafeFile::Read(source, original);
  const QString dateFrom = options.keepDates ? source : QString();
  // Straight from the file to the JPEG when that gives the same bytes, never whole in memory.
  QByteArray encoded;
  QSize streamedSize;
  if (Streamed(source, options, jpeg, encoded, streamedSize)) {
    if (!SafeFile::Replace(dest, encoded, &result.reason, dateFrom)) return;
    result.ok = true;
    result.bytesAfter = encoded.size();
    result.quality = options.quality;
    result.width = streamedSize.width();
    result.height = streamedSize.height();
    return;
  }
  auto picture = std::make_shared<clsImage>();
  // The decoder itself says whether data was lost: one decode, and nothing guessed from the
  // file's last bytes (a file cut short can still end with an EOI marker).
  const QString incompleteText =
      QStringLiteral("incomplete picture (its data ends early or is damaged): ");
  if (!picture->CreateFromFile(source)) {
    if (picture->Incomplete()) {
      Fail(&result.reason, QStringLiteral("cannot read the picture: ") + incompleteText.chopped(2));
      return;
    }
    Fail(&result.reason, picture->LoadError().isEmpty()
                             ? UnreadableReason(source, jpeg ? original : QByteArray())
                             : QStringLiteral("cannot read the picture: ") + picture->LoadError());
    return;
  }
  picture->SetStripMetadata(options.stripMetadata);
  picture->SetProgressive(options.progressive);
  picture->SetPlainEncoder(options.fast);
  const bool incomplete = picture->Incomplete();
  if (incomplete && inPlace) {
    Fail(&result.reason, incompleteText + QStringLiteral("left unchanged"));
    return;
  }
  auto sized = GetSizedImage(picture, options, false);
  if (!sized) {
    Fail(&result.reason, QStringLiteral("cannot scale the picture to the size asked for"));
    return;
  }
  // An effect that fails leaves the picture as it was; the run goes on without it.
  for (const BatchOptions::Effect& effect : options.effects)
    if (effect.entry) EffectCatalog::Apply(*sized, *effect.entry, effect.level);
  bool lossless = false;
  int quality = options.quality;
  if (options.autoQuality != AutoQuality::Level::kOff) {
    AutoQuality::Found found;
    if (!AutoQuality::Find(sized->Pixels(), options.autoQuality, found)) {
      Fail(&result.reason, QStringLiteral("cannot encode the picture"));
      return;
    }
    quality = found.quality;
  }
  if (options.maxBytes > 0) {
    QualitySearch::Found found;
    const auto outcome = QualitySearch::Highest(
        [&sized](int q, QByteArray& bytes, bool& tidy) { return sized->EncodeJpeg(q, bytes, &tidy); },
        AutoQuality::kLowest, quality, options.maxBytes, found);
    if (outcome == QualitySearch::Outcome::kTooLarge) {
      Fail(&result.reason, QStringLiteral("does not fit in %1 bytes: even quality %2 takes %3 bytes")
                               .arg(options.maxBytes)
                               .arg(found.quality)
                               .arg(found.bytes.size()));
      return;
    }
    if (outcome == QualitySearch::Outcome::kFits) {
      encoded = std::move(found.bytes);
      lossless = found.lossless;
      quality = found.quality;
    }
  } else {
    sized->EncodeJpeg(quality, encoded, &lossless);
  }
  if (encoded.isEmpty()) {
    Fail(&result.reason, QStringLiteral("cannot encode the picture"));
    return;
  }
  // Re-encoding alone must not make a JPEG bigger (and one generation worse): it is kept.
  // A resized or changed picture is what the user asked for, whatever its length.
  const bool onlyReencoded = jpeg && sized == picture && options.effects.empty();
  // A source over the byte budget is never kept in place of a result that fits.
  const bool originalFits = options.maxBytes <= 0 || original.size() <= options.maxBytes;
  if (!options.allowLarger && onlyReencoded && !incomplete && originalFits &&
      encoded.size() >= original.size()) {
    if (!inPlace && !SafeFile::Replace(dest, original, &result.reason, dateFrom)) return;
    result.ok = result.kept = true;
    result.reason = QStringLiteral("already smaller");
    result.bytesAfter = original.size();
  } else {
    if (!SafeFile::Replace(dest, encoded, &result.reason, dateFrom)) return;
    result.ok = true;
    result.bytesAfter = encoded.size();
    result.lossless = lossless;
    result.quality = quality;
    if (incomplete)
      result.reason = incompleteText + QStringLiteral("the missing part is grey");
  }
  result.width = sized->Width();
  result.height = sized->Height();
}

BatchJob::Result BatchJob::Run(const QString& source, const QString& dest,
                               const BatchOptions& options) {
  Result result;
  const QFileInfo info(source);
  if (!info.isFile()) {
    result.reason = SafeFile::MissingReason(source);
    return result;
  }
  result.bytesBefore = info.size();
  Work(source, dest, options, result);
  return result;
}
