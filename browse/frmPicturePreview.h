#pragma once
// A floating window showing one shared image object in a zoomable view, sized to the picture
// (within the screen). Its owner decides whether it may close and what comes to the front
// with it; the preview knows no other window.
#include <QRect>
#include <QSize>
#include <QWidget>
#include <functional>
#include <memory>

class ImageView;
class clsImage;

class frmPicturePreview : public QWidget {
  Q_OBJECT
 public:
  // The smallest client area, whatever the picture.
  static constexpr QSize kMinimumSize{120, 90};

  explicit frmPicturePreview(QWidget* parent = nullptr, Qt::WindowFlags flags = Qt::Window);
  ~frmPicturePreview() override;

  // Holds img itself (never a copy) and sizes the window to it unless maximised.
  void SetImage(std::shared_ptr<clsImage> img);
  std::shared_ptr<clsImage> GetImage() const { return image_; }
  // A new encoding of the held picture (the same size): the window and its zoom stay.
  void ReplaceImage(std::shared_ptr<clsImage> img);
  // Shows changes made to the held picture.
  void RedrawImage();
  // Keeps the frame inside area (screen coordinates) whenever it is sized to its picture, so
  // that a growing picture does not cover the window that placed this one, until the user
  // moves it out of the area. Empty: the screen only.
  void SetSizeLimit(const QRect& area) { limit_ = area; }
  // The frame size the picture asks for on its screen, whatever limit an earlier picture
  // left: placing the windows from it keeps one small picture from shrinking every later one.
  QSize WantedFrameSize() const;
  ImageView* View() const { return view_; }
  // Asked before every close; false keeps the window open with its picture (the optimiser's
  // save question was cancelled). None: the window always closes.
  void SetCloseGuard(std::function<bool()> mayClose) { mayClose_ = std::move(mayClose); }

 signals:
  // Activated, or a drag in the view ended: the windows worked in should come up with it.
  void FrontRequested();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void SizeToPicture();
  // The frame for the picture held, within the screen, and within the size limit if limited.
  QRect FrameForPicture(bool limited) const;

  std::shared_ptr<clsImage> image_;
  ImageView* view_;
  QRect limit_;
  std::function<bool()> mayClose_;
};
