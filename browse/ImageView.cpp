#include "browse/ImageView.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QSlider>
#include <QStyle>
#include <algorithm>

#include "browse/ViewGeometry.h"
#include "controls/modControls.h"
#include "engine/Rounding.h"
#include "engine/clsImage.h"

using namespace ViewGeometry;

namespace {

// Applies one axis's range; a bar the picture does not need goes back to 0 and rests.
void ApplyScroll(QScrollBar* bar, const ScrollAxis& axis) {
  if (axis.enabled) {
    bar->setPageStep(axis.largeChange);
    bar->setRange(0, axis.maximum);
    bar->setEnabled(true);
  } else {
    if (bar->value() != 0) bar->setValue(0);
    bar->setRange(0, 0);
    bar->setEnabled(false);
  }
}

// Painting stays off while several values change at once; the previous state comes back.
class SuspendPainting {
 public:
  explicit SuspendPainting(bool& allowed) : allowed_(allowed), was_(allowed) { allowed = false; }
  ~SuspendPainting() { allowed_ = was_; }
  SuspendPainting(const SuspendPainting&) = delete;
  SuspendPainting& operator=(const SuspendPainting&) = delete;

 private:
  bool& allowed_;
  bool was_;
};

}  // namespace

ImageView::ImageView(QWidget* parent) : QWidget(parent), backBuffer_(std::make_unique<clsImage>()) {
  setObjectName(QStringLiteral("ImageView"));
  rightBar_ = new QWidget(this);
  rightBar_->setObjectName(QStringLiteral("RightBar"));
  vScroll_ = new QScrollBar(Qt::Vertical, rightBar_);
  vScroll_->setObjectName(QStringLiteral("VScroll"));
  zoomSlider_ = new QSlider(Qt::Vertical, rightBar_);
  zoomSlider_->setObjectName(QStringLiteral("ZoomSlider"));
  zoomSlider_->setAccessibleName(QStringLiteral("Zoom"));
  zoomSlider_->setRange(kZoomSliderMin, kZoomSliderMax);
  zoomSlider_->setSingleStep(1);
  zoomSlider_->setPageStep(5);
  zoomSlider_->setValue(kZoomSliderAt100);
  bottomBar_ = new QWidget(this);
  bottomBar_->setObjectName(QStringLiteral("BottomBar"));
  hScroll_ = new QScrollBar(Qt::Horizontal, bottomBar_);
  hScroll_->setObjectName(QStringLiteral("HScroll"));
  rightBottom_ = new QLabel(ZoomReadOut(kZoomSliderAt100), bottomBar_);
  rightBottom_->setObjectName(QStringLiteral("RightBottom"));
  rightBottom_->setAlignment(Qt::AlignCenter);
  // The view paints only the picture area; the bars paint their own background.
  rightBar_->setAutoFillBackground(true);
  bottomBar_->setAutoFillBackground(true);
  for (QScrollBar* bar : {hScroll_, vScroll_}) {
    ApplyScroll(bar, {});
    // Keys belong to the zoom slider.
    bar->setFocusProxy(zoomSlider_);
    connect(bar, &QScrollBar::valueChanged, this, &ImageView::OnScrolled);
  }
  connect(zoomSlider_, &QSlider::valueChanged, this, &ImageView::OnZoomChanged);
  setAttribute(Qt::WA_OpaquePaintEvent);
  LayOutBars();
}

ImageView::~ImageView() = default;

void ImageView::SetImage(std::shared_ptr<clsImage> img) {
  image_ = std::move(img);
  refreshAllowed_ = false;
  if (fitted_) {
    SetFitZoom();
  } else if (zoomSlider_->value() != kZoomSliderAt100) {
    const QScopedValueRollback<bool> program(following_, true);
    zoomSlider_->setValue(kZoomSliderAt100);
  }
  // Also at 100 % already: ranges of the previous picture would hide a smaller new one.
  ResizeView();
  refreshAllowed_ = true;
}

void ImageView::ReplaceImage(std::shared_ptr<clsImage> img) {
  if (!img || !HasImage() || img->Width() != image_->Width() || img->Height() != image_->Height())
    return SetImage(std::move(img));
  image_ = std::move(img);
  Repaint();
}

void ImageView::Refresh() { Repaint(); }

void ImageView::ZoomToFit() {
  fitted_ = true;
  if (!HasImage()) return;
  refreshAllowed_ = false;
  SetFitZoom();
  refreshAllowed_ = true;
  ResizeView();
}

void ImageView::SetFitZoom() {
  if (!HasImage()) return;
  const QScopedValueRollback<bool> program(following_, true);
  vScroll_->setValue(0);
  hScroll_->setValue(0);
  LayOutBars();
  const QSize view = ViewSize();
  if (const auto value =
          FitSliderValue(view.width(), view.height(), image_->Width(), image_->Height()))
    zoomSlider_->setValue(*value);
}

