#include "optimizer/PreviewPair.h"

#include "browse/ImageView.h"
#include "browse/frmPicturePreview.h"
#include "controls/WindowOwner.h"
#include "settings/clsLanguage.h"

PreviewPair::PreviewPair(QWidget* editor) : QObject(editor) {
  // Top-level windows of their own: the previews may lie above or below the editor.
  original_ = new frmPicturePreview(nullptr);
  optimized_ = new frmPicturePreview(nullptr);
  original_->setWindowTitle(Language().GetString(QStringLiteral("Original")));
  optimized_->setWindowTitle(Language().GetString(QStringLiteral("Optimized")));
  for (frmPicturePreview* p : {original_.data(), optimized_.data()}) {
    // The previews show beside the editor; the keyboard stays with the settings.
    p->setAttribute(Qt::WA_ShowWithoutActivating);
    // Both show the whole picture until the user zooms.
    p->View()->ZoomToFit();
    connect(p, &frmPicturePreview::FrontRequested, this, [editor, p] {
      editor->window()->raise();
      p->raise();
    });
  }
  Follow(original_, optimized_);
  Follow(optimized_, original_);
}

PreviewPair::~PreviewPair() {
  delete original_.data();
  delete optimized_.data();
}

void PreviewPair::Follow(frmPicturePreview* from, frmPicturePreview* to) {
  const QPointer<frmPicturePreview> follower = to;
  connect(from->View(), &ImageView::ViewMoved, this, [this, from, follower] {
    if (linked_ && follower) follower->View()->FollowView(*from->View());
  });
}

void PreviewPair::SetLinked(bool linked) {
  linked_ = linked;
  if (linked && original_ && optimized_) optimized_->View()->FollowView(*original_->View());
}

void PreviewPair::Own(QWidget* owner) {
  for (frmPicturePreview* p : {original_.data(), optimized_.data()}) WindowOwner::Own(p, owner);
}
