#include "engine/clsImage.h"

#include <QFileInfo>
#include <atomic>
#include <cmath>

#include "engine/ImageFormat.h"
#include "engine/PixelScaler.h"
#include "engine/Rounding.h"
#include "engine/SafeFile.h"
#include "engine/VipsAdapter.h"

namespace {

int NextContextId() {
  static std::atomic<int> next{1};
  int id = next.fetch_add(1);
  if (id <= 0) {  // wrapped: start again, never at 0
    next = 2;
    id = 1;
  }
  return id;
}

// Smooth scaling: exact area averaging when the picture gets smaller (fast, no ringing),
// Lanczos through libvips when it grows. out is drawn into in place when it has the size.
bool SmoothScale(const ImageDescriptor& src, int width, int height, ImageDescriptor& out) {
  if (width > src.Width() || height > src.Height())
    return VipsAdapter::ResizeSmooth(src, width, height, out);
  if ((out.Width() != width || out.Height() != height) &&
      out.Allocate(width, height, false) != kImageOk)
    return false;
  PixelScaler::AreaAverage(src, out);
  return true;
}

// The content decides only when the extension says nothing.
constexpr qint64 kSniffBytes = 128;

const QString kTooLarge = QString::fromLatin1(kTooLargeText);

}  // namespace

void clsImage::Attach(ImageDescriptor&& pixels) {
  const std::uint8_t* previous = pixels_.Bits();
  pixels_ = std::move(pixels);
  sourceJpeg_.clear();
  Reattached(previous);
}

void clsImage::Reattached(const std::uint8_t* previousBits) {
  if (pixels_.Empty())
    dc_ = 0;
  else if (dc_ == 0 || pixels_.Bits() != previousBits)
    dc_ = NextContextId();
}

int clsImage::Create(int width, int height, int bitsPerPixel) {
  ClearUp();
  if (bitsPerPixel != 24) return kImageBadArgument;
  ImageDescriptor pixels;
  const int code = pixels.Allocate(width, height, true);
  if (code == kImageOk) Attach(std::move(pixels));
  return code;
}

void clsImage::ClearUp() {
  pixels_.Release();
  dc_ = 0;
  sourceJpeg_.clear();
  metadata_ = PictureMetadata();
  loadError_.clear();
  incomplete_ = false;
}

void clsImage::TakeMetadataOf(const clsImage& other) {
  metadata_ = other.metadata_;
  stripMetadata_ = other.stripMetadata_;
  progressive_ = other.progressive_;
  plainEncoder_ = other.plainEncoder_;
}

bool clsImage::CreateFromFile(const QString& fileName) {
  ClearUp();
  if (QFileInfo(fileName).size() > kMaxFileBytes) {
    loadError_ = QString::fromLatin1(kFileTooLargeText);
    return false;
  }
  ImageFormat::Code format = ImageFormat::FromExtension(fileName);
  if (format == ImageFormat::kUnknown) {
    QByteArray head;
    if (!SafeFile::Read(fileName, head, kSniffBytes)) return false;
    format = ImageFormat::FromContent(head, true);
    if (format == ImageFormat::kUnknown) return false;
  }
  // libvips only for the JPEGs the engine's decoder does not convert: a damaged one is
  // judged by that decoder's rule alone.
  bool foreign = false;
  if (format == ImageFormat::kJpeg && (ReadJpegFile(fileName, &foreign) || !foreign))
    return hDC() != 0;
  ImageDescriptor pixels;
  VipsAdapter::Extras extras;
  if (!VipsAdapter::LoadFile(fileName, format, pixels, &extras)) {
    if (extras.tooLarge) loadError_ = kTooLarge;
    incomplete_ = extras.brokenData;
    return false;
  }
  Attach(std::move(pixels));
  metadata_ = extras.metadata;
  return true;
}

bool clsImage::CreateFromBuffer(const QByteArray& bytes) {
  ClearUp();
  return DecodeBytes(bytes, ImageFormat::FromContent(bytes, false));
}

bool clsImage::CreateFromBuffer(const QByteArray& bytes, const QString& extension) {
  ClearUp();
  QString ext = extension;
  if (ext.startsWith('.')) ext.remove(0, 1);
  ImageFormat::Code format = ext.contains('.') || ext.contains('/')
                                 ? ImageFormat::kUnknown
                                 : ImageFormat::FromExtension(QStringLiteral("picture.") + ext);
  if (format == ImageFormat::kUnknown) format = ImageFormat::FromContent(bytes, true);
  return DecodeBytes(bytes, format);
}

