#pragma once
// One picture of a browsed folder: its names, selected flag, thumbnail (decoded while on
// the page, kept as compact JPEG bytes otherwise) and the drawing of its grid cell.
#include <QByteArray>
#include <QSize>
#include <QString>
#include <memory>

#include "browse/ThumbnailResult.h"

class QPainter;
class clsImage;

class clsBrowsePic {
 public:
  // Stands in for the folder once a picture failed to load, so it is never tried again.
  static const QString kLoadFailedPath;

  clsBrowsePic();
  ~clsBrowsePic();
  clsBrowsePic(const clsBrowsePic&) = delete;
  clsBrowsePic& operator=(const clsBrowsePic&) = delete;

  // Path is the folder ending in "/"; the name is kept as listed for file access and
  // lower-cased for display and comparison.
  void SetFileName(const QString& path, const QString& fileName);
  QString GetFileName() const { return lowerName_; }
  QString GetDiskName() const { return diskName_; }
  QString GetPath() const { return path_; }
  QString FullPath() const { return path_ + diskName_; }
  // Unique for the life of the process, so a late thumbnail finds its item or nothing.
  quint64 Id() const { return id_; }

  // Makes the thumbnail here and now; false when the file does not load.
  bool LoadImage(bool freeAfterwards);
  // The same thumbnail made elsewhere (another thread), handed over.
  void SetThumbnail(const ThumbnailResult& result);
  // Thumbnail making for a file, on the thread of the engine's image objects.
  static ThumbnailResult MakeThumbnail(const QString& fileName);
  bool HasThumbnail() const { return !buffer_.isEmpty(); }
  bool HasDecodedThumbnail() const;
  // Size of the decoded thumbnail; empty while there is none.
  QSize DecodedSize() const;
  bool LoadFailed() const { return failed_; }
  // True when the thumbnail is missing and the file may still give one.
  bool NeedsThumbnail() const;

  // Draws the cell at grid position (row, column). With loadIfMissing a missing thumbnail
  // is made first; otherwise the cell shows frame and caption until one is handed over.
  // Returns true when a thumbnail was just made.
  bool Draw(QPainter& dc, int row, int column, bool loadIfMissing);

  static int GetWidth();
  static int GetHeight();
  int GetPictureWidth() const { return pictureWidth_; }
  int GetPictureHeight() const { return pictureHeight_; }
  void SetSelected(bool selected) { selected_ = selected; }
  bool IsSelected() const { return selected_; }
  // Frees the decoded thumbnail; the bytes stay.
  void DeleteImageData();

 private:
  void RestoreFromBuffer();

  quint64 id_;
  QString path_;
  QString diskName_;
  QString lowerName_;
  bool selected_ = false;
  bool failed_ = false;
  std::unique_ptr<clsImage> thumbnail_;
  QByteArray buffer_;
  int pictureWidth_ = 0;
  int pictureHeight_ = 0;
};
