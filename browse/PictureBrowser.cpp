#include "browse/PictureBrowser.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

#include "browse/BrowseGeometry.h"
#include "browse/BrowserHost.h"
#include "browse/GridAccessibility.h"
#include "browse/ThumbnailLoader.h"
#include "browse/clsBrowsePic.h"
#include "browse/clsDirPics.h"
#include "engine/clsImage.h"

PictureBrowser::PictureBrowser(QWidget* parent)
    : QWidget(parent),
      initial_(std::make_unique<clsDirPics>()),
      current_(initial_.get()),
      backBuffer_(std::make_unique<clsImage>()),
      pictures_(new QWidget(this)),
      vscroll_(new QScrollBar(Qt::Vertical, this)),
      loader_(new ThumbnailLoader(this)) {
  GridAccessibility::Install();  // before the surface is named, so it is read as a list
  pictures_->setObjectName(QStringLiteral("Pictures"));
  vscroll_->setObjectName(QStringLiteral("VScroll"));
  pictures_->setAttribute(Qt::WA_OpaquePaintEvent);
  pictures_->setFocusPolicy(Qt::StrongFocus);
  pictures_->setAccessibleName(QStringLiteral("Pictures"));
  pictures_->setAccessibleDescription(
      QStringLiteral("Arrow keys choose a picture, Enter optimises it, Delete deletes it"));
  pictures_->installEventFilter(this);
  setFocusProxy(pictures_);
  vscroll_->setFocusPolicy(Qt::NoFocus);  // the focus belongs to the pictures
  vscroll_->setRange(1, 1);
  vscroll_->setSingleStep(1);
  connect(vscroll_, &QScrollBar::valueChanged, this, [this] { ReDraw(); });
  connect(loader_, &ThumbnailLoader::Ready, this, &PictureBrowser::ThumbnailReady);
  // As large as the screen, so a growing window rarely needs a new one.
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    EnsureBackBuffer(screen->size().width(), screen->size().height());
}

PictureBrowser::~PictureBrowser() {
  // Workers finish before the models they were making thumbnails for go away.
  delete loader_;
}

void PictureBrowser::SetDirectory(const QString& fullPath, bool bAlwaysRefresh) {
  if (scanning_) return;
  current_->DeleteImageData();
  for (const auto& model : cache_) {
    if (!model->IsDirName(fullPath)) continue;
    current_ = model.get();
    if (bAlwaysRefresh) Rebuild(*current_);
    if (host_) host_->ShowPictureCount(current_->GetImagesCount());
    ReDraw();
    return;
  }
  cache_.push_back(std::make_unique<clsDirPics>());
  current_ = cache_.back().get();
  current_->SetDirectory(fullPath);
  Rebuild(*current_);
  if (host_) host_->ShowPictureCount(current_->GetImagesCount());
  ReDraw();
  Q_EMIT SelectionChanged();
}

void PictureBrowser::Rebuild(clsDirPics& model) {
  scanning_ = true;
  model.RebuildImageList(host_, [this] { ReDraw(); });
  scanning_ = false;
}

QString PictureBrowser::GetSelected() const { return current_->GetSelected(); }

clsBrowsePic* PictureBrowser::GetSelectedBrowsePic() const {
  return current_->GetSelectedBrowsePic();
}

void PictureBrowser::SelectAll() {
  current_->SelectAll();
  ReDraw();
  Q_EMIT SelectionChanged();
}

void PictureBrowser::RemoveSelected() {
  current_->RemoveSelected();
  ReDraw();
  Q_EMIT SelectionChanged();
}

void PictureBrowser::RemoveInvalid() {
  current_->RemoveInvalid();
  if (host_) host_->ShowPictureCount(current_->GetImagesCount());
  ReDraw();
  Q_EMIT SelectionChanged();
}

void PictureBrowser::RefreshCurrentList() {
  if (scanning_) return;
  Rebuild(*current_);
  ReDraw();
}

