#pragma once
// BatchJob: the work on one picture of a batch run: load, size, apply the effects and write
// the JPEG, with the byte counts the run's totals add up.
#include <QSize>
#include <QString>
#include <memory>

#include "core/BatchOptions.h"

class clsImage;

class BatchJob {
 public:
  struct Result {
    bool ok = false;
    qint64 bytesBefore = 0;  // the source's length when the job started
    qint64 bytesAfter = 0;   // the written file's length
    QString reason;          // why it failed, or with ok why it was kept or a warning
    int width = 0;           // the written picture's size
    int height = 0;
    bool kept = false;  // with ok: the source was kept as it was (copied to dest)
    bool lossless = false;  // with ok: the JPEG source's coefficients rewritten, no re-encode
    int quality = 0;        // with ok and not kept: the quality written (the search's choice)
  };

  // The size the options ask of a width x height picture: its own size when no resizing is
  // asked for; invalid when manual sizing has neither side.
  static QSize TargetSize(int width, int height, const BatchOptions& options);
  // The picture at the options' size: the picture itself when no resizing is asked for or
  // the size is already right; null when manual sizing has neither side or scaling failed.
  // One manual side alone keeps the picture's aspect ratio.
  static std::shared_ptr<clsImage> GetSizedImage(const std::shared_ptr<clsImage>& picture,
                                                 const BatchOptions& options, bool fast);
  // Loads source, sizes it, applies the effects and writes dest as JPEG. dest is replaced
  // atomically, so a failure leaves any existing file as it was; a write-protected dest is
  // refused. The reason is set on failure, the written picture's size on success.
  static bool SaveImage(const QString& source, const QString& dest, const BatchOptions& options,
                        QString* reason = nullptr, QSize* size = nullptr);
  // SaveImage with the lengths before and after, as the run counts them. A JPEG that
  // only gets re-encoded is kept when the result is not smaller (unless allowLarger); a
  // JPEG whose data ends early never replaces itself, and elsewhere is written with a warning.
  // With a byte budget the highest quality that fits is written; a picture that does not fit
  // even at the lowest quality fails and nothing is written. Auto quality finds its quality
  // first, and a byte budget then searches below it.
  static Result Run(const QString& source, const QString& dest, const BatchOptions& options);

 private:
  // The JPEG made straight from the file, when nothing asked for needs the whole picture;
  // resized says whether its size differs from the source's. jpeg is the source file when it
  // is a JPEG, else empty.
  static bool Streamed(const QString& source, const BatchOptions& options, const QByteArray& jpeg,
                       QByteArray& encoded, QSize& size, bool& resized);
  static void Work(const QString& source, const QString& dest, const BatchOptions& options,
                   Result& result);
};
