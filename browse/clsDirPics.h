#pragma once
// One browsed folder: its pictures in listing order, the scan that finds them, the page
// of the grid that is drawn, and the click selection with its anchor.
#include <QRect>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class BrowserHost;
class QPainter;
class clsBrowsePic;

class clsDirPics {
 public:
  clsDirPics();
  ~clsDirPics();
  clsDirPics(const clsDirPics&) = delete;
  clsDirPics& operator=(const clsDirPics&) = delete;

  // Shift state of a click: 1 Shift, 2 Ctrl; anything else counts as a plain click.
  static constexpr int kShift = 1;
  static constexpr int kCtrl = 2;

  // The folder, with "/" appended when missing.
  void SetDirectory(const QString& fullPath);
  QString GetDirectory() const { return folder_; }
  // Case-sensitive comparison after appending "/".
  bool IsDirName(const QString& fullPath) const;

  int GetImagesCount() const { return int(items_.size()); }
  // Item 1 .. GetImagesCount(); null outside that range.
  clsBrowsePic* Item(int index) const;
  clsBrowsePic* FindItem(quint64 id) const;

  // Lists the folder's pictures anew, dropping items, selection and thumbnails. The host
  // (may be null) shows progress and can cancel; cleared runs once the old list is gone.
  void RebuildImageList(BrowserHost* host, const std::function<void()>& cleared = {});

  // Draws the page starting at grid line startLine (1-based) and frees the thumbnails of
  // every item not on it. Without a missing list thumbnails are made while drawing, and
  // flush(rect) is called for each cell that just got one; with it, items still lacking a
  // thumbnail are collected there instead, in drawing order.
  void Draw(QPainter& dc, int startLine, int pageWidth, int pageHeight,
            std::vector<clsBrowsePic*>* missing = nullptr,
            const std::function<void(const QRect&)>& flush = {});
  // Redraws one item's cell when it is on that page; returns the cell, or an empty rect.
  QRect DrawItem(QPainter& dc, int index, int startLine, int pageWidth, int pageHeight);

  int GetImagesPerLine(int pageWidth) const;
  int GetPageSize(int pageHeight) const;
  int GetTotalLines(int pageWidth) const;

  void SelectPics(int x, int y, int shift, int pageWidth, int startLine);
  int GetSelectedCount() const;
  // Empty when nothing is selected; else the folder, then NUL and the name as listed for
  // every selected item in list order.
  QString GetSelected() const;
  clsBrowsePic* GetSelectedBrowsePic() const;
  void SelectAll();
  // Selects item index (1-based) alone and makes it the anchor, as a plain click would.
  void SelectOnly(int index);
  // Selects from the anchor to index and nothing else, as Shift with an arrow key does; the
  // anchor stays, so the range can grow and shrink.
  void SelectRangeTo(int index);
  void RemoveSelected();
  // Drops the items whose files are no longer normal files.
  void RemoveInvalid();
  void DeleteImageData();
  int Anchor() const { return anchor_; }
  // The item the last click or key went to: the moving end of a range.
  int Current() const { return current_; }

 private:
  void RemoveWhere(const std::function<bool(const clsBrowsePic&)>& drop);

  QString folder_;
  std::vector<std::unique_ptr<clsBrowsePic>> items_;  // item i lives at items_[i - 1]
  int anchor_ = 0;
  int current_ = 0;
};
