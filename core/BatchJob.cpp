#include "BatchJob.h"

#include <QFileInfo>

#include "SafeFile.h"
#include "SizeRules.h"
#include "clsImage.h"

namespace {

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
    const QSize scaled = SizeRules::ScaledSize(QSize(int(pw), int(ph)), options.scale);
    w = scaled.width();
    h = scaled.height();
  }
  if (w == pw && h == ph) return picture;
  return picture->GetScaledInstance(w, h, std::make_shared<clsImage>(), fast, false);
}

bool BatchJob::SaveImage(const QString& source, const QString& dest, const BatchOptions& options,
                         QString* reason) {
  // Checked first so a refused file costs no decoding.
  if (SafeFile::IsWriteProtected(dest))
    return Fail(reason, QStringLiteral("the file is write-protected: ") + dest);
  auto picture = std::make_shared<clsImage>();
  if (!picture->CreateFromFile(source))
    return Fail(reason,
                QStringLiteral("cannot read the picture (damaged or not a supported format)"));
  auto sized = GetSizedImage(picture, options, false);
  if (!sized) return Fail(reason, QStringLiteral("cannot scale the picture to the size asked for"));
  // An effect that fails leaves the picture as it was; the run goes on without it.
  for (const BatchOptions::Effect& effect : options.effects)
    if (effect.entry) EffectCatalog::Apply(*sized, *effect.entry, effect.level);
  if (!sized->SaveIJLjpg(dest, options.quality))
    return Fail(reason, QStringLiteral("cannot write ") + dest);
  return true;
}

BatchJob::Result BatchJob::Run(const QString& source, const QString& dest,
                               const BatchOptions& options) {
  Result result;
  const QFileInfo info(source);
  if (!info.isFile()) {
    result.reason = QStringLiteral("no such file");
    return result;
  }
  result.bytesBefore = info.size();
  result.ok = SaveImage(source, dest, options, &result.reason);
  if (result.ok) result.bytesAfter = QFileInfo(dest).size();
  return result;
}
