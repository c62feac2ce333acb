#pragma once
// Shows one picture file scaled to fit its area and centred, smaller pictures enlarged;
// shows nothing while no picture is loaded.
#include <QString>
#include <QWidget>
#include <memory>

class clsImage;

class ImagePreview : public QWidget {
  Q_OBJECT
 public:
  explicit ImagePreview(QWidget* parent = nullptr);
  ~ImagePreview() override;

  // An empty name or a file that does not load leaves the preview empty.
  void LoadImage(const QString& fileName);
  bool HasPicture() const;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void LayOut();

  std::unique_ptr<clsImage> image_;
  QWidget* box_;  // the drawing box "ImageView", sized to the fitted picture
};
