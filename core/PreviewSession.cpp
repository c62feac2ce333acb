#include "core/PreviewSession.h"

#include <QFileInfo>
#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "engine/clsImage.h"

void PreviewSession::ShareOneHeap() {
#ifdef __GLIBC__
  // A round trip allocates and frees tens of megabytes (libjpeg's coefficient arrays). glibc
  // gives every other thread a heap of its own that hands such blocks back to the system after
  // each use, so the same round trip took three times as long on a worker thread, faulting its
  // pages in again; the one shared heap keeps them for the next round trip.
  mallopt(M_ARENA_MAX, 1);
#endif
}

void PreviewSession::Start(std::shared_ptr<clsImage> source, const QString& fileName) {
  source_ = std::move(source);
  working_ = source_;
  optimized_.reset();
  optimizedFrom_.reset();
  quick_ = false;
  fileName_ = fileName;
  figures_ = Figures();
  figures_.fileBytes = QFileInfo(fileName).size();
  if (HasPicture()) figures_.original = QSize(source_->Width(), source_->Height());
}

void PreviewSession::Clear() { Start(nullptr, QString()); }

bool PreviewSession::HasPicture() const { return source_ && source_->hDC() != 0; }

void PreviewSession::Rename(const QString& fileName) {
  fileName_ = fileName;
  figures_.fileBytes = QFileInfo(fileName).size();
}

void PreviewSession::SetProgressive(bool progressive) {
  optimizedFrom_.reset();
  for (const auto& p : {source_, working_})
    if (p) p->SetProgressive(progressive);
}

void PreviewSession::SetStripMetadata(bool strip) {
  optimizedFrom_.reset();
  for (const auto& p : {source_, working_})
    if (p) p->SetStripMetadata(strip);
}

void PreviewSession::SetWorking(std::shared_ptr<clsImage> working, bool quick) {
  working_ = std::move(working);
  quick_ = quick && working_;
  if (!quick_) return;
  optimized_ = working_;
  figures_.optimized = QSize(working_->Width(), working_->Height());
}

bool PreviewSession::Optimize(const std::shared_ptr<clsImage>& picture) {
  const std::shared_ptr<clsImage>& from = picture ? picture : working_;
  if (!from || from->hDC() == 0) return false;
  // The last result is reused as the destination, but never when it is a picture still in
  // use (the source, the working picture after a quick stretch, the proof): those must stay
  // unencoded.
  std::shared_ptr<clsImage> dest = optimized_;
  if (dest && (dest == source_ || dest == working_ || dest == from)) dest.reset();
  int jpegBytes = -1;
  bool lossless = false;
  std::shared_ptr<clsImage> result =
      from->GetOptimizedInstance(quality_, std::move(dest), &jpegBytes, &lossless);
  if (!result || jpegBytes < 0) return false;
  Take(std::move(result), from, jpegBytes, lossless);
  return true;
}

std::shared_ptr<clsImage> PreviewSession::Adopt(std::shared_ptr<clsImage> optimized, int quality,
                                                int jpegBytes, bool lossless) {
  quality_ = quality;
  std::shared_ptr<clsImage> replaced = optimized_;
  Take(std::move(optimized), working_, jpegBytes, lossless);
  if (replaced == source_ || replaced == working_) replaced.reset();
  return replaced;
}

bool PreviewSession::Shows(const std::shared_ptr<clsImage>& working, int quality) const {
  return working && !quick_ && optimized_ && figures_.jpegBytes >= 0 && quality_ == quality &&
         optimizedFrom_.lock() == working;
}

void PreviewSession::Take(std::shared_ptr<clsImage> optimized, const std::shared_ptr<clsImage>& from,
                          int jpegBytes, bool lossless) {
  optimized_ = std::move(optimized);
  optimizedFrom_ = from;
  quick_ = false;
  figures_.optimized = QSize(optimized_->Width(), optimized_->Height());
  figures_.jpegBytes = jpegBytes;
  figures_.lossless = lossless;
}

bool PreviewSession::Encode(QByteArray& jpeg) const {
  return working_ && !quick_ && working_->EncodeJpeg(quality_, jpeg);
}
