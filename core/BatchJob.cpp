#include "core/BatchJob.h"

#include <QFileInfo>
#include <QImageReader>

#include "core/AutoQuality.h"
#include "core/QualityRange.h"
#include "core/QualitySearch.h"
#include "core/SizeRules.h"
#include "engine/ImageDescriptor.h"
#include "engine/ImageFormat.h"
#include "engine/JpegCodec.h"
#include "engine/JpegSegments.h"
#include "engine/JpegTidy.h"
#include "engine/SafeFile.h"
#include "engine/StreamedJpeg.h"
#include "engine/clsImage.h"

namespace {

bool Fail(QString* reason, const QString& text) {
  if (reason) *reason = text;
  return false;
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

// The source as it was read, and what writing the result must respect.
struct Source {
  QString path;
  QString dest;
  bool inPlace = false;
  SafeFile::Identity identity;  // taken before the first byte was read
  QByteArray original;          // a JPEG's bytes, else empty
  JpegSegments::Trailer trailer = JpegSegments::Trailer::kNone;
  QString dateFrom;
};

// dest replaced by bytes, unless the source is no longer the file that was read: replacing
// it would undo another program's save, and a result elsewhere would be of an older picture.
bool Write(const Source& src, const QByteArray& bytes, BatchJob::Result& result) {
  if (!src.inPlace && SafeFile::IdentityOf(src.path) != src.identity)
    return Fail(&result.reason,
                QStringLiteral("changed while it was being optimised; nothing written"));
  return SafeFile::Replace(src.dest, bytes, &result.reason, src.dateFrom,
                           src.inPlace ? &src.identity : nullptr);
}

// The reason of a source left as it is because writing would lose what follows its picture.
QString LeftForTrailer(JpegSegments::Trailer trailer) {
  return JpegSegments::TrailerText(trailer) + QStringLiteral(" would be lost: left unchanged");
}

// The data after a JPEG source's picture, on a re-encoded result: a motion photo's video is
// appended (its XMP measures from the end, so it stays true); anything else is lost, so in
// place the original is kept (false, result filled) and elsewhere the loss is reported.
bool CarryTrailer(const Source& src, bool strip, QByteArray& encoded, BatchJob::Result& result) {
  if (src.trailer == JpegSegments::Trailer::kNone) return true;
  if (src.trailer == JpegSegments::Trailer::kMotionVideo && !strip) {
    QByteArray carried = encoded + src.original.mid(JpegSegments::PictureEnd(src.original));
    if (JpegSegments::TrailerKind(carried) == JpegSegments::Trailer::kMotionVideo) {
      encoded = std::move(carried);
      return true;
    }
  }
  if (src.inPlace) {
    result.ok = result.kept = true;
    result.reason = LeftForTrailer(src.trailer);
    result.bytesAfter = src.original.size();
    return false;
  }
  result.reason = JpegSegments::TrailerText(src.trailer) + QStringLiteral(" is not carried over");
  return true;
}

// A JPEG kept as it is: copied elsewhere, or left in place; with strip, both without the
// blocks that describe the photo (the same compressed data), unless that would lose what
// follows the picture in place. False when stripping cannot follow the file.
bool KeepOriginal(const Source& src, bool strip, BatchJob::Result& result) {
  QByteArray bytes = src.original;
  QString note;
  if (strip) {
    bytes = JpegSegments::Stripped(src.original);
    if (bytes.isEmpty()) return false;
    if (src.trailer != JpegSegments::Trailer::kNone) {
      if (src.inPlace) {
        result.ok = result.kept = true;
        result.reason = QStringLiteral("already smaller; metadata not removed: ") +
                        JpegSegments::TrailerText(src.trailer) + QStringLiteral(" would be lost");
        result.bytesAfter = src.original.size();
        return true;
      }
      note = QStringLiteral("; ") + JpegSegments::TrailerText(src.trailer) +
             QStringLiteral(" is not carried over");
    }
  }
  if ((!src.inPlace || bytes != src.original) && !Write(src, bytes, result)) return true;
  result.ok = result.kept = true;
  result.reason = QStringLiteral("already smaller") + note;
  result.bytesAfter = bytes.size();
  return true;
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

bool BatchJob::Streamed(const QString& source, const BatchOptions& options, const QByteArray& jpeg,
                        QByteArray& encoded, QSize& size, bool& resized) {
  // One encode of the picture as it comes: a byte budget and automatic quality encode several
  // times, and effects need the whole picture.
  if (options.maxBytes > 0 || options.autoQuality != AutoQuality::Level::kOff) return false;
  for (const BatchOptions::Effect& effect : options.effects)
    if (effect.entry) return false;
  StreamedJpeg::Request request;
  request.quality = options.quality;
  request.progressive = options.progressive;
  request.plain = !options.tuned;
  request.stripMetadata = options.stripMetadata;
  // A JPEG left at its size is tried as a lossless tidy first, which needs it whole, unless the
  // quality asked for is below its own, where the tidy is refused and a re-encode is all there is.
  const bool tidyPossible =
      !jpeg.isEmpty() &&
      options.quality >=
          JpegTidy::SourceQuality(reinterpret_cast<const std::uint8_t*>(jpeg.constData()),
                                  std::size_t(jpeg.size()));
  bool sameSize = false;
  request.size = [&options, tidyPossible, &sameSize](int width, int height) {
    const QSize target = TargetSize(width, height, options);
    sameSize = target == QSize(width, height);
    return tidyPossible && sameSize ? QSize() : target;
  };
  if (!StreamedJpeg::Make(source, request, encoded, size)) return false;
  resized = !sameSize;
  return true;
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
  Source src;
  src.path = source;
  src.dest = dest;
  src.inPlace = SafeFile::IsSameFile(source, dest);
  src.identity = SafeFile::IdentityOf(source);
  src.dateFrom = options.keepDates ? source : QString();
  // A JPEG source is read whole: its data is checked, and it may be kept as it is.
  QByteArray& original = src.original;
  // Only below the engine's file cap: a larger file is refused by the loader without reading it.
  const bool jpeg = QFileInfo(source).size() <= kMaxFileBytes &&
                    SafeFile::Read(source, original, 64) &&
                    ImageFormat::FromContent(original, true) == ImageFormat::kJpeg &&
                    SafeFile::Read(source, original);
  if (!jpeg) original.clear();
  src.trailer = JpegSegments::TrailerKind(original);
  const bool strip = options.stripMetadata;
  // Re-encoding alone must not make a JPEG bigger (and one generation worse): it is kept.
  // A resized or changed picture is what the user asked for, whatever its length.
  const auto keptInstead = [&](const QByteArray& encoded, bool onlyReencoded) {
    // A source over the byte budget is never kept in place of a result that fits.
    const bool originalFits = options.maxBytes <= 0 || original.size() <= options.maxBytes;
    return !options.allowLarger && onlyReencoded && originalFits &&
           encoded.size() >= original.size() && KeepOriginal(src, strip, result);
  };
  // Straight from the file to the JPEG when that gives the same bytes, never whole in memory.
  QByteArray encoded;
  QSize streamedSize;
  bool resized = false;
  if (Streamed(source, options, jpeg ? original : QByteArray(), encoded, streamedSize, resized)) {
    result.width = streamedSize.width();
    result.height = streamedSize.height();
    if (keptInstead(encoded, jpeg && !resized && options.effects.empty())) return;
    if (!CarryTrailer(src, strip, encoded, result) || !Write(src, encoded, result)) return;
    result.ok = true;
    result.bytesAfter = encoded.size();
    result.quality = options.quality;
    return;
  }
  auto picture = std::make_shared<clsImage>();
  // The decoder itself says whether data was lost: one decode, and nothing guessed from the
  // file's last bytes (a file cut short can still end with an EOI marker).
  const QString incompleteText =
      QStringLiteral("incomplete picture (its data ends early or is damaged): ");
  if (!picture->CreateFromFile(source)) {
    if (SafeFile::IdentityOf(source) != src.identity) {
      Fail(&result.reason,
           QStringLiteral("cannot read the picture: the file changed while it was being read"));
      return;
    }
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
  picture->SetPlainEncoder(!options.tuned);
  const bool incomplete = picture->Incomplete();
  if (incomplete && src.inPlace) {
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
    const auto outcome =
        QualitySearch::Highest([&sized](int q, QByteArray& bytes,
                                        bool& tidy) { return sized->EncodeJpeg(q, bytes, &tidy); },
                               QualityRange::kLowest, quality, options.maxBytes, found);
    if (outcome == QualitySearch::Outcome::kTooLarge) {
      Fail(&result.reason,
           QStringLiteral("does not fit in %1 bytes: even quality %2 takes %3 bytes")
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
  const bool onlyReencoded = jpeg && sized == picture && options.effects.empty();
  result.width = sized->Width();
  result.height = sized->Height();
  if (!incomplete && keptInstead(encoded, onlyReencoded)) return;
  if (!CarryTrailer(src, strip, encoded, result) || !Write(src, encoded, result)) return;
  result.ok = true;
  result.bytesAfter = encoded.size();
  result.lossless = lossless;
  result.quality = quality;
  if (incomplete) result.reason = incompleteText + QStringLiteral("the missing part is grey");
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
