#include "controls/ButtonPicture.h"

#include <QPainter>

ButtonPicture::ButtonPicture(QWidget* parent) : QWidget(parent) {
  setObjectName("ImgBut");
  // Presses on the picture belong to the button.
  setAttribute(Qt::WA_TransparentForMouseEvents);
  resize(0, 0);
}

void ButtonPicture::SetPicture(const QPixmap& picture) {
  picture_ = picture;
  FitSize();
  update();
}

void ButtonPicture::SetFramed(bool framed) {
  if (framed_ == framed) return;
  framed_ = framed;
  FitSize();
  update();
}

void ButtonPicture::SetFaceColor(const QColor& colour) {
  face_ = colour;
  update();
}

void ButtonPicture::FitSize() {
  if (picture_.isNull()) {
    resize(0, 0);
    return;
  }
  const QSize natural = picture_.deviceIndependentSize().toSize();
  resize(framed_ ? natural + QSize(2, 2) : natural);
}

void ButtonPicture::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const int inset = framed_ ? 1 : 0;
  painter.drawPixmap(inset, inset, picture_);
  if (framed_) {
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(0, 0, width() - 1, height() - 1);
  }
  if (!isEnabled()) {
    painter.setPen(face_);
    for (int x = 0; x < width(); ++x) {
      for (int y = x % 2; y < height(); y += 2) painter.drawPoint(x, y);
    }
  }
}
