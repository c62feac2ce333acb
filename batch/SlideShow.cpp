#include "batch/SlideShow.h"

#include <QLabel>
#include <QPainter>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "engine/clsImage.h"

SlideShow::SlideShow(QTreeWidget* list, QWidget* parent) : QFrame(parent), list_(list) {
  setObjectName(QStringLiteral("ImagePreview"));
  setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  lblPreview_ = new QLabel(QStringLiteral("Image preview"), this);
  lblPreview_->setObjectName(QStringLiteral("lblPreview"));
  lblPreview_->setAlignment(Qt::AlignCenter);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lblPreview_);
  timer_.setInterval(1000);
  connect(&timer_, &QTimer::timeout, this, &SlideShow::Tick);
  timer_.start();
}

SlideShow::~SlideShow() = default;

void SlideShow::ClearCache() {
  cache_.clear();
  current_ = 0;
  update();
}

void SlideShow::EntryClicked(int position) {
  if (list_->selectedItems().size() < 2) Show(position);
}

void SlideShow::Tick() {
  const int count = list_->topLevelItemCount();
  if (list_->selectedItems().isEmpty()) {
    current_ = 0;
    update();
    return;
  }
  for (int step = 1; step <= count; ++step) {
    const int position = (current_ + step - 1) % count + 1;
    if (list_->topLevelItem(position - 1)->isSelected()) {
      if (position != current_) Show(position);
      return;
    }
  }
}

void SlideShow::Show(int position) {
  if (position < 1 || position > list_->topLevelItemCount()) return;
  if (cache_.size() <= std::size_t(position)) cache_.resize(std::size_t(position) + 1);
  std::shared_ptr<clsImage>& cached = cache_[std::size_t(position)];
  if (!cached) {
    auto picture = std::make_shared<clsImage>();
    const QString key = list_->topLevelItem(position - 1)->data(0, Qt::UserRole).toString();
    if (picture->CreateFromFile(key)) {
      const QSize box = contentsRect().size();
      const QSize fitted = QSize(picture->Width(), picture->Height())
                               .scaled(box.expandedTo(QSize(1, 1)), Qt::KeepAspectRatio);
      int w = fitted.width(), h = fitted.height();
      cached = picture->GetScaledInstance(w, h, nullptr, false, false);
    }
  }
  current_ = position;
  update();
}

void SlideShow::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  const bool shown =
      current_ > 0 && std::size_t(current_) < cache_.size() && cache_[std::size_t(current_)];
  lblPreview_->setVisible(!shown);
  if (!shown) return;
  QPainter dc(this);
  const QRect inner = contentsRect();
  cache_[std::size_t(current_)]->PaintPicture(dc, inner.left(), inner.top());
}