bool clsImage::DecodeBytes(const QByteArray& bytes, int format) {
  if (format == ImageFormat::kUnknown) return false;
  bool foreign = false;
  if (format == ImageFormat::kJpeg &&
      (DecodeJpeg(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                  std::size_t(bytes.size()), &foreign, true) ||
       !foreign))
    return hDC() != 0;
  ImageDescriptor pixels;
  VipsAdapter::Extras extras;
  if (!VipsAdapter::LoadBuffer(bytes, ImageFormat::Code(format), pixels, &extras)) {
    if (extras.tooLarge) loadError_ = kTooLarge;
    incomplete_ = extras.brokenData;
    return false;
  }
  Attach(std::move(pixels));
  metadata_ = extras.metadata;
  return true;
}

void clsImage::PaintPicture(QPainter& dc, int left, int top, int width, int height) const {
  if (width < 0) width = Width();
  if (height < 0) height = Height();
  QtSurface::Draw(dc, QRect(left, top, width, height), pixels_, QRect(0, 0, Width(), Height()),
                  StretchMode::kColorOnColor);
}

void clsImage::Stretch(QPainter& dc, int left, int top, int width, int height, int srcLeft,
                       int srcTop, int srcWidth, int srcHeight, QPainter::CompositionMode rop,
                       StretchMode mode) const {
  if (width < 0) width = Width();
  if (height < 0) height = Height();
  if (srcWidth < 0) srcWidth = Width();
  if (srcHeight < 0) srcHeight = Height();
  QtSurface::Draw(dc, QRect(left, top, width, height), pixels_,
                  QRect(srcLeft, srcTop, srcWidth, srcHeight), mode, rop);
}

std::shared_ptr<clsImage> clsImage::GetNewInstance() const {
  auto copy = std::make_shared<clsImage>();
  ImageDescriptor pixels = pixels_.Clone();
  if (!pixels.Empty()) copy->Attach(std::move(pixels));
  copy->TakeMetadataOf(*this);
  copy->sourceJpeg_ = sourceJpeg_;
  copy->tidyRefused_ = tidyRefused_.load();
  return copy;
}

std::shared_ptr<clsImage> clsImage::GetScaledInstance(int& newWidth, int& newHeight,
                                                      std::shared_ptr<clsImage> dest, bool fast,
                                                      bool keepProportions) const {
  newWidth = std::max(newWidth, 1);
  newHeight = std::max(newHeight, 1);
  // Scaling into itself: work from a copy, since Create below empties the destination.
  ImageDescriptor ownCopy;
  const ImageDescriptor* source = &pixels_;
  if (dest.get() == this) {
    ownCopy = pixels_.Clone();
    source = &ownCopy;
  }
  if (!dest) {
    dest = std::make_shared<clsImage>();
    dest->Create(newWidth, newHeight, 24);
  } else if (dest->hDC() == 0 || dest->Width() != newWidth || dest->Height() != newHeight) {
    dest->Create(newWidth, newHeight, 24);
  }
  if (dest->hDC() == 0 || source->Empty()) return nullptr;
  if (dest.get() != this) dest->TakeMetadataOf(*this);

  QRect target(0, 0, newWidth, newHeight);
  if (keepProportions) {
    const double rx = double(newWidth) / source->Width();
    const double ry = double(newHeight) / source->Height();
    const float scale = float(ry <= rx ? ry : rx);
    const int w = std::max(1, Rounding::HalfEven(double(scale) * source->Width()));
    const int h = std::max(1, Rounding::HalfEven(double(scale) * source->Height()));
    target = QRect((newWidth - w) / 2, (newHeight - h) / 2, w, h);
  }
  if (fast) {
    PixelScaler::Nearest(*source, QRect(0, 0, source->Width(), source->Height()), dest->pixels_,
                         target);
    return dest;
  }
  if (target == QRect(0, 0, newWidth, newHeight))  // no margins: straight into dest
    return SmoothScale(*source, newWidth, newHeight, dest->pixels_) ? dest : nullptr;
  ImageDescriptor scaled;
  if (!SmoothScale(*source, target.width(), target.height(), scaled)) return nullptr;
  PixelScaler::Blit(scaled, dest->pixels_, target.left(), target.top());
  return dest;
}

void clsImage::Resize(int newWidth, int newHeight, bool fast) {
  if (pixels_.Empty()) return;
  ImageDescriptor scaled;
  if (fast) {
    if (scaled.Allocate(newWidth, newHeight, false) != kImageOk) return;
    PixelScaler::Nearest(pixels_, QRect(0, 0, Width(), Height()), scaled,
                         QRect(0, 0, newWidth, newHeight));
  } else if (!ImageDescriptor::SizeAllowed(newWidth, newHeight) ||
             !SmoothScale(pixels_, newWidth, newHeight, scaled)) {
    return;
  }
  Attach(std::move(scaled));
}