void ImageView::FollowView(const ImageView& other) {
  if (other.fitted_) {
    ZoomToFit();
    return;
  }
  fitted_ = false;
  const QScopedValueRollback<bool> program(following_, true);
  // Pictures of different sizes (an Optimized picture made smaller) show the same region: the
  // zoom grows by the ratio of their widths, and the middle of the visible part (in picture
  // pixels) shrinks by it. An edge stays an edge, whatever the views' sizes.
  const double ratio = image_ && other.image_ && image_->Width() > 0 && other.image_->Width() > 0
                           ? double(other.image_->Width()) / image_->Width()
                           : 1.0;
  zoomSlider_->setValue(std::clamp(Rounding::HalfEven(other.zoomSlider_->value() * ratio),
                                   zoomSlider_->minimum(), zoomSlider_->maximum()));
  const auto follow = [ratio](const QScrollBar* from, QScrollBar* to) {
    if (from->maximum() <= 0 || to->maximum() <= 0) return;
    if (from->value() >= from->maximum()) return to->setValue(to->maximum());
    if (from->value() <= 0) return to->setValue(0);
    const double middle = (from->value() + from->pageStep() / 2.0) / ratio;
    to->setValue(Rounding::HalfEven(middle - to->pageStep() / 2.0));
  };
  follow(other.hScroll_, hScroll_);
  follow(other.vScroll_, vScroll_);
}

double ImageView::GetZoomValue() const { return ZoomPercent(zoomSlider_->value()); }

std::shared_ptr<clsImage> ImageView::GetViewAreaAsImage() const {
  return backBuffer_->GetNewInstance();
}

int ImageView::GetDeltaWidth() const { return rightBar_->width(); }

int ImageView::GetDeltaHeight() const { return bottomBar_->height(); }

QSize ImageView::ViewSize() const {
  return {std::max(0, rightBar_->x()), std::max(0, bottomBar_->y())};
}

bool ImageView::HasImage() const { return image_ && image_->hDC() != 0; }

void ImageView::OnZoomChanged(int value) {
  rightBottom_->setText(ZoomReadOut(value));
  if (!following_) fitted_ = false;
  ResizeView();
  if (!following_) emit ViewMoved();
}

void ImageView::OnScrolled() {
  Repaint();
  if (!following_) emit ViewMoved();
}

void ImageView::LayOutBars() {
  const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  const int sliderW = zoomSlider_->sizeHint().width();
  const int barW = extent + sliderW;
  const int w = width(), h = height();
  const int viewW = std::max(0, w - barW), viewH = std::max(0, h - extent);
  bottomBar_->setGeometry(0, viewH, w, extent);
  rightBar_->setGeometry(viewW, 0, barW, viewH);
  vScroll_->setGeometry(0, 0, extent, viewH);
  zoomSlider_->setGeometry(extent, 0, sliderW, viewH);
  // The read-out may be wider than the bar above it; the horizontal scroll bar gives way.
  const int readOutW = std::min(
      w, std::max(barW, rightBottom_->fontMetrics().horizontalAdvance(QStringLiteral("200 %")) + 4));
  hScroll_->setGeometry(0, 0, std::max(0, w - readOutW), extent);
  rightBottom_->setGeometry(w - readOutW, 0, readOutW, extent);
}

void ImageView::ResizeView() {
  {
    SuspendPainting suspended(refreshAllowed_);
    LayOutBars();
    const QSize view = ViewSize();
    if (HasImage()) {
      const double zoom = GetZoomValue();
      ApplyScroll(hScroll_, ScrollFor(view.width(), image_->Width(), zoom));
      ApplyScroll(vScroll_, ScrollFor(view.height(), image_->Height(), zoom));
    }
    if (view.isEmpty())
      backBuffer_->ClearUp();
    else
      backBuffer_->Create(view.width(), view.height(), 24);
  }
  Repaint();
}

void ImageView::Repaint() {
  if (!refreshAllowed_) return;
  if (HasImage() && backBuffer_->hDC() != 0) {
    const QSize view = ViewSize();
    const double zoom = GetZoomValue();
    const AxisPlacement x = PlaceAxis(view.width(), hScroll_->value(), image_->Width(), zoom);
    const AxisPlacement y = PlaceAxis(view.height(), vScroll_->value(), image_->Height(), zoom);
    QImage surface = backBuffer_->Surface();
    QPainter dc(&surface);
    image_->Stretch(dc, x.dest, y.dest, x.destLen, y.destLen, x.src, y.src, x.srcLen, y.srcLen);
  }
  update(QRect(QPoint(0, 0), ViewSize()));
  emit Paint();
}

void ImageView::resizeEvent(QResizeEvent*) {
  if (fitted_) {
    SuspendPainting suspended(refreshAllowed_);
    SetFitZoom();
  }
  ResizeView();
}

void ImageView::paintEvent(QPaintEvent*) {
  QPainter dc(this);
  if (backBuffer_->hDC() != 0)
    backBuffer_->PaintPicture(dc, 0, 0);
  else
    dc.fillRect(QRect(QPoint(0, 0), ViewSize()), Qt::black);
}

void ImageView::mousePressEvent(QMouseEvent* event) {
  const QPointF pos = event->position();
  anchorX_ = Rounding::HalfEven(pos.x());
  anchorY_ = Rounding::HalfEven(pos.y());
  dragging_ = true;
}

void ImageView::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) return;
  const double zoom = GetZoomValue();
  const QPointF pos = event->position();
  const PanStep x = Pan(anchorX_, pos.x(), zoom);
  const PanStep y = Pan(anchorY_, pos.y(), zoom);
  anchorX_ = x.anchor;
  anchorY_ = y.anchor;
  {
    SuspendPainting suspended(refreshAllowed_);
    // setValue keeps the value inside the bar's range.
    if (hScroll_->isEnabled()) hScroll_->setValue(hScroll_->value() + x.delta);
    if (vScroll_->isEnabled()) vScroll_->setValue(vScroll_->value() + y.delta);
  }
  Repaint();
}

void ImageView::mouseReleaseEvent(QMouseEvent*) {
  dragging_ = false;
  emit FrontRequested();
}
