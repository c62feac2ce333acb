#pragma once
// A zoomable view of one shared image object: scroll bars, a vertical zoom slider (0.2 % to
// 200 %), a zoom read-out in the corner, and panning by dragging. Only the visible part of the
// picture is drawn, into a view-sized back buffer, so a repaint costs the same for any picture.
#include <QWidget>
#include <memory>

class QLabel;
class QScrollBar;
class QSlider;
class clsImage;

class ImageView : public QWidget {
  Q_OBJECT
 public:
  explicit ImageView(QWidget* parent = nullptr);
  ~ImageView() override;

  // Holds img (may be null) and goes back to 100 %, or fits it when the view is fitted; never
  // repaints by itself: follow it with ZoomToFit, a resize or Refresh.
  void SetImage(std::shared_ptr<clsImage> img);
  // Another picture of the same size in place of the held one (a new encoding of it): zoom
  // and place stay, and it is painted at once. Of another size it is SetImage.
  void ReplaceImage(std::shared_ptr<clsImage> img);
  std::shared_ptr<clsImage> Image() const { return image_; }
  void Refresh();
  // The largest zoom, within the slider's range, at which the whole picture fits the view. The
  // view stays fitted (new pictures, resizes) until the user zooms.
  void ZoomToFit();
  bool IsFitted() const { return fitted_; }
  // Takes other's zoom and the same share of its scroll ranges, or fits when other is fitted;
  // emits nothing, so two views can follow each other.
  void FollowView(const ImageView& other);
  double GetZoomValue() const;
  // A copy of the back buffer: exactly what the view shows, margins included.
  std::shared_ptr<clsImage> GetViewAreaAsImage() const;
  // The room the view's own bars take beside and below the picture area.
  int GetDeltaWidth() const;
  int GetDeltaHeight() const;
  // The picture area: the control less its bars.
  QSize ViewSize() const;

 signals:
  // After every repaint of the back buffer, so that a host can follow what is shown.
  void Paint();
  // The end of a drag: the window the user works in should come to the front.
  void FrontRequested();
  // The user zoomed or panned.
  void ViewMoved();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void OnZoomChanged(int value);
  void OnScrolled();
  void SetFitZoom();
  void ResizeView();
  void LayOutBars();
  void Repaint();
  bool HasImage() const;

  std::shared_ptr<clsImage> image_;
  std::unique_ptr<clsImage> backBuffer_;
  QWidget* rightBar_;
  QScrollBar* vScroll_;
  QSlider* zoomSlider_;
  QWidget* bottomBar_;
  QScrollBar* hScroll_;
  QLabel* rightBottom_;
  bool refreshAllowed_ = false;
  bool fitted_ = false;
  bool following_ = false;  // zoom and scroll set by the program, not the user
  bool dragging_ = false;
  int anchorX_ = 0;
  int anchorY_ = 0;
};
