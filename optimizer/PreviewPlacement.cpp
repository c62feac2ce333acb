#include "optimizer/PreviewPlacement.h"

#include <QApplication>
#include <QMargins>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <algorithm>

#include "browse/frmPicturePreview.h"

namespace PreviewPlacement {
namespace {

// The screen of the owner (else of the window) less its panels: a small main window must not
// leave the previews its leftovers, and no window starts under a task bar.
QRect ReferenceFrame(const QWidget* own, const QWidget* owner) {
  const QWidget* on = owner ? owner : own;
  const QScreen* s = on->screen() ? on->screen() : QGuiApplication::primaryScreen();
  return s ? s->availableGeometry() : QRect(0, 0, 1024, 768);
}

// The frame round a window's client: known once the window manager has framed it, else taken
// from a framed window of the program, else a title bar of the style's height.
QMargins FrameOf(const QWidget* w) {
  const auto margins = [](const QWidget* x) {
    const QRect f = x->frameGeometry(), g = x->geometry();
    return QMargins(g.left() - f.left(), g.top() - f.top(), f.right() - g.right(),
                    f.bottom() - g.bottom());
  };
  if (!margins(w).isNull()) return margins(w);
  for (const QWidget* other : QApplication::topLevelWidgets())
    if (other->isVisible() && !margins(other).isNull()) return margins(other);
  return QMargins(0, w->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, w), 0, 0);
}

void Put(frmPicturePreview* preview, QPoint at, QRect area) {
  preview->move(at);
  // The frame counts even before the window manager has reported it, or the preview ends a
  // title bar lower than its area and under the window below it.
  const QMargins m = FrameOf(preview);
  const QSize extra(m.left() + m.right(), m.top() + m.bottom());
  const QSize wanted = preview->WantedFrameSize();
  QSize frame = wanted.boundedTo(area.size());
  // Narrowed, the picture is shown smaller: it needs less height too, not a tall black band.
  const int wantedWidth = wanted.width() - extra.width();
  if (frame.width() < wanted.width() && wantedWidth > 0) {
    const int shownWidth = frame.width() - extra.width();
    const int shownHeight = (wanted.height() - extra.height()) * shownWidth / wantedWidth;
    frame.setHeight(std::min(frame.height(), extra.height() + shownHeight));
  }
  if (frame != preview->frameGeometry().size()) preview->resize(frame - extra);
  preview->SetSizeLimit(area);
}

}  // namespace

void MoveOwn(QWidget* own, const WindowArrangement& a) {
  const QPoint to(a.ownLeft >= 0 ? a.ownLeft : own->frameGeometry().left(), a.ownTop);
  // Qt moves the frame when it knows it; before the window manager has framed the window, a
  // move places the client there and the title bar lands above the planned place.
  if (own->frameGeometry() != own->geometry()) return own->move(to);
  const QMargins frame = FrameOf(own);
  own->move(to + QPoint(frame.left(), frame.top()));
}

WindowArrangement Place(const QWidget* own, const QWidget* owner, frmPicturePreview* original,
                        frmPicturePreview* optimized) {
  const QMargins frame = FrameOf(own);
  const QSize ownFrame = own->size().grownBy(frame);
  const WindowArrangement a =
      WindowArrangement::Compute(ReferenceFrame(own, owner), original->WantedFrameSize(), ownFrame);
  Put(original, a.original, a.originalArea);
  Put(optimized, a.optimized, a.optimizedArea);
  return a;
}

}  // namespace PreviewPlacement
