#pragma once
// The effect dialog's preview area: one picture painted at its own size, centred (halves to
// even), on the window background.
#include <QWidget>
#include <memory>

class clsImage;

class EffectPicture : public QWidget {
  Q_OBJECT
 public:
  explicit EffectPicture(QWidget* parent = nullptr);

  void SetPicture(std::shared_ptr<clsImage> picture);
  std::shared_ptr<clsImage> Picture() const { return picture_; }
  // Top-left corner of a picture centred in an area; may be negative for a larger picture.
  static QPoint CentredOrigin(QSize area, QSize picture);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::shared_ptr<clsImage> picture_;
};
