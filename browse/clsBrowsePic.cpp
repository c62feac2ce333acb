#include "browse/clsBrowsePic.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <atomic>

#include "browse/BrowseGeometry.h"
#include "browse/CellPainter.h"
#include "engine/EngineThumbnail.h"
#include "engine/clsImage.h"

const QString clsBrowsePic::kLoadFailedPath = QStringLiteral("Could not load file/");

namespace {
quint64 NextId() {
  static std::atomic<quint64> next{1};
  return next.fetch_add(1);
}
}  // namespace

clsBrowsePic::clsBrowsePic() : id_(NextId()), thumbnail_(std::make_unique<clsImage>()) {}
clsBrowsePic::~clsBrowsePic() = default;

void clsBrowsePic::SetFileName(const QString& path, const QString& fileName) {
  path_ = path;
  diskName_ = fileName;
  lowerName_ = fileName.toLower();
}

int clsBrowsePic::GetWidth() { return BrowseGeometry::kCellWidth; }
int clsBrowsePic::GetHeight() { return BrowseGeometry::kCellHeight; }

ThumbnailResult clsBrowsePic::MakeThumbnail(const QString& fileName) {
  EngineThumbnail::Result made;
  if (!EngineThumbnail::Make(fileName, BrowseGeometry::ThumbnailSize, made)) return {};
  return {true, made.pictureWidth, made.pictureHeight, made.buffer};
}

bool clsBrowsePic::LoadImage(bool freeAfterwards) {
  SetThumbnail(MakeThumbnail(FullPath()));
  if (failed_) return false;
  if (!freeAfterwards) RestoreFromBuffer();
  return true;
}

void clsBrowsePic::SetThumbnail(const ThumbnailResult& result) {
  thumbnail_->ClearUp();
  if (!result.ok) {
    path_ = kLoadFailedPath;
    failed_ = true;
    return;
  }
  pictureWidth_ = result.pictureWidth;
  pictureHeight_ = result.pictureHeight;
  buffer_ = result.buffer;
}

bool clsBrowsePic::HasDecodedThumbnail() const { return thumbnail_->hDC() != 0; }

QSize clsBrowsePic::DecodedSize() const {
  return HasDecodedThumbnail() ? QSize(thumbnail_->Width(), thumbnail_->Height()) : QSize();
}

bool clsBrowsePic::NeedsThumbnail() const {
  return buffer_.isEmpty() && !failed_ && QFileInfo(FullPath()).isFile();
}

void clsBrowsePic::RestoreFromBuffer() {
  if (!buffer_.isEmpty() && thumbnail_->hDC() == 0) thumbnail_->LoadFromBuffer(buffer_);
}

void clsBrowsePic::DeleteImageData() { thumbnail_->ClearUp(); }

bool clsBrowsePic::Draw(QPainter& dc, int row, int column, bool loadIfMissing) {
  bool justLoaded = false;
  if (!buffer_.isEmpty())
    RestoreFromBuffer();
  else if (loadIfMissing && NeedsThumbnail())
    justLoaded = LoadImage(false);

  const QRect inner = BrowseGeometry::InnerCell(row, column);
  CellPainter::Frame(dc, inner, selected_);
  if (thumbnail_->hDC() != 0) {
    const QPoint at =
        BrowseGeometry::ThumbnailOrigin(inner, thumbnail_->Width(), thumbnail_->Height());
    thumbnail_->PaintPicture(dc, at.x(), at.y());
  }
  // The name as it is on disk: two names that differ only in case are two files here.
  CellPainter::Caption(dc, BrowseGeometry::CaptionRect(inner), diskName_, selected_);
  return justLoaded;
}
