#include "optimizer/PreviewPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>

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

void Put(frmPicturePreview* preview, QPoint at, QRect area) {
  preview->move(at);
  const QSize extra = preview->frameGeometry().size() - preview->size();
  const QSize frame = preview->WantedFrameSize().boundedTo(area.size());
  if (frame != preview->frameGeometry().size()) preview->resize(frame - extra);
  preview->SetSizeLimit(area);
}

}  // namespace

WindowArrangement Place(const QWidget* own, const QWidget* owner, frmPicturePreview* original,
                        frmPicturePreview* optimized) {
  // Before it is first shown the window manager has not said how tall its title bar is.
  QSize ownFrame = own->frameGeometry().size();
  if (ownFrame == own->size())
    ownFrame.rheight() += own->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, own);
  const WindowArrangement a = WindowArrangement::Compute(ReferenceFrame(own, owner),
                                                         original->WantedFrameSize(), ownFrame);
  Put(original, a.original, a.originalArea);
  Put(optimized, a.optimized, a.optimizedArea);
  return a;
}

}  // namespace PreviewPlacement
