#include "optimizer/PreviewPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "browse/frmPicturePreview.h"

namespace PreviewPlacement {
namespace {

QRect ReferenceFrame(const QWidget* own, const QWidget* owner) {
  if (owner) return owner->frameGeometry();
  // The screen less its panels, so that no window starts under a task bar.
  const QScreen* s = own->screen() ? own->screen() : QGuiApplication::primaryScreen();
  return s ? s->availableGeometry() : QRect(0, 0, 1024, 768);
}

void Put(frmPicturePreview* preview, QPoint at, QRect area) {
  preview->move(at);
  const QSize extra = preview->frameGeometry().size() - preview->size();
  const QSize frame = preview->frameGeometry().size().boundedTo(area.size());
  if (frame != preview->frameGeometry().size()) preview->resize(frame - extra);
  preview->SetSizeLimit(area);
}

}  // namespace

WindowArrangement Place(const QWidget* own, const QWidget* owner, frmPicturePreview* original,
                        frmPicturePreview* optimized) {
  const WindowArrangement a = WindowArrangement::Compute(
      ReferenceFrame(own, owner), original->frameGeometry().size(), own->frameGeometry().size());
  Put(original, a.original, a.originalArea);
  Put(optimized, a.optimized, a.optimizedArea);
  return a;
}

}  // namespace PreviewPlacement
