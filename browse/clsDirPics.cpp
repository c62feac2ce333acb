#include "browse/clsDirPics.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <algorithm>

#include "browse/BrowseGeometry.h"
#include "browse/BrowserHost.h"
#include "browse/clsBrowsePic.h"
#include "core/modPublic.h"
#include "core/modString.h"
#include "engine/SafeFile.h"

namespace {

QString WithSlash(const QString& path) {
  return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

}  // namespace

clsDirPics::clsDirPics() = default;
clsDirPics::~clsDirPics() = default;

void clsDirPics::SetDirectory(const QString& fullPath) { folder_ = WithSlash(fullPath); }

bool clsDirPics::IsDirName(const QString& fullPath) const { return WithSlash(fullPath) == folder_; }

clsBrowsePic* clsDirPics::Item(int index) const {
  if (index < 1 || index > GetImagesCount()) return nullptr;
  return items_[std::size_t(index - 1)].get();
}

clsBrowsePic* clsDirPics::FindItem(quint64 id) const {
  for (const auto& item : items_)
    if (item->Id() == id) return item.get();
  return nullptr;
}

void clsDirPics::RebuildImageList(BrowserHost* host, const std::function<void()>& cleared) {
  if (host) host->BeginScan();
  // Hidden and special files are left out. The listing is sorted by name without regard to
  // case, as the file systems this browser was first written for list a folder.
  QStringList names = folder_.isEmpty()
                          ? QStringList()
                          : QDir(folder_).entryList(QDir::Files | QDir::NoDotAndDotDot,
                                                    QDir::Name | QDir::IgnoreCase);
  // Names that are not UTF-8 cannot be opened, but are shown (and fail) rather than hidden.
  if (!folder_.isEmpty())
    for (const QString& name : SafeFile::UndecodableNames(folder_))
      if (!name.startsWith(QLatin1Char('.'))) names << name;
  items_.clear();
  anchor_ = current_ = 0;  // they named items of the list just dropped
  if (cleared) cleared();
  if (host) {
    host->SetScanRange(int(names.size()));
    host->LetEventsRun();
  }
  int accepted = 0;
  for (const QString& name : names) {
    if (host && host->ScanCancelled()) break;
    if (modPublic::GetImageType(modString::GetExtension(name).toUpper()) == 0) continue;
    auto item = std::make_unique<clsBrowsePic>();
    item->SetFileName(folder_, name);
    items_.push_back(std::move(item));
    if (host) {
      host->SetScanValue(++accepted);
      host->LetEventsRun();
    }
  }
  if (host) host->EndScan();
}

int clsDirPics::GetImagesPerLine(int pageWidth) const {
  return BrowseGeometry::ImagesPerLine(GetImagesCount(), pageWidth);
}

int clsDirPics::GetPageSize(int pageHeight) const {
  return BrowseGeometry::PageSize(GetImagesCount(), pageHeight);
}

int clsDirPics::GetTotalLines(int pageWidth) const {
  return BrowseGeometry::TotalLines(GetImagesCount(), pageWidth);
}

void clsDirPics::Draw(QPainter& dc, int startLine, int pageWidth, int pageHeight,
                      std::vector<clsBrowsePic*>* missing,
                      const std::function<void(const QRect&)>& flush) {
  const int perLine = GetImagesPerLine(pageWidth);
  const int lines = std::max(pageHeight, 0) / BrowseGeometry::kCellHeight;
  const int first = BrowseGeometry::FirstIndexOfPage(startLine, perLine);
  // The view colour of the desktop, as a file manager's icon view: what the columns leave at
  // the right is page, not a band of its own, and a dark palette gives a dark page.
  dc.fillRect(0, 0, pageWidth, pageHeight, QGuiApplication::palette().color(QPalette::Base));

  const int n = GetImagesCount();
  int next = first;  // first item not drawn
  if (perLine > 0) {
    int row = 0, column = 0;
    for (; next <= n; ++next) {
      if (column >= perLine) {
        ++row;
        column = 0;
        if (row > lines) break;  // the row below the last whole one shows in part
      }
      clsBrowsePic* item = Item(next);
      if (item->Draw(dc, row, column, missing == nullptr) && flush)
        flush(BrowseGeometry::InnerCell(row, column));
      if (missing && item->NeedsThumbnail()) missing->push_back(item);
      ++column;
    }
  } else {
    next = 1;  // no cell fits: nothing is shown
  }
  for (int i = 1; i <= n; ++i)
    if (i < first || i >= next) Item(i)->DeleteImageData();
}

QRect clsDirPics::DrawItem(QPainter& dc, int index, int startLine, int pageWidth, int pageHeight) {
  const int perLine = GetImagesPerLine(pageWidth);
  const int first = BrowseGeometry::FirstIndexOfPage(startLine, perLine);
  clsBrowsePic* item = Item(index);
  if (!item || perLine == 0 || index < first) return {};
  const int row = (index - first) / perLine, column = (index - first) % perLine;
  if (row > std::max(pageHeight, 0) / BrowseGeometry::kCellHeight) return {};
  item->Draw(dc, row, column, false);
  return BrowseGeometry::InnerCell(row, column);
}

void clsDirPics::SelectPics(int x, int y, int shift, int pageWidth, int startLine) {
  if (shift != kCtrl)
    for (auto& item : items_) item->SetSelected(false);
  const int index =
      BrowseGeometry::HitIndex(x, y, GetImagesPerLine(pageWidth), startLine, GetImagesCount());
  if (index == 0) return;
  if (shift == kShift) {
    // The anchor may lie above or below; 0 (no click yet) starts the range at item 1.
    const int from = std::clamp(anchor_, 1, GetImagesCount());
    const int step = from <= index ? 1 : -1;
    for (int i = from;; i += step) {
      Item(i)->SetSelected(true);
      if (i == index) break;
    }
    // The anchor stays where the range began, as in a file manager.
    anchor_ = from;
    current_ = index;
    return;
  } else if (shift == kCtrl) {
    Item(index)->SetSelected(!Item(index)->IsSelected());
  } else {
    Item(index)->SetSelected(true);
  }
  anchor_ = current_ = index;
}

int clsDirPics::GetSelectedCount() const {
  return int(std::count_if(items_.begin(), items_.end(),
                           [](const auto& item) { return item->IsSelected(); }));
}

QString clsDirPics::GetSelected() const {
  QString list;
  for (const auto& item : items_)
    if (item->IsSelected()) list += QChar(0) + item->GetDiskName();
  return list.isEmpty() ? list : folder_ + list;
}

clsBrowsePic* clsDirPics::GetSelectedBrowsePic() const {
  for (const auto& item : items_)
    if (item->IsSelected()) return item.get();
  return nullptr;
}

void clsDirPics::SelectOnly(int index) {
  if (!Item(index)) return;
  for (auto& item : items_) item->SetSelected(false);
  Item(index)->SetSelected(true);
  anchor_ = current_ = index;
}

void clsDirPics::SelectRangeTo(int index) {
  if (!Item(index)) return;
  if (!Item(anchor_)) anchor_ = index;
  const auto [low, high] = std::minmax(anchor_, index);
  for (int i = 1; i <= GetImagesCount(); ++i) Item(i)->SetSelected(i >= low && i <= high);
  current_ = index;
}

void clsDirPics::SelectAll() {
  for (auto& item : items_) item->SetSelected(true);
}

void clsDirPics::RemoveWhere(const std::function<bool(const clsBrowsePic&)>& drop) {
  items_.erase(
      std::remove_if(items_.begin(), items_.end(), [&](const auto& item) { return drop(*item); }),
      items_.end());
}

void clsDirPics::RemoveSelected() {
  RemoveWhere([](const clsBrowsePic& item) { return item.IsSelected(); });
}

void clsDirPics::RemoveInvalid() {
  RemoveWhere([this](const clsBrowsePic& item) {
    return !QFileInfo(folder_ + item.GetDiskName()).isFile();
  });
}

void clsDirPics::DeleteImageData() {
  for (auto& item : items_) item->DeleteImageData();
}
