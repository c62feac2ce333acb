#include "BatchJob.h"

#include <QFileInfo>

#include "SafeFile.h"
#include "clsImage.h"

namespace {

// Nearest integer, halves to even, of numerator / 100 (non-negative values).
int PercentOf(qint64 value, int percent) {
  const qint64 num = value * percent;
  qint64 q = num / 100;
  const qint64 rem = num % 100;
  if (rem > 50 || (rem == 50 && (q & 1))) ++q;
  return int(q);
}

bool Fail(QString* reason, const QString& text) {
  if (reason) *reason = text;
  return false;
}

}  // namespace

std::shared_ptr<clsImage> BatchJob::GetSizedImage(const std::shared_ptr<clsImage>& picture,
                                                  const BatchOptions& options, bool fast) {
  if (!options.resize || !picture || picture->hDC() == 0) return picture;
  const qint64 pw = picture->Width(), ph = picture->Height();
  int w = 0, h = 0;
  if (options.manualSize) {
    if (options.width <= 0 && options.height <= 0) return nullptr;
    w = options.width > 0 ? options.width : int(qint64(options.height) * pw / ph);
    h = options.height > 0 ? options.height : int(qint64(options.width) * ph / pw);
  } else {
    w = PercentOf(pw, options.scale);
    h = PercentOf(ph, options.scale);
  }
  if (w == pw && h == ph) return picture;
  return picture->GetScaledInstance(w, h, std::make_shared<clsImage>(), fast, false);
}

bool BatchJob::SaveImage(const QString& source, const QString& dest, const BatchOptions& options,
                         QString* reason, QSize* size) {
  // Checked first so a refused file costs no decoding.
  if (SafeFile::IsWriteProtected(dest))
    return Fail(reason, QStringLiteral("the file is write-protected: ") + dest);
  auto picture = std::make_shared<clsImage>();
  if (!picture->CreateFromFile(source))
    return Fail(reason,
                picture->LoadError().isEmpty()
                    ? QStringLiteral("cannot read the picture (damaged or not a supported format)")
                    : QStringLiteral("cannot read the picture: ") + picture->LoadError());
  picture->SetStripMetadata(options.stripMetadata);
  auto sized = GetSizedImage(picture, options, false);
  if (!sized) return Fail(reason, QStringLiteral("cannot scale the picture to the size asked for"));
  // An effect that fails leaves the picture as it was; the run goes on without it.
  for (const BatchOptions::Effect& effect : options.effects)
    if (effect.entry) EffectCatalog::Apply(*sized, *effect.entry, effect.level);
  if (!sized->SaveIJLjpg(dest, options.quality))
    return Fail(reason, QStringLiteral("cannot write ") + dest);
  if (size) *size = QSize(sized->Width(), sized->Height());
  return true;
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
  QSize size;
  result.ok = SaveImage(source, dest, options, &result.reason, &size);
  if (result.ok) {
    result.bytesAfter = QFileInfo(dest).size();
    result.width = size.width();
    result.height = size.height();
  }
  return result;
}
