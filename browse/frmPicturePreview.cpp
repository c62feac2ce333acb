#include "browse/frmPicturePreview.h"

#include <QCloseEvent>
#include <QScreen>

#include "browse/ImageView.h"
#include "browse/ViewGeometry.h"
#include "engine/clsImage.h"
#include "settings/clsLanguage.h"

frmPicturePreview::frmPicturePreview(QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags), view_(new ImageView(this)) {
  setObjectName(QStringLiteral("frmPicturePreview"));
  // A tiny picture would leave no room for the scroll bars and the zoom read-out.
  setMinimumSize(kMinimumSize);
  connect(view_, &ImageView::FrontRequested, this, &frmPicturePreview::FrontRequested);
  Language().UpdateObject(this);
}

frmPicturePreview::~frmPicturePreview() = default;

void frmPicturePreview::SetImage(std::shared_ptr<clsImage> img) {
  image_ = std::move(img);
  view_->SetImage(image_);
  SizeToPicture();
}

void frmPicturePreview::ReplaceImage(std::shared_ptr<clsImage> img) {
  const bool sameSize = img && image_ && img->Width() == image_->Width() &&
                        img->Height() == image_->Height();
  if (!sameSize) return SetImage(std::move(img));
  image_ = std::move(img);
  view_->ReplaceImage(image_);
}

void frmPicturePreview::RedrawImage() { view_->Refresh(); }

QRect frmPicturePreview::FrameForPicture(bool limited) const {
  const QRect frame = frameGeometry();
  const QSize extra =
      frame.size() - size() + QSize(view_->GetDeltaWidth(), view_->GetDeltaHeight());
  QRect available = screen() ? screen()->availableGeometry() : QRect();
  // A window the user moved out of its place is no longer held to it.
  if (limited && limit_.contains(frame.topLeft()))
    available = available.isValid() ? available.intersected(limit_) : limit_;
  return ViewGeometry::PreviewFrame(frame, QSize(image_->Width(), image_->Height()), extra,
                                    available);
}

QSize frmPicturePreview::WantedFrameSize() const {
  if (!image_ || image_->hDC() == 0) return frameGeometry().size();
  return FrameForPicture(false).size();
}

void frmPicturePreview::SizeToPicture() {
  if (isMaximized() || isFullScreen() || !image_ || image_->hDC() == 0) return;
  const QRect target = FrameForPicture(true);
  // A window not yet shown nor placed is left to the window manager to place.
  if (isVisible() || testAttribute(Qt::WA_Moved)) move(target.topLeft());
  resize(target.size() - (frameGeometry().size() - size()));
  update();
}

void frmPicturePreview::resizeEvent(QResizeEvent*) { view_->setGeometry(rect()); }

void frmPicturePreview::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) emit FrontRequested();
  QWidget::changeEvent(event);
}

void frmPicturePreview::closeEvent(QCloseEvent* event) {
  if (mayClose_ && !mayClose_()) {
    event->ignore();
    return;
  }
  view_->SetImage(nullptr);
  image_.reset();
  event->accept();
}