void PictureBrowser::ReDraw() {
  RenderPage();
  pictures_->update();
}

void PictureBrowser::FlushGraphics(int x1, int y1, int x2, int y2) {
  pictures_->repaint(QRect(x1, y1, x2 - x1, y2 - y1));
}

void PictureBrowser::SetEnabled(bool bEnabled) { pictures_->setEnabled(bEnabled); }

bool PictureBrowser::ThumbnailsPending() const { return !loader_->Idle(); }

void PictureBrowser::EnsureBackBuffer(int width, int height) {
  if (backBuffer_->hDC() != 0 && backBuffer_->Width() >= width && backBuffer_->Height() >= height)
    return;
  const int w = std::max({width, backBuffer_->Width(), 1});
  const int h = std::max({height, backBuffer_->Height(), 1});
  backBuffer_->Create(w, h, 24);
}

void PictureBrowser::RenderPage() {
  if (rendering_) return;  // the range change below may move the value and call back
  rendering_ = true;
  const int w = pictures_->width(), h = pictures_->height();
  EnsureBackBuffer(w, h);
  if (backBuffer_->hDC() != 0) {
    QImage surface = backBuffer_->Surface();
    QPainter dc(&surface);
    dc.setFont(pictures_->font());
    std::vector<clsBrowsePic*> missing;
    current_->Draw(dc, vscroll_->value(), w, h, background_ ? &missing : nullptr,
                   [this](const QRect& r) {
                     FlushGraphics(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
                   });
    std::vector<ThumbnailLoader::Job> jobs;
    for (const clsBrowsePic* item : missing) jobs.push_back({item->Id(), item->FullPath()});
    if (background_) loader_->Want(jobs);
  }
  const BrowseGeometry::ScrollRange range =
      BrowseGeometry::ScrollFor(current_->GetImagesCount(), w, h);
  const int before = vscroll_->value();
  vscroll_->setRange(range.minimum, range.maximum);
  vscroll_->setPageStep(range.pageStep);
  rendering_ = false;
  if (vscroll_->value() != before) RenderPage();  // the old start line was out of range
}

void PictureBrowser::ThumbnailReady(quint64 id, const ThumbnailResult& result) {
  clsBrowsePic* item = current_->FindItem(id);
  if (!item) {
    // A folder left meanwhile: keep the thumbnail for coming back.
    for (const auto& model : cache_)
      if ((item = model->FindItem(id))) break;
    if (item) item->SetThumbnail(result);
    return;
  }
  item->SetThumbnail(result);
  // Reading the thumbnail is what tells the picture's size.
  if (item == current_->GetSelectedBrowsePic()) Q_EMIT SelectedPictureRead();
  for (int i = 1; i <= current_->GetImagesCount(); ++i) {
    if (current_->Item(i) != item) continue;
    QImage surface = backBuffer_->Surface();
    QPainter dc(&surface);
    dc.setFont(pictures_->font());
    const QRect cell =
        current_->DrawItem(dc, i, vscroll_->value(), pictures_->width(), pictures_->height());
    if (!cell.isEmpty()) pictures_->update(cell);
    break;
  }
}

void PictureBrowser::PaintSurface(const QRect& area) {
  QPainter painter(pictures_);
  if (backBuffer_->hDC() != 0)
    backBuffer_->Stretch(painter, area.left(), area.top(), area.width(), area.height(), area.left(),
                         area.top(), area.width(), area.height());
}

void PictureBrowser::resizeEvent(QResizeEvent*) {
  const int barWidth = vscroll_->sizeHint().width();
  const int w = std::max(0, width() - barWidth);
  pictures_->setGeometry(0, 0, w, height());
  vscroll_->setGeometry(w, 0, barWidth, height());
  ReDraw();
}

void PictureBrowser::keyPressEvent(QKeyEvent* event) {
  const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
  switch (event->key()) {
    case Qt::Key_F5:
      RefreshCurrentList();
      return;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
      if (mods == Qt::NoModifier || mods == Qt::ShiftModifier)
        return MoveSelection(event->key(), mods == Qt::ShiftModifier);
      break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (mods == Qt::NoModifier && current_->GetSelectedCount() > 0) Q_EMIT DblClick();
      return;
    case Qt::Key_Delete:
      if (mods == Qt::NoModifier && current_->GetSelectedCount() > 0) Q_EMIT DeleteRequested();
      return;
    case Qt::Key_A:
      if (mods == Qt::ControlModifier) return SelectAll();
      break;
    default:
      break;
  }
  QWidget::keyPressEvent(event);
}

void PictureBrowser::MoveSelection(int key, bool extend) {
  const int count = current_->GetImagesCount();
  if (count == 0) return;
  const int perLine = std::max(1, current_->GetImagesPerLine(pictures_->width()));
  const int lines = std::max(1, pictures_->height() / BrowseGeometry::kCellHeight);
  const int from = current_->Current();
  int to = from;
  if (from < 1 || from > count) {
    to = 1;  // nothing chosen yet: the first picture
  } else if (key == Qt::Key_Left) {
    to = from - 1;
  } else if (key == Qt::Key_Right) {
    to = from + 1;
  } else if (key == Qt::Key_Up) {
    to = from - perLine;
  } else if (key == Qt::Key_Down) {
    to = from + perLine;
  } else if (key == Qt::Key_Home) {
    to = 1;
  } else if (key == Qt::Key_End) {
    to = count;
  } else if (key == Qt::Key_PageUp) {
    to = from - perLine * lines;
  } else if (key == Qt::Key_PageDown) {
    to = from + perLine * lines;
  }
  to = std::clamp(to, 1, count);
  if (extend)
    current_->SelectRangeTo(to);
  else
    current_->SelectOnly(to);
  const int line = (to - 1) / perLine + 1;
  if (line < vscroll_->value())
    vscroll_->setValue(line);
  else if (line > vscroll_->value() + lines - 1)
    vscroll_->setValue(line - lines + 1);
  ReDraw();
  Q_EMIT SelectionChanged();
}

void PictureBrowser::MousePress(QMouseEvent* event) {
  const int selected = current_->GetSelectedCount();
  const Qt::KeyboardModifiers mods = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier);
  const int shift = mods == Qt::ShiftModifier     ? clsDirPics::kShift
                    : mods == Qt::ControlModifier ? clsDirPics::kCtrl
                                                  : 0;
  const QPoint at = event->position().toPoint();
  if (selected < 2 || event->button() == Qt::LeftButton) {
    current_->SelectPics(at.x(), at.y(), shift, pictures_->width(), vscroll_->value());
    ReDraw();
    Q_EMIT SelectionChanged();
  }
  if (event->button() == Qt::RightButton && current_->GetSelectedCount() > 0) {
    const QPoint inControl = pictures_->mapTo(this, at);
    Q_EMIT Menu(inControl.x(), inControl.y());
  }
}

bool PictureBrowser::eventFilter(QObject* watched, QEvent* event) {
  if (watched != pictures_) return QWidget::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::Paint:
      PaintSurface(static_cast<QPaintEvent*>(event)->rect());
      return true;
    case QEvent::MouseButtonPress:
      MousePress(static_cast<QMouseEvent*>(event));
      return true;
    case QEvent::MouseButtonDblClick:
      MousePress(static_cast<QMouseEvent*>(event));
      Q_EMIT DblClick();
      return true;
    case QEvent::KeyPress:
      keyPressEvent(static_cast<QKeyEvent*>(event));
      return true;
    case QEvent::Wheel:
      // The wheel over the pictures scrolls the page as it would over the scroll bar.
      if (vscroll_->isEnabled()) QCoreApplication::sendEvent(vscroll_, event);
      return true;
    default:
      return false;
  }
}
