#pragma once
// The picture area of an image button: the picture at its natural size, an optional
// single-line frame, and a 50 % stipple of the face colour while the button is disabled.
#include <QColor>
#include <QPixmap>
#include <QWidget>

class ButtonPicture : public QWidget {
  Q_OBJECT
 public:
  explicit ButtonPicture(QWidget* parent);

  void SetPicture(const QPixmap& picture);
  const QPixmap& Picture() const { return picture_; }
  void SetFramed(bool framed);
  bool Framed() const { return framed_; }
  // Colour of the disabled stipple: the button's face.
  void SetFaceColor(const QColor& colour);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void FitSize();

  QPixmap picture_;
  bool framed_ = false;
  QColor face_;
};
