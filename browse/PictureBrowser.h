#pragma once
// The scrolling grid of thumbnails of one folder at a time. Keeps a model for every folder
// shown so far, draws through an off-screen buffer, turns clicks into the selection and
// tells its host about double-clicks, selection changes and context-menu requests.
#include <QString>
#include <QWidget>
#include <memory>
#include <vector>

#include "browse/ThumbnailResult.h"

class BrowserHost;
class QScrollBar;
class ThumbnailLoader;
class clsBrowsePic;
class clsDirPics;
class clsImage;

class PictureBrowser : public QWidget {
  Q_OBJECT
 public:
  explicit PictureBrowser(QWidget* parent = nullptr);
  ~PictureBrowser() override;

  // The window that shows scan progress and the picture count; may stay unset.
  void SetHost(BrowserHost* host) { host_ = host; }
  // Thumbnails on worker threads (default) or made while the page is drawn.
  void SetBackgroundThumbnails(bool on) { background_ = on; }

  // A folder seen before comes from the cache with its old selection unless bAlwaysRefresh.
  void SetDirectory(const QString& fullPath, bool bAlwaysRefresh = false);
  QString GetSelected() const;
  clsBrowsePic* GetSelectedBrowsePic() const;
  void SelectAll();
  void RemoveSelected();
  void RemoveInvalid();
  // Rescans the folder shown.
  void RefreshCurrentList();
  void ReDraw();
  // Copies the rectangle from (x1, y1) to (x2, y2) of the off-screen page to the screen.
  void FlushGraphics(int x1, int y1, int x2, int y2);
  void SetEnabled(bool bEnabled);

  clsDirPics* Current() const { return current_; }
  QWidget* Pictures() const { return pictures_; }
  QScrollBar* VScroll() const { return vscroll_; }
  int CachedFolderCount() const { return int(cache_.size()); }
  // True while thumbnails of the page shown are still being made.
  bool ThumbnailsPending() const;

 Q_SIGNALS:
  void DblClick();
  // The Delete key with something selected: the host asks and deletes.
  void DeleteRequested();
  void SelectionChanged();
  // The first selected picture's thumbnail was read, and with it its size.
  void SelectedPictureRead();
  // Right button pressed while something is selected; position in this control's pixels.
  void Menu(int x, int y);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Rebuild(clsDirPics& model);
  void RenderPage();
  void PaintSurface(const QRect& area);
  void MousePress(QMouseEvent* event);
  // Arrow keys: the selection moves by columns and lines and stays on the page.
  // extend: Shift held, the range from the anchor follows the key.
  void MoveSelection(int key, bool extend);
  void ThumbnailReady(quint64 id, const ThumbnailResult& result);
  void EnsureBackBuffer(int width, int height);

  BrowserHost* host_ = nullptr;
  bool background_ = true;
  bool scanning_ = false;
  bool rendering_ = false;
  std::vector<std::unique_ptr<clsDirPics>> cache_;
  std::unique_ptr<clsDirPics> initial_;  // the empty model shown before any folder
  clsDirPics* current_;
  std::unique_ptr<clsImage> backBuffer_;
  QWidget* pictures_;
  QScrollBar* vscroll_;
  ThumbnailLoader* loader_;
};
