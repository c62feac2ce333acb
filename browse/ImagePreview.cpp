#include "browse/ImagePreview.h"

#include <QEvent>
#include <QPainter>

#include "browse/ViewGeometry.h"
#include "engine/clsImage.h"

ImagePreview::ImagePreview(QWidget* parent) : QWidget(parent), box_(new QWidget(this)) {
  setObjectName(QStringLiteral("ImagePreview"));
  setAutoFillBackground(true);
  box_->setObjectName(QStringLiteral("ImageView"));
  box_->setAttribute(Qt::WA_OpaquePaintEvent);
  box_->installEventFilter(this);
  box_->hide();
}

ImagePreview::~ImagePreview() = default;

void ImagePreview::LoadImage(const QString& fileName) {
  if (!image_) image_ = std::make_unique<clsImage>();
  // A failed load leaves the object empty, which is what shows nothing.
  image_->CreateFromFile(fileName);
  LayOut();
}

bool ImagePreview::HasPicture() const { return image_ && image_->hDC() != 0; }

void ImagePreview::resizeEvent(QResizeEvent*) { LayOut(); }

void ImagePreview::LayOut() {
  update();
  if (!HasPicture()) {
    box_->hide();
    return;
  }
  const QRect box = ViewGeometry::FittedBox(size(), QSize(image_->Width(), image_->Height()));
  box_->setGeometry(box);
  box_->setVisible(!box.isEmpty());
  box_->update();
}

bool ImagePreview::eventFilter(QObject* watched, QEvent* event) {
  if (watched == box_ && event->type() == QEvent::Paint) {
    QPainter dc(box_);
    if (HasPicture()) image_->PaintPicture(dc, 0, 0, box_->width(), box_->height());
    return true;
  }
  return QWidget::eventFilter(watched, event);
}
